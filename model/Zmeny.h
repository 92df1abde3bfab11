#pragma once

// What a dialog changed in its copy of a table since it loaded it. Several
// desks share the tables: a save writes only these changes, after checking
// in its save that the rows it changes are still as it loaded them,
// and leaves every other row as another desk stored it.

#include "db/DatabaseError.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

/**
 * Rows added in memory carry a provisional id below -1 until their save
 * takes a real one from the table under its lock (-1 is the "none" value).
 */
inline bool jeDocasneId(int id)
{
    return id < -1;
}

/** The next provisional id: below every id of the elements, at most -2. */
template <class Range, class IdOf>
int dalsiDocasneId(const Range &elements, IdOf idOf)
{
    int id = -2;
    for (const auto &e : elements)
        id = std::min(id, idOf(e) - 1);
    return id;
}

/** Rows added, removed (as loaded) and changed (as loaded, as now) since the load. */
template <class T>
struct Zmeny
{
    std::vector<T> pridane;
    std::vector<T> odstranene;
    std::vector<std::pair<T, T>> zmenene;

    bool prazdne() const { return pridane.empty() && odstranene.empty() && zmenene.empty(); }
};

/** Compares the copy as loaded with the copy as it is now, row by row by id. */
template <class T, class IdOf>
Zmeny<T> najdiZmeny(const std::vector<T> &nactene, const std::vector<T> &ted, IdOf idOf)
{
    Zmeny<T> z;
    QHash<int, const T *> puvodni;
    for (const T &r : nactene)
        puvodni.insert(idOf(r), &r);
    QHash<int, bool> zustava;
    for (const T &r : ted) {
        const auto it = puvodni.constFind(idOf(r));
        if (it == puvodni.constEnd()) {
            z.pridane.push_back(r);
            continue;
        }
        zustava.insert(idOf(r), true);
        if (!(**it == r))
            z.zmenene.push_back({**it, r});
    }
    for (const T &r : nactene)
        if (!zustava.contains(idOf(r)))
            z.odstranene.push_back(r);
    return z;
}

namespace Konflikt {

inline QString tr(const char *text)
{
    return QCoreApplication::translate("Konflikt", text);
}

/** The refusal of a save that another desk overtook: the sentence, then what the dialog does. */
inline DatabaseError chyba(const QString &veta)
{
    return DatabaseError(veta + u'\n'
                             + tr("Nic se neuložilo. Seznamy jsou načteny znovu a změny, které šlo zachovat, "
                                  "v nich zůstaly; zkontrolujte je a uložte znovu."),
                         DatabaseError::Kind::Conflict);
}
/** co names the row: "Typ pokoje „Apartmá“". */
inline DatabaseError zmenen(const QString &co)
{
    return chyba(tr("%1 mezitím změnila jiná recepce.").arg(co));
}
inline DatabaseError odstranen(const QString &co)
{
    return chyba(tr("%1 mezitím odstranila jiná recepce.").arg(co));
}
inline DatabaseError pridan(const QString &co)
{
    return chyba(tr("%1 mezitím přidala jiná recepce.").arg(co));
}
/** A row still in use by rows another desk stored (a room of a removed type, say). */
inline DatabaseError pouzit(const QString &veta)
{
    return chyba(veta);
}

/** Quotes a name the Czech way: „name“. */
inline QString uvozovky(const QString &nazev)
{
    return QStringLiteral("„") + nazev + QStringLiteral("“");
}

} // namespace Konflikt

/**
 * Checks, under the save's lock, that every row this copy removes or changes
 * is in the table (vTabulce, read under the lock) as it was loaded; throws
 * the conflict naming the first that is not. popis names a row for the user.
 */
template <class T, class IdOf, class Popis>
void overZmeny(const Zmeny<T> &z, const std::vector<T> &vTabulce, IdOf idOf, Popis popis)
{
    QHash<int, const T *> tabulka;
    for (const T &r : vTabulce)
        tabulka.insert(idOf(r), &r);
    const auto over = [&](const T &nacteny) {
        const auto it = tabulka.constFind(idOf(nacteny));
        if (it == tabulka.constEnd())
            throw Konflikt::odstranen(popis(nacteny));
        if (!(**it == nacteny))
            throw Konflikt::zmenen(popis(nacteny));
    };
    for (const T &r : z.odstranene)
        over(r);
    for (const auto &[nacteny, novy] : z.zmenene)
        over(nacteny);
}

/**
 * After a refused save: the table as it is now (znovu, just loaded) with
 * this copy's changes put back where they still apply. A removal or change
 * of a row that is no longer as it was loaded is dropped (the other desk's
 * version shows); an added row whose key (keyOf, a name) the table now has
 * is dropped too.
 */
template <class T, class KeyOf>
std::vector<T> prenesZmeny(const Zmeny<T> &z, std::vector<T> znovu, KeyOf keyOf)
{
    for (const T &r : z.odstranene) {
        const auto it = std::find(znovu.begin(), znovu.end(), r);
        if (it != znovu.end())
            znovu.erase(it);
    }
    for (const auto &[nacteny, novy] : z.zmenene) {
        const auto it = std::find(znovu.begin(), znovu.end(), nacteny);
        if (it != znovu.end())
            *it = novy;
    }
    for (const T &r : z.pridane) {
        const bool obsazeno = std::any_of(znovu.begin(), znovu.end(), [&](const T &x) { return keyOf(x) == keyOf(r); });
        if (!obsazeno)
            znovu.push_back(r);
    }
    return znovu;
}
