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
    TMojeQuery q;
    q.setSql(SqlTypyPokoju::selectRoomTypes());
    q.open();
    for (; !q.eof(); q.next())
        m_typy.push_back({q.integer("typ_pokoje_id"), q.text("nazev_typu_pokoje"), q.integer("pocet_luzek")});
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
    const auto it = std::find_if(m_typy.begin(), m_typy.end(),
                                 [id](const TypPokoje &t) { return t.typ_pokoje_id == id; });
    if (it != m_typy.end()) {
        m_odstranene << id;
        m_typy.erase(it);
    }
    return true;
}

int TypyPokoju::NoveId() const
{
    QList<int> taken = m_odstranene;
    for (const TypPokoje &t : m_typy)
        taken << t.typ_pokoje_id;
    return smallestUnusedId(taken, [](int id) { return id; });
}

bool TypyPokoju::JePouzit(int typPokojeId) const
{
    TMojeQuery q;
    q.setSql(SqlTypyPokoju::selectRoomsOfType(typPokojeId));
    q.open();
    return !q.isEmpty();
}

void TypyPokoju::Uloz()
{
    TMojeDatabaze::current().writeLocked(SqlTypyPokoju::lockRoomTypes(), [this](TMojeQuery &q) {
        q.exec(SqlTypyPokoju::deleteRoomTypes());
        QList<int> ids;
        for (const TypPokoje &t : m_typy) {
            q.exec(SqlTypyPokoju::insertRoomType(q.format(), t.typ_pokoje_id, t.nazev_typu_pokoje,
                                                 t.pocet_luzek));
            ids << t.typ_pokoje_id;
        }
        q.exec(SqlTypyPokoju::deletePricesOfOtherRoomTypes(ids));
    });
    // The prices of the removed types are gone now, so their ids are free.
    m_odstranene.clear();
}
