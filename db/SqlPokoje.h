#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on rooms, room groups and their occupancy. */
namespace SqlPokoje {

QString selectRooms();
/** The rooms save also reads the reservations, to keep new rooms off their room ids. */
QString lockRooms();
/** Every room id that a stored reservation names. */
QString selectReservedRoomIds();
/** How many stored reservations of the rooms last until the day or later. */
QString countReservationsUntil(const QList<int> &pokojIds, const QDate &day);
QString deleteRooms();
QString insertRoom(const SqlFormat &f, int pokojId, const QString &cisloPokoje, int typPokojeId);
/**
 * Link rows whose room is gone from pokoje_tab or was removed (its id may
 * now belong to a new room, which must join no old group).
 */
QString deleteStaleLinks(const QList<int> &removedIds);

QString selectGroups();
QString selectMembers(int skupinaPokojuId);
QString lockGroups();
QString deleteGroups();
QString insertGroup(const SqlFormat &f, int skupinaPokojuId, const QString &nazev);
QString deleteAllLinks();
QString deleteLinksOfGroup(int skupinaPokojuId);
QString insertLink(int skupinaPokojuId, int pokojId);

/** Is the room reserved on the day: one statement per room and day. */
QString selectRoomOnDay(int pokojId, const QDate &day);
/** Every stay of the rooms that shares a day with the span. */
QString selectStaysInSpan(const QList<int> &pokojIds, const QDate &first, const QDate &last);

} // namespace SqlPokoje
