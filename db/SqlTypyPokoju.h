#pragma once

#include <QList>
#include <QString>

class SqlFormat;

/** Statements on room types. */
namespace SqlTypyPokoju {

QString selectRoomTypes();
/** The stored rooms of the type (whether the type is still in use). */
QString selectRoomsOfType(int typPokojeId);
/** The save also reads the stored rooms, to keep a removed type that a room took meanwhile. */
QString lockRoomTypes();
/** Every room type id that has a stored price. */
QString selectPricedRoomTypeIds();
QString deleteRoomTypes();
QString insertRoomType(const SqlFormat &f, int typPokojeId, const QString &nazev, int pocetLuzek);
/** The prices of every room type but the ones kept; all prices when none is kept. */
QString deletePricesOfOtherRoomTypes(const QList<int> &keptIds);

} // namespace SqlTypyPokoju
