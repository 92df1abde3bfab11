#pragma once

#include "db/SqlHoste.h"

#include <QDate>
#include <QString>

class SqlFormat;

/**
 * Statements on the guest books: the entries of the stays checked in
 * (guests, arrivals) and the earlier particulars of corrected guests
 * (hoste_opravy_tab).
 */
namespace SqlKnihy {

/** pocet: the stays of the reservation number (of the client, unless klientId is below 0) checked in, ever. */
QString selectCheckedInOfReservation(int cisloObjednavky, int klientId = -1);
/** pocet: 1 when the stay is checked in (departed or not), 0 otherwise. */
QString selectCheckedInStay(const KlicPobytu &pobyt);
/** The guest's particulars as stored now kept as corrected now by this account. */
QString insertCorrection(int hostId);
/**
 * The foreign guests (nationality not CZE) of the stays that arrived from
 * od to doKdy (both included), by arrival, room and order: every column of
 * hoste_tab, prijezd (yyyy-MM-ddTHH:mm:ss), do_kdy, cislo_pokoje, and of
 * the latest correction opraveno (as prijezd, empty when none) and opravil.
 */
QString selectForeigners(const QDate &od, const QDate &doKdy);

} // namespace SqlKnihy
