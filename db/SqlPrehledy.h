#pragma once

#include <QDate>
#include <QString>

/** Statements of the occupancy and revenue reports: plain reads, no locks. */
namespace SqlPrehledy {

/**
 * The rooms as they are now with their type: pokoj_id, typ_pokoje_id (-1
 * when the type is gone), nazev_typu_pokoje. Those of the group, or every
 * room for a negative id; a room linked twice is one row.
 */
QString selectRooms(int skupinaPokojuId);

/** The client types: typ_klienta_id, typ_klienta. */
QString selectClientTypes();

/**
 * Every stay that shares a night with the period, whatever its room:
 * pokoj_id, prvni_noc and posledni_noc (days after the period's first
 * day, negative before it), cena, typ_klienta_id (-1 when the client
 * is gone; -1 for all without typKlienta, which spares the clients' read).
 */
QString selectStays(const QDate &first, const QDate &last, bool typKlienta);

} // namespace SqlPrehledy
