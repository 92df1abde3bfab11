#include "model/PrijezdyAOdjezdy.h"

#include "db/SqlPrijezdy.h"
#include "db/TMojeQuery.h"

PrijezdyAOdjezdy PrijezdyAOdjezdy::Nacti(const QDate &den)
{
    PrijezdyAOdjezdy seznam;
    seznam.den = den;
    TMojeQuery q;
    q.setSql(SqlPrijezdy::selectDay(den));
    for (q.open(); !q.eof(); q.next()) {
        PobytDne p;
        p.cislo_objednavky = q.integer(QStringLiteral("cislo_objednavky"));
        p.od_kdy = q.date(QStringLiteral("od_kdy"));
        p.do_kdy = q.date(QStringLiteral("do_kdy"));
        p.cena = q.real(QStringLiteral("cena"));
        p.cislo_pokoje = q.text(QStringLiteral("cislo_pokoje"));
        p.jmeno = q.text(QStringLiteral("jmeno"));
        p.telefon = q.text(QStringLiteral("telefon"));
        p.typ_klienta = q.text(QStringLiteral("typ_klienta"));
        p.pokoj_existuje = q.integer(QStringLiteral("pokoj_existuje")) != 0;
        p.klient_existuje = q.integer(QStringLiteral("klient_existuje")) != 0;
        (q.integer(QStringLiteral("odjezd")) ? seznam.odjezdy : seznam.prijezdy).push_back(std::move(p));
    }
    return seznam;
}
