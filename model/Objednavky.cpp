#include "model/Objednavky.h"
#include "model/Pobyt.h"

#include "db/SqlKlienti.h"
#include "db/SqlObjednavky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

namespace {
// A span whose last day is before its first (or a missing date) has no day.
bool hasDays(const QDate &odKdy, const QDate &doKdy)
{
    return odKdy.isValid() && doKdy.isValid() && odKdy <= doKdy;
}

int newNumber(TMojeQuery &q)
{
    q.setSql(SqlObjednavky::selectNewNumber());
    q.open();
    return q.integer(QStringLiteral("nove_cislo"));   // NULL on an empty table reads as 0
}
} // namespace

Objednavka::Objednavka(int klientId, int cisloObjednavky, const QDate &datumObjednavky, const QDate &odKdy,
                       const QDate &doKdy, int pokojId, double cena)
    : klient_id(klientId), cislo_objednavky(cisloObjednavky), datum_objednavky(datumObjednavky), od_kdy(odKdy),
      do_kdy(doKdy), pokoj_id(pokojId), cena(cena)
{
}

Objednavka::Objednavka(int klientId, const QDate &datumObjednavky, const QDate &odKdy, const QDate &doKdy,
                       int pokojId, int typPokojeId)
    : klient_id(klientId), datum_objednavky(datumObjednavky), od_kdy(odKdy), do_kdy(doKdy)
{
    if (pokojId != 0) {
        pokoj_id = pokojId;
    } else {
        TMojeQuery q;
        pokoj_id = NajdiVolnyPokoj(q, typPokojeId, odKdy, doKdy);
    }
    // Priced for the room the caller gave: a searched room is priced by the caller.
    if (hasDays(odKdy, doKdy)) {
        const RozpisCeny rozpis = RozpisCeny::Nacti(klientId, pokojId, odKdy, doKdy);
        cena = rozpis.cena();
        chybi_cena = rozpis.chybiCena();
    }
}

bool Objednavka::JeKolize(TMojeQuery &q) const
{
    if (pokoj_id == 0 || !hasDays(od_kdy, do_kdy))
        return true;
    q.setSql(SqlObjednavky::selectCollisions(pokoj_id, od_kdy, do_kdy));
    q.open();
    return q.integer(QStringLiteral("pocet")) > 0;
}

bool Objednavka::Zarezervuj() const
{
    return ZarezervujKlientovi() == VysledekRezervace::Ulozena;
}

bool Objednavka::Zarezervuj(TMojeQuery &q) const
{
    // The collision count, the number and the insert must see the table as
    // no other desk can change it in between: hence the caller's lock.
    if (JeKolize(q))
        return false;
    const int number = cislo_objednavky >= 1 ? cislo_objednavky : newNumber(q);
    q.exec(SqlObjednavky::insertReservation(klient_id, number, datum_objednavky, od_kdy, do_kdy, pokoj_id, cena));
    return true;
}

VysledekRezervace Objednavka::ZarezervujKlientovi(const QString &cisloPokoje) const
{
    if (pokoj_id == 0 || !hasDays(od_kdy, do_kdy))
        return VysledekRezervace::Kolize;   // refused without a statement: no need to lock
    VysledekRezervace vysledek = VysledekRezervace::Kolize;
    TMojeDatabaze::current().writeLocked(SqlObjednavky::lockReservations(), [&](TMojeQuery &locked) {
        // A client deleted at another desk since the stay was built would be
        // left with a reservation nobody can list or cancel.
        locked.setSql(SqlKlienti::countClient(klient_id));
        locked.open();
        if (locked.integer(QStringLiteral("pocet")) == 0) {
            vysledek = VysledekRezervace::KlientSmazan;
            return;
        }
        // A room removed meanwhile: the stay would show in no grid and the
        // room could be sold again.
        locked.setSql(cisloPokoje.isNull() ? SqlObjednavky::countRoom(pokoj_id)
                                           : SqlObjednavky::countRoom(pokoj_id, cisloPokoje, locked.format()));
        locked.open();
        if (locked.integer(QStringLiteral("pocet")) == 0)
            vysledek = VysledekRezervace::PokojSmazan;
        else if (Zarezervuj(locked))
            vysledek = VysledekRezervace::Ulozena;
    });
    return vysledek;
}

int Objednavka::NajdiVolnyPokoj(TMojeQuery &q, int typPokojeId, const QDate &odKdy, const QDate &doKdy)
{
    if (!hasDays(odKdy, doKdy))
        return 0;
    q.setSql(SqlObjednavky::selectFreeRoom(typPokojeId, odKdy, doKdy));
    q.open();
    return q.isEmpty() ? 0 : q.integer(QStringLiteral("pokoj_id"));
}

void Objednavka::SmazObjednavku(int cisloObjednavky)
{
    TMojeQuery q;
    q.exec(SqlObjednavky::deleteReservation(cisloObjednavky));
}

bool Objednavka::SmazObjednavku(int cisloObjednavky, int klientId)
{
    TMojeQuery q;
    q.exec(SqlObjednavky::deleteReservation(cisloObjednavky, klientId));
    return q.rowsAffected() > 0;
}

void Objednavky::NactiProKlienta(int klientId)
{
    m_objednavky.clear();
    TMojeQuery q;
    q.setSql(SqlObjednavky::selectOfClient(klientId));
    q.open();
    for (; !q.eof(); q.next())
        m_objednavky.emplace_back(q.integer(QStringLiteral("klient_id")), q.integer(QStringLiteral("cislo_objednavky")),
                                  q.date(QStringLiteral("datum_objednavky")), q.date(QStringLiteral("od_kdy")),
                                  q.date(QStringLiteral("do_kdy")), q.integer(QStringLiteral("pokoj_id")),
                                  q.real(QStringLiteral("cena")));
}

void Objednavky::Vypis(QStringList &seznam) const
{
    seznam.clear();
    for (const Objednavka &o : m_objednavky)
        seznam << QString::number(o.cislo_objednavky);
}

const Objednavka *Objednavky::najdi(int cisloObjednavky) const
{
    for (const Objednavka &o : m_objednavky)
        if (o.cislo_objednavky == cisloObjednavky)
            return &o;
    return nullptr;
}

QDate Objednavky::NajdiOd(int cisloObjednavky) const
{
    const Objednavka *o = najdi(cisloObjednavky);
    return o ? o->od_kdy : QDate();
}

QDate Objednavky::NajdiDo(int cisloObjednavky) const
{
    const Objednavka *o = najdi(cisloObjednavky);
    return o ? o->do_kdy : QDate();
}
