#pragma once

#include <QDate>
#include <QString>

/** Statements of booking at the desk: a stay night by night, a room's stays. */
namespace SqlRezervace {

/**
 * Every calendar row of the span with its day type and the price of that
 * type for the room's type and the client's type (ma_cenu 0 where there is
 * none): by day, priced types first, then by poradi.
 */
QString selectStayNights(int klientId, int pokojId, const QDate &odKdy, const QDate &doKdy);

/** The room's stays sharing a day with the span, with their clients' names, the earliest first. */
QString selectStaysOfRoom(int pokojId, const QDate &odKdy, const QDate &doKdy);

} // namespace SqlRezervace
