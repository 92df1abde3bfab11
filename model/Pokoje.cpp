#include "model/Pokoje.h"
#include "model/Historie.h"

#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include "db/SqlZamky.h"
#include "model/Kolekce.h"
#include "model/UlozeniZmen.h"

#include <QCoreApplication>
#include <algorithm>

Pokoj nactiPokoj(const TMojeQuery &q)
{
    return {q.integer("pokoj_id"), q.text("cislo_pokoje"), q.integer("typ_pokoje_id")};
}

QString popisPokoje(const Pokoj &pokoj)
{
    return QCoreApplication::translate("Pokoje", "Pokoj %1").arg(Konflikt::uvozovky(pokoj.cislo_pokoje));
}

namespace {
int idOf(const Pokoj &p)
{
    return p.pokoj_id;
}

std::vector<Pokoj> readRooms(TMojeQuery &q, const QString &select)
{
    std::vector<Pokoj> pokoje;
    q.setSql(select);
    q.open();
    for (; !q.eof(); q.next())
        pokoje.push_back(nactiPokoj(q));
    return pokoje;
}

// The room's stays that last until today or later.
int pocetRezervaci(TMojeQuery &q, int pokojId)
{
    q.setSql(SqlPokoje::countReservationsUntil({pokojId}, QDate::currentDate()));
    q.open();
    return q.integer("pocet");
}

QList<int> readIds(TMojeQuery &q, const QString &select, const QString &column)
{
    QList<int> ids;
    q.setSql(select);
    q.open();
    for (; !q.eof(); q.next())
        ids << q.integer(column);
    return ids;
}
} // namespace

Pokoje::Pokoje()
{
    Nacti();
}

Pokoje::Pokoje(std::vector<Pokoj> pokoje)
    : m_pokoje(std::move(pokoje))
{
}

void Pokoje::Nacti()
{
    TMojeQuery q;
    m_pokoje = readRooms(q, SqlPokoje::selectRooms());
    m_nactene = m_pokoje;
}

void Pokoje::Vypis(QStringList &seznam) const
{
    listNames(m_pokoje, [](const Pokoj &p) { return p.cislo_pokoje; }, seznam);
}

bool Pokoje::contains(int pokojId) const
{
    return std::any_of(m_pokoje.begin(), m_pokoje.end(), [&](const Pokoj &p) { return p.pokoj_id == pokojId; });
}

void Pokoje::Pridej(const QString &cisloPokoje, int typPokojeId)
{
    for (const Pokoj &p : m_nactene) {
        if (p.cislo_pokoje == cisloPokoje && !contains(p.pokoj_id)) {
            m_pokoje.push_back({p.pokoj_id, cisloPokoje, typPokojeId});
            return;
        }
    }
    m_pokoje.push_back({dalsiDocasneId(m_pokoje, idOf), cisloPokoje, typPokojeId});
}

void Pokoje::Odstran(int index, bool sRezervacemi)
{
    if (index < 0 || index >= static_cast<int>(m_pokoje.size()))
        return;
    const Pokoj &p = m_pokoje[index];
    // What the room may have at the save: nothing, unless the removal was
    // confirmed over its reservations, then what it had when confirmed. A
    // booking stored since is told at the save.
    if (!jeDocasneId(p.pokoj_id) && !m_rezervaceOdstranenych.contains(p.pokoj_id)) {
        int pocet = 0;
        if (sRezervacemi) {
            TMojeQuery q;
            pocet = pocetRezervaci(q, p.pokoj_id);
        }
        m_rezervaceOdstranenych.insert(p.pokoj_id, pocet);
    }
    m_pokoje.erase(m_pokoje.begin() + index);
}

void Pokoje::ZmenTyp(int index, int typPokojeId)
{
    if (index >= 0 && index < static_cast<int>(m_pokoje.size()))
        m_pokoje[index].typ_pokoje_id = typPokojeId;
}

Pokoj Pokoje::NajdiPokoj(const QString &cisloPokoje) const
{
    for (const Pokoj &p : m_pokoje)
        if (p.cislo_pokoje == cisloPokoje)
            return p;
    return Pokoj{};
}

