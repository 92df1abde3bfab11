#pragma once

#include "db/SqlHoste.h"

#include <QDate>
#include <QDateTime>
#include <QString>

/**
 * Statements of arrivals and departures (prijezdy_tab), the stays they
 * move or shorten, and the room states a check-in looks at.
 */
namespace SqlUbytovani {

/**
 * The stays not checked in that last until den or later and begin by
 * doDne, those beginning on den first, then by first day and room:
 * cislo_objednavky, pokoj_id, od_kdy, do_kdy, cena, klient_id,
 * cislo_pokoje, jmeno, prijezd, odjezd (both empty).
 */
QString selectToCheckIn(const QDate &den, const QDate &doDne);
/**
 * The stays checked in, and those checked out since odjezdOd, the ones
 * still in the house first, each by its last night: columns as above,
 * prijezd and odjezd as "yyyy-MM-ddTHH:mm:ss" (odjezd empty while in).
 */
QString selectCheckedIn(const QDate &odjezdOd);
/** The stay of the key with the columns above; no row when it is gone. */
QString selectStay(const KlicPobytu &pobyt);

QString insertArrival(const KlicPobytu &pobyt, const QDateTime &prijezd);
QString deleteArrival(const KlicPobytu &pobyt);
/** Sets the departure; an invalid time sets it back to NULL (checked in again). */
QString updateDeparture(const KlicPobytu &pobyt, const QDateTime &odjezd);
/** The stay's first day and price; only before its check-in (the arrival row keeps the key). */
QString moveStart(const KlicPobytu &pobyt, const QDate &noveOd, double cena);
/** The stay's last night and price. */
QString shorten(const KlicPobytu &pobyt, const QDate &noveDo, double cena);

/** The room's housekeeping state: stav (no row: clean). */
QString selectRoomState(int pokojId);
/** The room becomes dirty (1). */
QString markDirty(int pokojId);
/** duvod, od_kdy, do_kdy of the room's out-of-order spans covering the day. */
QString selectOutOfOrder(int pokojId, const QDate &den);

} // namespace SqlUbytovani
