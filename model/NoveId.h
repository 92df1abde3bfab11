#pragma once

#include <algorithm>

/** The smallest positive integer that no element's id (read by idOf) uses. */
template <class Range, class IdOf>
int smallestUnusedId(const Range &elements, IdOf idOf)
{
    for (int id = 1;; ++id)
        if (std::none_of(std::begin(elements), std::end(elements),
                         [&](const auto &e) { return idOf(e) == id; }))
            return id;
}
