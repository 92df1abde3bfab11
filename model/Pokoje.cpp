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

void Pokoje::Pridej(const QString &cisloPokoje, int typPokojeId)
{
    m_pokoje.push_back({NoveId(), cisloPokoje, typPokojeId});
}

int Pokoje::NoveId() const
{
    return smallestUnusedId(m_pokoje, [](const Pokoj &p) { return p.pokoj_id; });
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
        q.exec(SqlPokoje::deleteRooms());
        for (const Pokoj &p : m_pokoje)
            q.exec(SqlPokoje::insertRoom(q.format(), p.pokoj_id, p.cislo_pokoje, p.typ_pokoje_id));
        q.exec(SqlPokoje::deleteStaleLinks(m_odstranena));
    });
    m_odstranena.clear();
}
