#pragma once

#include "model/Pokoje.h"

#include <QDate>
#include <vector>

/** Occupancy of rooms over a span of days: [room][day], true where a stay covers it. */
using MapaObsazenosti = std::vector<std::vector<bool>>;

/**
 * Reads the occupancy of the rooms (in their order, a room listed twice
 * gets two rows) from the first to the last day, both included, with one
 * statement. A span whose last day is before the first has no days.
 */
MapaObsazenosti nactiObsazenost(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni);
