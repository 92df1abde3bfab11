#pragma once

#include <QDate>
#include <QString>

class SqlFormat;

/** Statements on reservations: collisions, numbering, stay prices, free rooms. */
namespace SqlObjednavky {

QString lockReservations();
/** COUNT(*) AS pocet of the room's stays that share a day with the span. */
QString selectCollisions(int pokojId, const QDate &odKdy, const QDate &doKdy);
/** MAX + 1 AS nove_cislo; NULL on an empty table. */
QString selectNewNumber();
QString insertReservation(int klientId, int cisloObjednavky, const QDate &datumObjednavky,
                          const QDate &odKdy, const QDate &doKdy, int pokojId, double cena);
QString deleteReservation(int cisloObjednavky);
QString selectOfClient(int klientId);

/** The prices of one day, the lowest poradi first. */
QString selectDayPrice(int klientId, int pokojId, const QDate &day);
/** datum and cena of every priced day of the span, by day, then by poradi within a day. */
QString selectStayPrices(int klientId, int pokojId, const QDate &odKdy, const QDate &doKdy);

/** Rooms of the type with no stay sharing a day with the span, lowest id first. */
QString selectFreeRooms(int typPokojeId, const QDate &odKdy, const QDate &doKdy);

} // namespace SqlObjednavky
