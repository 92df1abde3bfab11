#include "model/TypyDnu.h"

#include "db/SqlTypyDnu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Kolekce.h"

#include <algorithm>
#include <utility>

TypyDnu::TypyDnu()
{
    Nacti();
}

void TypyDnu::Nacti()
{
    m_typy.clear();
    m_odstranene.clear();
    TMojeQuery q;
    q.setSql(SqlTypyDnu::selectDayTypes());
    q.open();
    std::vector<std::pair<int, TypDne>> read;
    for (; !q.eof(); q.next())
        read.push_back({q.integer("poradi"), {q.integer("typ_dne_id"), q.text("nazev_typu_dne")}});
    // Stable: equal poradi keep the order read, which becomes their priority at the save.
    std::stable_sort(read.begin(), read.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[poradi, typ] : read)
        m_typy.push_back(std::move(typ));

    // The calendar dialog stores the dates of a type not saved yet; when that
    // type is then dropped unsaved, its rows wait for the next save.
    q.setSql(SqlTypyDnu::selectReferencedDayTypeIds());
    q.open();
    for (; !q.eof(); q.next()) {
        const int id = q.integer("typ_dne_id");
        if (std::none_of(m_typy.begin(), m_typy.end(), [id](const TypDne &t) { return t.typ_dne_id == id; }))
            m_odstranene << id;
    }
}

void TypyDnu::Vypis(QStringList &seznam) const
{
    listNames(m_typy, [](const TypDne &t) { return t.nazev_typu_dne; }, seznam);
}

int TypyDnu::NajdiId(const QString &nazev) const
{
    return findIdByName(
        m_typy, nazev, [](const TypDne &t) { return t.nazev_typu_dne; }, [](const TypDne &t) { return t.typ_dne_id; },
        -1);
}

void TypyDnu::Pridej(const QString &nazev)
{
    m_typy.push_back({NoveId(), nazev});
}

void TypyDnu::Odstran(const QString &nazev)
{
    const int id = NajdiId(nazev);
    const auto it = std::find_if(m_typy.begin(), m_typy.end(),
                                 [id](const TypDne &t) { return t.typ_dne_id == id; });
    if (it != m_typy.end()) {
        m_odstranene << id;
        m_typy.erase(it);
    }
}

bool TypyDnu::Posun(int index, int krok)
{
    const int cil = index + krok;
    const int pocet = static_cast<int>(m_typy.size());
    if (index < 0 || index >= pocet || cil < 0 || cil >= pocet)
        return false;
    const TypDne typ = m_typy[index];
    m_typy.erase(m_typy.begin() + index);
    m_typy.insert(m_typy.begin() + cil, typ);
    return true;
}

int TypyDnu::NoveId() const
{
    QList<int> taken = m_odstranene;
    for (const TypDne &t : m_typy)
        taken << t.typ_dne_id;
    return smallestUnusedId(taken, [](int id) { return id; });
}

void TypyDnu::Uloz()
{
    TMojeDatabaze::current().writeLocked(SqlTypyDnu::lockDayTypes(), [this](TMojeQuery &q) {
        q.exec(SqlTypyDnu::deleteDayTypes());
        QList<int> ids;
        // The stay price takes the lowest poradi: the list's order is the priority.
        int poradi = 0;
        for (const TypDne &t : m_typy) {
            q.exec(SqlTypyDnu::insertDayType(q.format(), t.typ_dne_id, t.nazev_typu_dne, ++poradi));
            ids << t.typ_dne_id;
        }
        q.exec(SqlTypyDnu::deletePricesOfOtherDayTypes(ids));
        q.exec(SqlTypyDnu::deleteCalendarOfOtherDayTypes(ids));
    });
    // The prices and dates of the removed types are gone now, so their ids are free.
    m_odstranene.clear();
}
