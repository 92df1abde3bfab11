#pragma once

#include "web/protocol/Exporty.h"

class TMojeDatabaze;

/** Reads what the exports send, afresh each time; throws DatabaseError. */
namespace DataExportu {

QList<Exporty::TypPokoje> typyPokoju();
/**
 * From today for 365 days, client type 1: per room type with rooms and
 * priced calendar day, by type and then day, the reservations with a stay
 * in a room of the type covering the day (each reservation once), and the
 * rooms of the type out of order that day.
 */
QList<Exporty::CenaDne> cenyAObsazenost(TMojeDatabaze &databaze);
/** The same on this thread's current connection. */
QList<Exporty::CenaDne> cenyAObsazenost();

} // namespace DataExportu
