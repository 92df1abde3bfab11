#pragma once

#include <QList>
#include <QString>

/** Statements on the price table. */
namespace SqlCenyPokoju {

QString selectPrices();
/** The stored prices of the room types. */
QString selectPricesOfRoomTypes(const QList<int> &typyPokoju);
/** The ids of the stored room types, day types and client types (column as in their tables). */
QString selectRoomTypeIds();
QString selectDayTypeIds();
QString selectClientTypeIds();
/** The save reads the types its prices refer to: none may be gone. */
QStringList lockPrices();
/** Every row of one price slot. */
QString deletePrice(int typPokojeId, int typKlientaId, int typDneId);
QString insertPrice(int typPokojeId, int typKlientaId, int typDneId, double cena);

} // namespace SqlCenyPokoju
