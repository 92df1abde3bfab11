#pragma once

#include "web/protocol/Exporty.h"

/** Reads what the exports send, afresh each time; throws DatabaseError. */
namespace DataExportu {

QList<Exporty::TypPokoje> typyPokoju();
/** From today for 365 days, client type 1. */
QList<Exporty::CenaDne> cenyAObsazenost();

} // namespace DataExportu
