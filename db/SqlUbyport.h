#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on the foreign guests reported to the police (ubyport_tab). */
namespace SqlUbyport {

/**
 * The foreign guests (nationality not CZE, an unknown one included) of the
 * stays checked in, and of those checked out that arrived on prijezdOd or
 * later, by arrival, room and order: every column of hoste_tab, prijezd
 * (yyyy-MM-dd), do_kdy, cislo_pokoje, nahlaseno ("yyyy-MM-ddTHH:mm:ss",
 * empty when never reported), nahlasil and otisk.
 */
QString selectGuests(const QDate &prijezdOd);
/** The same columns for the guests of the ids, whatever their stays' state. */
QString selectGuestsByIds(const QList<int> &hostIds);
/** Notes the guest reported now by this account, with the fingerprint of the particulars reported. */
QString markReported(const SqlFormat &f, int hostId, const QString &otisk);

} // namespace SqlUbyport
