#include "model/Pobyt.h"

#include "db/SqlRezervace.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <algorithm>

RozpisCeny RozpisCeny::Nacti(int klientId, int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    RozpisCeny rozpis;
    if (!odKdy.isValid() || !doKdy.isValid() || odKdy > doKdy)
        return rozpis;
    TMojeQuery q;
    q.setSql(SqlRezervace::selectStayNights(klientId, pokojId, odKdy, doKdy));
    q.open();
    rozpis.m_noci.reserve(odKdy.daysTo(doKdy) + 1);
    for (QDate den = odKdy; den <= doKdy; den = den.addDays(1)) {
        NocPobytu noc;
        noc.datum = den;
        while (!q.eof() && q.date(QStringLiteral("datum")) < den)
            q.next();
        // A day's first row is the one that prices it; the others are skipped above.
        if (!q.eof() && q.date(QStringLiteral("datum")) == den) {
            noc.typDne = q.text(QStringLiteral("typ_dne"));
            noc.maCenu = q.integer(QStringLiteral("ma_cenu")) != 0;
            noc.cena = noc.maCenu ? q.real(QStringLiteral("cena")) : 0;
        }
        rozpis.m_noci.push_back(noc);
    }
    return rozpis;
}

double RozpisCeny::cena() const
{
    double sum = 0;
    for (const NocPobytu &noc : m_noci)
        sum += noc.cena;
    return sum;
}

bool RozpisCeny::chybiCena() const
{
    return std::any_of(m_noci.begin(), m_noci.end(), [](const NocPobytu &noc) { return !noc.maCenu; });
}

std::vector<PobytPokoje> NactiPobytyPokoje(int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    std::vector<PobytPokoje> pobyty;
    TMojeQuery q;
    q.setSql(SqlRezervace::selectStaysOfRoom(pokojId, odKdy, doKdy));
    q.open();
    for (; !q.eof(); q.next())
        pobyty.push_back({q.integer(QStringLiteral("cislo_objednavky")), q.date(QStringLiteral("od_kdy")),
                          q.date(QStringLiteral("do_kdy")), q.real(QStringLiteral("cena")),
                          q.text(QStringLiteral("jmeno"))});
    return pobyty;
}
