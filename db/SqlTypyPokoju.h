#pragma once

#include <QList>
#include <QString>

class SqlFormat;

/** Statements on room types. */
namespace SqlTypyPokoju {

QString selectRoomTypes();
/** The stored rooms of the type (whether the type is still in use). */
QString selectRoomsOfType(int typPokojeId);
/** The save also reads the stored rooms: a removed type must have none. */
QStringList lockRoomTypes();
/**
 * Every room type id that a stored type, price or room uses, column
 * typ_pokoje_id: a new type takes none of them, so it never inherits
 * left-over prices or rooms.
 */
QString selectUsedRoomTypeIds();
QString deleteRoomTypes(const QList<int> &ids);
/** The prices of the room types, all client and day types. */
QString deletePricesOfRoomTypes(const QList<int> &ids);
QString insertRoomType(const SqlFormat &f, int typPokojeId, const QString &nazev, int pocetLuzek);

} // namespace SqlTypyPokoju
