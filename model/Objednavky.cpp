#include "model/Objednavky.h"
#include "model/Pobyt.h"
#include "model/Historie.h"
#include "model/Zmeny.h"

#include "db/SqlKlienti.h"
#include "db/CiselneRady.h"
#include "db/SqlKnihy.h"
#include "db/SqlObjednavky.h"
#include "db/SqlZamky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <algorithm>
#include <tuple>

namespace {
// A span whose last day is before its first (or a missing date) has no day.
bool hasDays(const QDate &odKdy, const QDate &doKdy)
{
    return odKdy.isValid() && doKdy.isValid() && odKdy <= doKdy;
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

bool Objednavka::Zarezervuj(TMojeQuery &q, int *cislo) const
{
    // The collision count, the number and the insert must see the room's
    // stays as no other desk can change them in between: hence the caller's
    // lock of the room.
    if (JeKolize(q))
        return false;
    const int number = cislo_objednavky >= 1 ? cislo_objednavky : CiselneRady::vezmi(q, CiselneRady::Rada::Objednavka);
    q.exec(SqlObjednavky::insertReservation(klient_id, number, datum_objednavky, od_kdy, do_kdy, pokoj_id, cena));
    if (cislo)
        *cislo = number;
    return true;
}

VysledekRezervace Objednavka::ZarezervujKlientovi(const QString &cisloPokoje) const
{
    if (pokoj_id == 0 || !hasDays(od_kdy, do_kdy))
        return VysledekRezervace::Kolize;   // refused without a statement: no need to lock
    VysledekRezervace vysledek = VysledekRezervace::Kolize;
    TMojeDatabaze::current().save(SqlObjednavky::lockBooking(klient_id, pokoj_id), [&](TMojeQuery &locked) {
        vysledek = VysledekRezervace::Kolize;
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
        int cislo = 0;
        if (locked.integer(QStringLiteral("pocet")) == 0) {
            vysledek = VysledekRezervace::PokojSmazan;
        } else if (Zarezervuj(locked, &cislo)) {
            vysledek = VysledekRezervace::Ulozena;
            locked.setSql(SqlObjednavky::selectNames(klient_id, pokoj_id));
            locked.open();
            Historie::zapis(QCoreApplication::translate("Historie", "Rezervace č. %1 uložena: %2")
                                .arg(QString::number(cislo),
                                     Historie::pobyt(locked.text(QStringLiteral("cislo_pokoje")), od_kdy, do_kdy,
                                                     locked.text(QStringLiteral("jmeno")))),
                            Historie::ids(QStringLiteral("objednavka"), {cislo}) + u' '
                                + Historie::ids(QStringLiteral("klient"), {klient_id}));
        }
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

bool SdiliDen(const QDate &ulozenaOd, const QDate &ulozenaDo, const QDate &odKdy, const QDate &doKdy)
{
    // The two halves of SqlObjednavky's sharesDay, word for word.
    return (ulozenaDo >= odKdy && (ulozenaOd <= doKdy || ulozenaDo <= doKdy))
           || (ulozenaOd >= odKdy && ulozenaOd <= doKdy);
}

VolnePokoje::Pokoj &VolnePokoje::pokoj(int pokojId)
{
    const auto it = m_indexPokoje.constFind(pokojId);
    if (it != m_indexPokoje.cend())
        return m_pokoje[*it];
    m_indexPokoje.insert(pokojId, qsizetype(m_pokoje.size()));
    m_pokoje.push_back({});
    m_pokoje.back().pokoj_id = pokojId;
    return m_pokoje.back();
}

VolnePokoje VolnePokoje::Nacti(TMojeQuery &q, const QList<int> &typyPokoju, const QDate &odKdy, const QDate &doKdy)
{
    // Bounded lists per statement, well below the packet limit.
    constexpr qsizetype naDotaz = 500;
    VolnePokoje volne;
    volne.m_od = odKdy;
    volne.m_do = doKdy;
    QList<int> pokoje;
    for (qsizetype i = 0; i < typyPokoju.size(); i += naDotaz) {
        q.setSql(SqlObjednavky::selectRoomsOfTypes(typyPokoju.mid(i, naDotaz)));
        for (q.open(); !q.eof(); q.next()) {
            const int pokoj = q.integer(QStringLiteral("pokoj_id"));
            volne.pokoj(pokoj);
            volne.m_pokojeTypu[q.integer(QStringLiteral("typ_pokoje_id"))].push_back(volne.m_indexPokoje.value(pokoj));
            pokoje.append(pokoj);
        }
    }
    if (!hasDays(odKdy, doKdy))
        return volne;
    for (qsizetype i = 0; i < pokoje.size(); i += naDotaz) {
        q.setSql(SqlObjednavky::selectStaysNear(pokoje.mid(i, naDotaz), odKdy, doKdy));
        for (q.open(); !q.eof(); q.next()) {
            Pokoj &p = volne.pokoj(q.integer(QStringLiteral("pokoj_id")));
            const Dny dny{q.date(QStringLiteral("od_kdy")), q.date(QStringLiteral("do_kdy"))};
            if (hasDays(dny.od, dny.doKdy)) {
                p.pobyty.push_back(dny);
                p.nejdelsi = qMax(p.nejdelsi, dny.od.daysTo(dny.doKdy));
            } else {
                p.vadne.push_back(dny);
            }
        }
        // Nights out of order are taken as a stay's are.
        q.setSql(SqlObjednavky::selectOutOfOrderNear(pokoje.mid(i, naDotaz), odKdy, doKdy));
        for (q.open(); !q.eof(); q.next()) {
            Pokoj &p = volne.pokoj(q.integer(QStringLiteral("pokoj_id")));
            const Dny dny{q.date(QStringLiteral("od_kdy")), q.date(QStringLiteral("do_kdy"))};
            p.pobyty.push_back(dny);
            p.nejdelsi = qMax(p.nejdelsi, dny.od.daysTo(dny.doKdy));
        }
    }
    for (Pokoj &p : volne.m_pokoje)
        std::sort(p.pobyty.begin(), p.pobyty.end(), [](const Dny &a, const Dny &b) { return a.od < b.od; });
    return volne;
}

bool VolnePokoje::Pokoj::obsazen(const QDate &odKdy, const QDate &doKdy) const
{
    // With its days in order, a stay shares one with the span exactly when
    // it begins by the span's end and ends on or after its start (SdiliDen);
    // such a stay begins at most nejdelsi days before the start.
    const QDate nejdriv = odKdy.addDays(-nejdelsi);
    auto it = std::lower_bound(pobyty.cbegin(), pobyty.cend(), nejdriv,
                               [](const Dny &p, const QDate &den) { return p.od < den; });
    for (; it != pobyty.cend() && it->od <= doKdy; ++it) {
        if (it->doKdy >= odKdy)
            return true;
    }
    return std::any_of(vadne.cbegin(), vadne.cend(),
                       [&](const Dny &p) { return SdiliDen(p.od, p.doKdy, odKdy, doKdy); });
}

QList<int> VolnePokoje::pokojeIds() const
{
    QList<int> ids;
    ids.reserve(qsizetype(m_pokoje.size()));
    for (const Pokoj &p : m_pokoje)
        ids << p.pokoj_id;
    return ids;
}

int VolnePokoje::NajdiVolnyPokoj(int typPokojeId, const QDate &odKdy, const QDate &doKdy) const
{
    if (!hasDays(odKdy, doKdy))
        return 0;
    Q_ASSERT(odKdy >= m_od && doKdy <= m_do);
    const auto typ = m_pokojeTypu.constFind(typPokojeId);
    if (typ == m_pokojeTypu.cend())
        return 0;
    for (qsizetype i : *typ) {
        const Pokoj &p = m_pokoje[i];
        if (!p.obsazen(odKdy, doKdy))
            return p.pokoj_id;
    }
    return 0;
}

void VolnePokoje::Pridej(int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    const Dny dny{odKdy, doKdy};
    Pokoj &p = pokoj(pokojId);
    if (hasDays(odKdy, doKdy)) {
        const auto za = std::upper_bound(p.pobyty.begin(), p.pobyty.end(), odKdy,
                                         [](const QDate &den, const Dny &d) { return den < d.od; });
        p.pobyty.insert(za, dny);
        p.nejdelsi = qMax(p.nejdelsi, odKdy.daysTo(doKdy));
    } else {
        p.vadne.push_back(dny);
    }
}

namespace {
// What is deleted is read first, so that the history names the stay as it
// was. With jakNactene, only the stays the desk showed are deleted: when
// the number's stays of the client are no longer those, nothing is.
bool smaz(int cisloObjednavky, int klientId, const std::vector<Objednavka> *jakNactene)
{
    bool smazana = false;
    TMojeDatabaze::current().save({SqlZamky::objednavka(cisloObjednavky)}, [&](TMojeQuery &q) {
        smazana = false;
        QStringList pobyty;
        QList<int> klienti;
        std::vector<std::tuple<int, QDate, QDate>> ulozene, ukazane;
        q.setSql(SqlObjednavky::selectWithNames(cisloObjednavky, klientId));
        for (q.open(); !q.eof(); q.next()) {
            ulozene.emplace_back(q.integer(QStringLiteral("pokoj_id")), q.date(QStringLiteral("od_kdy")),
                                 q.date(QStringLiteral("do_kdy")));
            pobyty << Historie::pobyt(q.text(QStringLiteral("cislo_pokoje")), q.date(QStringLiteral("od_kdy")),
                                      q.date(QStringLiteral("do_kdy")), q.text(QStringLiteral("jmeno")));
            if (!klienti.contains(q.integer(QStringLiteral("klient_id"))))
                klienti << q.integer(QStringLiteral("klient_id"));
        }
        if (jakNactene && !ulozene.empty()) {
            for (const Objednavka &o : *jakNactene)
                if (o.cislo_objednavky == cisloObjednavky)
                    ukazane.emplace_back(o.pokoj_id, o.od_kdy, o.do_kdy);
            std::sort(ulozene.begin(), ulozene.end());
            std::sort(ukazane.begin(), ukazane.end());
            if (ulozene != ukazane)
                throw Konflikt::zmenen(QCoreApplication::translate("Objednavky", "Rezervaci č. %1")
                                           .arg(cisloObjednavky));
        }
        // The guests of a checked-in stay are entries of the guest books, which the law keeps for years.
        q.setSql(SqlKnihy::selectCheckedInOfReservation(cisloObjednavky, klientId));
        q.open();
        if (q.integer(QStringLiteral("pocet")) > 0)
            throw DatabaseError(QCoreApplication::translate("Objednavky",
                                                            "Rezervaci s ubytovanými hosty nelze smazat; záznamy "
                                                            "hostů v knihách ubytovaných se uchovávají 6 let."));
        q.exec(klientId >= 0 ? SqlObjednavky::deleteReservation(cisloObjednavky, klientId)
                             : SqlObjednavky::deleteReservation(cisloObjednavky));
        smazana = q.rowsAffected() > 0;
        if (smazana)
            Historie::zapis(QCoreApplication::translate("Historie", "Rezervace č. %1 smazána (%2)")
                                .arg(QString::number(cisloObjednavky), pobyty.join(QStringLiteral("; "))),
                            Historie::ids(QStringLiteral("objednavka"), {cisloObjednavky}) + u' '
                                + Historie::ids(QStringLiteral("klient"), klienti));
    });
    return smazana;
}
} // namespace

void Objednavka::SmazObjednavku(int cisloObjednavky)
{
    smaz(cisloObjednavky, -1, nullptr);
}

bool Objednavka::SmazObjednavku(int cisloObjednavky, int klientId)
{
    return smaz(cisloObjednavky, klientId, nullptr);
}

bool Objednavka::SmazObjednavku(int cisloObjednavky, int klientId, const std::vector<Objednavka> &jakNactene)
{
    return smaz(cisloObjednavky, klientId, &jakNactene);
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