int Pokoje::NajdiId(const QString &cisloPokoje) const
{
    return NajdiPokoj(cisloPokoje).pokoj_id;
}

bool Pokoje::numberTaken(const QString &cisloPokoje) const
{
    if (NajdiPokoj(cisloPokoje).pokoj_id != Pokoj{}.pokoj_id)
        return true;
    TMojeQuery q;
    // The server's collation may match more than the exact number: compared here.
    for (const Pokoj &t : readRooms(q, SqlPokoje::selectRoomsNumbered(q.format(), cisloPokoje))) {
        const bool odstranenZde = !contains(t.pokoj_id)
                                  && std::find(m_nactene.begin(), m_nactene.end(), t) != m_nactene.end();
        if (t.cislo_pokoje == cisloPokoje && !odstranenZde)
            return true;
    }
    return false;
}

Zmeny<Pokoj> Pokoje::zmeny() const
{
    return najdiZmeny(m_nactene, m_pokoje, idOf);
}

void Pokoje::Uloz(const QHash<int, QString> &nazvyTypu)
{
    const Zmeny<Pokoj> z = zmeny();
    if (z.prazdne())
        return;
    UlozeniZmen<Pokoj> ulozeni;
    ulozeni.zamky = SqlPokoje::lockRooms();
    // A room removed or changed here: a booking of it waits, or runs again.
    for (const Pokoj &p : z.odstranene)
        ulozeni.zamky << SqlZamky::pokoj(p.pokoj_id);
    for (const auto &[nacteny, novy] : z.zmenene)
        ulozeni.zamky << SqlZamky::pokoj(nacteny.pokoj_id);
    ulozeni.nacti = [](TMojeQuery &q) { return readRooms(q, SqlPokoje::selectRooms()); };
    ulozeni.idOf = idOf;
    ulozeni.nazevOf = [](const Pokoj &p) { return p.cislo_pokoje; };
    ulozeni.popis = popisPokoje;
    ulozeni.pouzitaId = [](TMojeQuery &q) {
        // A new room must not take over the guests or the group links left under an id.
        QSet<int> ids;
        for (int id : readIds(q, SqlPokoje::selectReservedRoomIds(), QStringLiteral("pokoj_id"))
                          + readIds(q, SqlPokoje::selectLinks(), QStringLiteral("pokoj_id")))
            ids.insert(id);
        return ids;
    };
    ulozeni.over = [&](TMojeQuery &q, const std::vector<Pokoj> &) {
        const QList<int> typy = readIds(q, SqlPokoje::selectRoomTypeIds(), QStringLiteral("typ_pokoje_id"));
        const auto overTyp = [&](const Pokoj &p) {
            if (typy.contains(p.typ_pokoje_id))
                return;
            const QString nazev = nazvyTypu.value(p.typ_pokoje_id);
            throw Konflikt::odstranen(
                nazev.isEmpty()
                    ? QCoreApplication::translate("Pokoje", "Typ pokoje pokoje %1").arg(Konflikt::uvozovky(p.cislo_pokoje))
                    : QCoreApplication::translate("Pokoje", "Typ pokoje %1").arg(Konflikt::uvozovky(nazev)));
        };
        for (const Pokoj &p : z.pridane)
            overTyp(p);
        for (const auto &[nacteny, novy] : z.zmenene)
            if (novy.typ_pokoje_id != nacteny.typ_pokoje_id)
                overTyp(novy);
        // Booked at another desk since it was removed here: the removal's
        // question was put on what the room had then.
        for (const Pokoj &p : z.odstranene)
            if (pocetRezervaci(q, p.pokoj_id) > m_rezervaceOdstranenych.value(p.pokoj_id))
                throw Konflikt::pouzit(QCoreApplication::translate("Pokoje", "Pokoj %1 mezitím jiná recepce "
                                                                              "zarezervovala.")
                                           .arg(Konflikt::uvozovky(p.cislo_pokoje)));
    };
    ulozeni.zapis = [&](TMojeQuery &q, const std::vector<Pokoj> &, const QHash<int, int> &skutecnaId) {
        QStringList noveZamky;
        for (int id : skutecnaId)
            noveZamky << SqlZamky::pokoj(id);
        q.database().lock(q, noveZamky);
        QList<int> odstranene;
        for (const Pokoj &p : z.odstranene)
            odstranene << p.pokoj_id;
        if (!odstranene.isEmpty()) {
            for (int id : odstranene)
                q.exec(SqlPokoje::deleteRoom(id));
            q.exec(SqlPokoje::deleteLinksOfRooms(odstranene));
        }
        for (const auto &[nacteny, novy] : z.zmenene)
            q.exec(SqlPokoje::updateRoom(q.format(), novy.pokoj_id, novy.cislo_pokoje, novy.typ_pokoje_id));
        for (const Pokoj &p : z.pridane)
            q.exec(SqlPokoje::insertRoom(q.format(), skutecnaId.value(p.pokoj_id), p.cislo_pokoje, p.typ_pokoje_id));
        // A room's type change names both types, as the rooms dialog shows them.
        const auto typ = [&](int id) { return nazvyTypu.value(id, QString::number(id)); };
        Zmeny<Pokoj> vPopisu = z;
        vPopisu.zmenene.clear();
        QStringList zmenyTypu;
        for (const auto &[nacteny, novy] : z.zmenene)
            zmenyTypu << QCoreApplication::translate("Historie", "%1: typ %2 → %3")
                             .arg(novy.cislo_pokoje, Konflikt::uvozovky(typ(nacteny.typ_pokoje_id)),
                                  Konflikt::uvozovky(typ(novy.typ_pokoje_id)));
        QString popis = Historie::zmeny(vPopisu, [](const Pokoj &p) { return p.cislo_pokoje; });
        if (!zmenyTypu.isEmpty())
            popis += (popis.isEmpty() ? QString() : QStringLiteral("; "))
                     + QCoreApplication::translate("Historie", "změněny %1").arg(Historie::vycet(zmenyTypu));
        Historie::zapis(QCoreApplication::translate("Historie", "Pokoje uloženy: %1").arg(popis),
                        Historie::ids(QStringLiteral("pokoj"), Historie::idsZmen(z, idOf, [&](int id) {
                                          return skutecnaId.value(id, id);
                                      })));
    };
    const QHash<int, int> skutecnaId = ulozeni.uloz(TMojeDatabaze::current(), z);
    for (Pokoj &p : m_pokoje)
        p.pokoj_id = skutecnaId.value(p.pokoj_id, p.pokoj_id);
    m_nactene = m_pokoje;
    m_rezervaceOdstranenych.clear();
}

