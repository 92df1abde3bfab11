#include "model/Pokoje.h"

#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include "model/Kolekce.h"

#include <algorithm>

Pokoj nactiPokoj(const TMojeQuery &q)
{
    return {q.integer("pokoj_id"), q.text("cislo_pokoje"), q.integer("typ_pokoje_id")};
}

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
    m_pokoje.clear();
    m_odstranena.clear();
    m_pridana.clear();
    TMojeQuery q;
    q.setSql(SqlPokoje::selectRooms());
    q.open();
    for (; !q.eof(); q.next())
        m_pokoje.push_back(nactiPokoj(q));
}

void Pokoje::Vypis(QStringList &seznam) const
{
    listNames(m_pokoje, [](const Pokoj &p) { return p.cislo_pokoje; }, seznam);
}

namespace {
QList<int> reservedRoomIds(TMojeQuery &q)
{
    QList<int> ids;
    q.setSql(SqlPokoje::selectReservedRoomIds());
    q.open();
    for (; !q.eof(); q.next())
        ids << q.integer("pokoj_id");
    return ids;
}

int unusedId(const std::vector<Pokoj> &pokoje, QList<int> taken)
{
    for (const Pokoj &p : pokoje)
        taken << p.pokoj_id;
    return smallestUnusedId(taken, [](int id) { return id; });
}
} // namespace

void Pokoje::Pridej(const QString &cisloPokoje, int typPokojeId)
{
    const int id = NoveId();
    m_pokoje.push_back({id, cisloPokoje, typPokojeId});
    m_pridana << id;
}

int Pokoje::NoveId() const
{
    TMojeQuery q;
    return unusedId(m_pokoje, reservedRoomIds(q));
}

void Pokoje::Odstran(const QString &cisloPokoje)
{
    const auto it = std::find_if(m_pokoje.begin(), m_pokoje.end(),
                                 [&](const Pokoj &p) { return p.cislo_pokoje == cisloPokoje; });
    if (it != m_pokoje.end()) {
        m_odstranena << it->pokoj_id;
        m_pokoje.erase(it);
    }
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

void Pokoje::Uloz()
{
    TMojeDatabaze::current().writeLocked(SqlPokoje::lockRooms(), [this](TMojeQuery &q) {
        // Another desk may have booked, since the id was chosen, a room that
        // was removed here and whose id a new room took: the new room moves on.
        const QList<int> reserved = reservedRoomIds(q);
        for (Pokoj &p : m_pokoje) {
            if (m_pridana.contains(p.pokoj_id) && reserved.contains(p.pokoj_id)) {
                const int id = unusedId(m_pokoje, reserved);
                m_pridana.replace(m_pridana.indexOf(p.pokoj_id), id);
                p.pokoj_id = id;
            }
        }
        q.exec(SqlPokoje::deleteRooms());
        for (const Pokoj &p : m_pokoje)
            q.exec(SqlPokoje::insertRoom(q.format(), p.pokoj_id, p.cislo_pokoje, p.typ_pokoje_id));
        q.exec(SqlPokoje::deleteStaleLinks(m_odstranena));
    });
    m_odstranena.clear();
    m_pridana.clear();
}

std::vector<Pokoj> Pokoje::roomsRemovedBy(const QStringList &cislaPokoju) const
{
    Pokoje zbyvajici(m_pokoje);
    std::vector<Pokoj> odstranene;
    for (const QString &cislo : cislaPokoju) {
        const Pokoj p = zbyvajici.NajdiPokoj(cislo);
        if (p.pokoj_id == Pokoj{}.pokoj_id)
            continue;
        odstranene.push_back(p);
        zbyvajici.Odstran(cislo);
    }
    return odstranene;
}

int Pokoje::reservationsUntil(const std::vector<Pokoj> &pokoje, const QDate &day)
{
    if (pokoje.empty())
        return 0;
    QList<int> ids;
    for (const Pokoj &p : pokoje)
        ids << p.pokoj_id;
    TMojeQuery q;
    q.setSql(SqlPokoje::countReservationsUntil(ids, day));
    q.open();
    return q.integer("pocet");
}
