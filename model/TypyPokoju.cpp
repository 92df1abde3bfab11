#include "model/TypyPokoju.h"

#include "db/SqlTypyPokoju.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Kolekce.h"

#include <algorithm>

TypyPokoju::TypyPokoju()
{
    Nacti();
}

void TypyPokoju::Nacti()
{
    m_typy.clear();
    m_odstranene.clear();
    m_cenyBezTypu.clear();
    TMojeQuery q;
    q.setSql(SqlTypyPokoju::selectRoomTypes());
    q.open();
    for (; !q.eof(); q.next())
        m_typy.push_back({q.integer("typ_pokoje_id"), q.text("nazev_typu_pokoje"), q.integer("pocet_luzek")});
    q.setSql(SqlTypyPokoju::selectPricedRoomTypeIds());
    q.open();
    for (; !q.eof(); q.next())
        if (findType(q.integer("typ_pokoje_id")) == m_typy.end())
            m_cenyBezTypu << q.integer("typ_pokoje_id");
}

std::vector<TypPokoje>::iterator TypyPokoju::findType(int id)
{
    return std::find_if(m_typy.begin(), m_typy.end(), [id](const TypPokoje &t) { return t.typ_pokoje_id == id; });
}

void TypyPokoju::Vypis(QStringList &seznam) const
{
    listNames(m_typy, [](const TypPokoje &t) { return t.nazev_typu_pokoje; }, seznam);
}

int TypyPokoju::NajdiId(const QString &nazev) const
{
    return findIdByName(
        m_typy, nazev, [](const TypPokoje &t) { return t.nazev_typu_pokoje; },
        [](const TypPokoje &t) { return t.typ_pokoje_id; }, -1);
}

void TypyPokoju::Pridej(const QString &nazev, int pocetLuzek)
{
    m_typy.push_back({NoveId(), nazev, pocetLuzek});
}

bool TypyPokoju::Odstran(const QString &nazev)
{
    const int id = NajdiId(nazev);
    if (JePouzit(id))
        return false;
    const auto it = findType(id);
    if (it != m_typy.end()) {
        m_odstranene.push_back(*it);
        m_typy.erase(it);
    }
    return true;
}

int TypyPokoju::NoveId() const
{
    QList<int> taken = m_cenyBezTypu;
    for (const auto *typy : {&m_typy, &m_odstranene})
        for (const TypPokoje &t : *typy)
            taken << t.typ_pokoje_id;
    return smallestUnusedId(taken, [](int id) { return id; });
}

namespace {
bool hasRooms(TMojeQuery &q, int typPokojeId)
{
    q.setSql(SqlTypyPokoju::selectRoomsOfType(typPokojeId));
    q.open();
    return !q.isEmpty();
}
} // namespace

bool TypyPokoju::JePouzit(int typPokojeId) const
{
    TMojeQuery q;
    return hasRooms(q, typPokojeId);
}

std::vector<TypPokoje> TypyPokoju::Uloz()
{
    std::vector<TypPokoje> typy;
    std::vector<TypPokoje> ponechane;
    TMojeDatabaze::current().writeLocked(SqlTypyPokoju::lockRoomTypes(), [&](TMojeQuery &q) {
        typy = m_typy;
        ponechane.clear();
        // Another desk may have given a room one of the removed types since
        // the removal; deleting the type would leave that room without one.
        for (const TypPokoje &t : m_odstranene) {
            if (hasRooms(q, t.typ_pokoje_id)) {
                ponechane.push_back(t);
                typy.push_back(t);
            }
        }
        q.exec(SqlTypyPokoju::deleteRoomTypes());
        QList<int> ids;
        for (const TypPokoje &t : typy) {
            q.exec(SqlTypyPokoju::insertRoomType(q.format(), t.typ_pokoje_id, t.nazev_typu_pokoje,
                                                 t.pocet_luzek));
            ids << t.typ_pokoje_id;
        }
        q.exec(SqlTypyPokoju::deletePricesOfOtherRoomTypes(ids));
    });
    // The prices of the removed types are gone now, so their ids are free.
    m_typy = std::move(typy);
    m_odstranene.clear();
    m_cenyBezTypu.clear();
    return ponechane;
}
