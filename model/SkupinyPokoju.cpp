#include "model/SkupinyPokoju.h"

#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Kolekce.h"

#include <algorithm>

namespace {
Pokoje loadMembers(int skupinaPokojuId)
{
    std::vector<Pokoj> clenove;
    TMojeQuery q;
    q.setSql(SqlPokoje::selectMembers(skupinaPokojuId));
    q.open();
    for (; !q.eof(); q.next())
        clenove.push_back(nactiPokoj(q));
    return Pokoje(std::move(clenove));
}

bool hasMember(const Pokoje &pokoje, int pokojId)
{
    const auto &p = pokoje.prvky();
    return std::any_of(p.begin(), p.end(), [pokojId](const Pokoj &x) { return x.pokoj_id == pokojId; });
}
} // namespace

SkupinaPokoju::SkupinaPokoju(int skupinaPokojuId, const QString &nazev)
    : SkupinaPokoju(skupinaPokojuId, nazev, loadMembers(skupinaPokojuId))
{
}

SkupinaPokoju::SkupinaPokoju(int skupinaPokojuId, const QString &nazev, Pokoje clenove)
    : skupina_pokoju_id(skupinaPokojuId), nazev_skupiny_pokoju(nazev), clenove(std::move(clenove))
{
}

void SkupinaPokoju::VypisPokoje(QStringList &seznam) const
{
    clenove.Vypis(seznam);
}

void SkupinaPokoju::OdeberPokoje(const Pokoje &pokoje)
{
    auto &members = clenove.prvky();
    for (const Pokoj &p : pokoje.prvky()) {
        const auto it = std::find_if(members.begin(), members.end(),
                                     [&](const Pokoj &m) { return m.pokoj_id == p.pokoj_id; });
        if (it != members.end())
            members.erase(it);
    }
}

void SkupinaPokoju::PridejPokoje(const Pokoje &pokoje)
{
    // The no-room value (a number no room has any more) would become a link to no room.
    for (const Pokoj &p : pokoje.prvky())
        if (p.pokoj_id != Pokoj{}.pokoj_id && !hasMember(clenove, p.pokoj_id))
            clenove.prvky().push_back(p);
}

void SkupinaPokoju::UlozClenstvi(TMojeQuery &q) const
{
    q.exec(SqlPokoje::deleteLinksOfGroup(skupina_pokoju_id));
    for (const Pokoj &p : clenove.prvky())
        q.exec(SqlPokoje::insertLink(skupina_pokoju_id, p.pokoj_id));
}

SkupinyPokoju::SkupinyPokoju()
{
    Nacti();
}

void SkupinyPokoju::Nacti()
{
    m_skupiny.clear();
    TMojeQuery q;
    q.setSql(SqlPokoje::selectGroups());
    q.open();
    for (; !q.eof(); q.next())
        m_skupiny.emplace_back(q.integer("skupina_pokoju_id"), q.text("nazev_skupiny_pokoju"));
}

void SkupinyPokoju::Vypis(QStringList &seznam) const
{
    listNames(m_skupiny, [](const SkupinaPokoju &s) { return s.nazev_skupiny_pokoju; }, seznam);
}

void SkupinyPokoju::VypisPokoje(const QString &nazev, QStringList &seznam) const
{
    for (const SkupinaPokoju *s : najdiVsechny(nazev))
        s->VypisPokoje(seznam);
}

void SkupinyPokoju::Pridej(const QString &nazev)
{
    m_skupiny.emplace_back(NoveId(), nazev);
}

int SkupinyPokoju::NoveId() const
{
    return smallestUnusedId(m_skupiny, [](const SkupinaPokoju &s) { return s.skupina_pokoju_id; });
}

void SkupinyPokoju::Odstran(const QString &nazev)
{
    const auto it = std::find_if(m_skupiny.begin(), m_skupiny.end(),
                                 [&](const SkupinaPokoju &s) { return s.nazev_skupiny_pokoju == nazev; });
    if (it != m_skupiny.end())
        m_skupiny.erase(it);
}

void SkupinyPokoju::PridejPokojeDoSkupiny(const QString &nazev, const Pokoje &pokoje)
{
    for (SkupinaPokoju &s : m_skupiny)
        if (s.nazev_skupiny_pokoju == nazev)
            s.PridejPokoje(pokoje);
}

void SkupinyPokoju::OdeberPokojeZeSkupiny(const QString &nazev, const Pokoje &pokoje)
{
    for (SkupinaPokoju &s : m_skupiny)
        if (s.nazev_skupiny_pokoju == nazev)
            s.OdeberPokoje(pokoje);
}

void SkupinyPokoju::Uloz() const
{
    TMojeDatabaze::current().writeLocked(SqlPokoje::lockGroups(), [this](TMojeQuery &q) {
        q.exec(SqlPokoje::deleteGroups());
        for (const SkupinaPokoju &s : m_skupiny)
            q.exec(SqlPokoje::insertGroup(q.format(), s.skupina_pokoju_id, s.nazev_skupiny_pokoju));
        q.exec(SqlPokoje::deleteAllLinks());
        for (const SkupinaPokoju &s : m_skupiny)
            s.UlozClenstvi(q);
    });
}

std::vector<const SkupinaPokoju *> SkupinyPokoju::najdiVsechny(const QString &nazev) const
{
    std::vector<const SkupinaPokoju *> found;
    for (const SkupinaPokoju &s : m_skupiny)
        if (s.nazev_skupiny_pokoju == nazev)
            found.push_back(&s);
    return found;
}
