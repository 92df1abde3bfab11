#pragma once

#include <QString>

/** Statements of the exports to the web site. */
namespace SqlWeb {

/** Room types that have rooms, with pocet_pokoju, one row per type. */
QString selectTypyPokoju();
/**
 * One row per room type and priced calendar day from today for 365 days:
 * the price of client type 1 and rezervovano, the reservations covering the
 * day in any room of the type.
 */
QString selectCenyAObsazenost();

/** The lock set under which a web reservation's client and reservation are stored. */
QString lockImport();

} // namespace SqlWeb
