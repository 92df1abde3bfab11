#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on rooms, room groups and their occupancy. */
namespace SqlPokoje {

QString selectRooms();
/** The rooms of that number, or of a number the server's collation takes for it (the caller compares exactly). */
QString selectRoomsNumbered(const SqlFormat &f, const QString &cisloPokoje);
/**
 * The rooms save also reads the reservations and the group links, to keep
 * new rooms off their room ids, and the room types, which its rooms must have.
 */
QStringList lockRooms();
QString selectRoomTypeIds();
/** Every room id that a stored reservation names. */
QString selectReservedRoomIds();
/** How many stored reservations of the rooms last until the day or later. */
QString countReservationsUntil(const QList<int> &pokojIds, const QDate &day);
QString deleteRooms();
QString deleteRoom(int pokojId);
QString insertRoom(const SqlFormat &f, int pokojId, const QString &cisloPokoje, int typPokojeId);
QString updateRoom(const SqlFormat &f, int pokojId, const QString &cisloPokoje, int typPokojeId);
/** The group links of the rooms. */
QString deleteLinksOfRooms(const QList<int> &pokojIds);

QString selectGroups();
/** The groups of that name, or of a name the server's collation takes for it (the caller compares exactly). */
QString selectGroupsNamed(const SqlFormat &f, const QString &nazev);
QString selectMembers(int skupinaPokojuId);
/** The groups save reads the rooms, to link only rooms that still exist. */
QStringList lockGroups();
QString deleteGroup(int skupinaPokojuId);
QString insertGroup(const SqlFormat &f, int skupinaPokojuId, const QString &nazev);
QString updateGroup(const SqlFormat &f, int skupinaPokojuId, const QString &nazev);
QString selectLinks();
QString deleteAllLinks();
QString deleteLinksOfGroup(int skupinaPokojuId);
QString deleteLink(int skupinaPokojuId, int pokojId);
QString insertLink(int skupinaPokojuId, int pokojId);

/** Every stay of the rooms that shares a day with the span. */
QString selectStaysInSpan(const QList<int> &pokojIds, const QDate &first, const QDate &last);

} // namespace SqlPokoje
