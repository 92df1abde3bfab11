#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on the rooms' housekeeping status and their spans out of order. */
namespace SqlStavPokoju {

/**
 * Every room with what housekeeping needs on the day, by room number:
 * pokoj_id, cislo_pokoje, nazev_typu_pokoje, stav (0 where no row),
 * mimo_provoz (1 when a span covers the day) and its duvod, and 1/0 for
 * odjezd (a stay's last night was the day before), zustava (a stay goes
 * on past the day's night) and prijezd (a stay begins on the day).
 */
QString selectRooms(const QDate &den);
/** The room's status (stav) and whether the room exists (pokoj_existuje); one row. */
QString selectStatus(int pokojId);
QString writeStatus(int pokojId, int stav);
/** pokoj_id and stav of every room that has a status row, for the grid's headers. */
QString selectStatuses();

/** The spans out of order that share a day with od..dO, by room and first day. */
QString selectOutOfOrder(const QDate &od, const QDate &dO);
/** The room's spans out of order, by first day. */
QString selectOutOfOrderOfRoom(int pokojId);
/** One span by its id (no row when removed). */
QString selectOutOfOrderById(int mimoProvozId);
QString insertOutOfOrder(const SqlFormat &f, int mimoProvozId, int pokojId, const QDate &od, const QDate &dO,
                         const QString &duvod);
QString deleteOutOfOrder(int mimoProvozId);
/**
 * The room's stays that share a night with od..dO, with what names them:
 * cislo_objednavky, od_kdy, do_kdy, cislo_pokoje, jmeno.
 */
QString selectStaysOfRoom(int pokojId, const QDate &od, const QDate &dO);

/**
 * pokoj_id, od_kdy, do_kdy of the rooms' stays checked in and not yet
 * checked out that share a day with first..last, through prijezdy_tab's
 * key on (pokoj_id, odjezd): only the guests in the house are read.
 */
QString selectCheckedInStays(const QList<int> &pokojIds, const QDate &first, const QDate &last);
/** pokoj_id, od_kdy, do_kdy, duvod of the rooms' spans out of order that share a day with first..last. */
QString selectOutOfOrderOfRooms(const QList<int> &pokojIds, const QDate &first, const QDate &last);

} // namespace SqlStavPokoju
