#pragma once

#include <QDate>
#include <QString>

/** Statements of the day's arrivals and departures. */
namespace SqlPrijezdy {

/**
 * The stays that begin on the day (odjezd 0) and those whose last night
 * was the day before (odjezd 1), one row per stay row: odjezd,
 * cislo_objednavky, od_kdy, do_kdy, cena, cislo_pokoje, jmeno, telefon,
 * typ_klienta, and pokoj_existuje / klient_existuje (0 where the room or
 * the client is gone). Each half reads one index on the stay's days.
 */
QString selectDay(const QDate &den);

} // namespace SqlPrijezdy
