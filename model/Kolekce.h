#pragma once

// What the collections share: listing names, looking a name up, choosing an id.

#include <QString>
#include <QStringList>
#include <algorithm>

/** Clears the list and adds each element's name, in collection order. */
template <class Range, class NameOf>
void listNames(const Range &elements, NameOf nameOf, QStringList &list)
{
    list.clear();
    for (const auto &e : elements)
        list << nameOf(e);
}

/** The id of the first element whose name equals the text exactly, or notFound. */
template <class Range, class NameOf, class IdOf>
int findIdByName(const Range &elements, const QString &name, NameOf nameOf, IdOf idOf, int notFound)
{
    for (const auto &e : elements)
        if (nameOf(e) == name)
            return idOf(e);
    return notFound;
}

/** The smallest positive integer that no element's id (read by idOf) uses. */
template <class Range, class IdOf>
int smallestUnusedId(const Range &elements, IdOf idOf)
{
    for (int id = 1;; ++id)
        if (std::none_of(std::begin(elements), std::end(elements),
                         [&](const auto &e) { return idOf(e) == id; }))
            return id;
}
