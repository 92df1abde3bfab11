#include "model/TypyDnu.h"

#include "db/SqlTypyDnu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Kolekce.h"

#include <algorithm>

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
    // poradi is read as text so that whatever the column holds goes back unchanged.
    for (; !q.eof(); q.next())
        m_typy.push_back({q.integer("typ_dne_id"), q.text("nazev_typu_dne"), q.text("poradi")});
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
    m_typy.push_back({NoveId(), nazev, QString()});
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
        for (const TypDne &t : m_typy) {
            q.exec(SqlTypyDnu::insertDayType(q.format(), t.typ_dne_id, t.nazev_typu_dne, t.poradi));
            ids << t.typ_dne_id;
        }
        q.exec(SqlTypyDnu::deletePricesOfOtherDayTypes(ids));
        q.exec(SqlTypyDnu::deleteCalendarOfOtherDayTypes(ids));
    });
    // The prices and dates of the removed types are gone now, so their ids are free.
    m_odstranene.clear();
}
