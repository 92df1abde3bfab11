#pragma once

#include <QString>

/**
 * The tables the desk exports to the web site, as form fields that follow
 * the common start of a body. Each reads the database afresh.
 */
namespace Exporty {

/** "&pocet_typu=" and, per room type with rooms, its id, name, beds and rooms. */
QString poleTypuPokoju();

/** "&pocet_zaznamu=" and, per type and priced day of the coming year, its price and reservations. */
QString poleCenAObsazenosti();

} // namespace Exporty
