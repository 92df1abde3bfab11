#pragma once

#include "model/Pokoje.h"

#include <QDate>
#include <QString>
#include <vector>

/** Occupancy of rooms over a span of days: [room][day], true where a stay covers it. */
using MapaObsazenosti = std::vector<std::vector<bool>>;

/**
 * Reads the occupancy of the rooms (in their order, a room listed twice
 * gets two rows) from the first to the last day, both included, with one
 * statement. A span whose last day is before the first has no days.
 */
MapaObsazenosti nactiObsazenost(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni);

/** Where a stay checked in (guests in the house, not yet checked out) covers the day; one statement. */
MapaObsazenosti nactiUbytovani(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni);

/** [room][day]: the reason the room is out of order that day; a null text where it is in order. */
using MapaMimoProvozu = std::vector<std::vector<QString>>;
/** The rooms' spans out of order over the days, with one statement. */
MapaMimoProvozu nactiMimoProvoz(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni);