void Pokoje::reloadKeepingChanges()
{
    Zmeny<Pokoj> z = zmeny();
    Nacti();
    // A removal that a booking overtook comes back, to be asked again.
    TMojeQuery q;
    std::erase_if(z.odstranene, [&](const Pokoj &p) {
        return pocetRezervaci(q, p.pokoj_id) > m_rezervaceOdstranenych.value(p.pokoj_id);
    });
    QHash<int, int> rezervace;
    for (const Pokoj &p : z.odstranene)
        rezervace.insert(p.pokoj_id, m_rezervaceOdstranenych.value(p.pokoj_id));
    m_rezervaceOdstranenych = std::move(rezervace);
    m_pokoje = prenesZmeny(z, m_pokoje, [](const Pokoj &p) { return p.cislo_pokoje; });
}

int Pokoje::reservationsUntil(const std::vector<Pokoj> &pokoje, const QDate &day)
{
    QList<int> ids;
    for (const Pokoj &p : pokoje)
        if (!jeDocasneId(p.pokoj_id))   // a room added here has no guests yet
            ids << p.pokoj_id;
    if (ids.isEmpty())
        return 0;
    TMojeQuery q;
    q.setSql(SqlPokoje::countReservationsUntil(ids, day));
    q.open();
    return q.integer("pocet");
}
