#pragma once

#include <QDate>
#include <QString>

/** Statements of the stay-fee book. */
namespace SqlEvidencniKniha {

/**
 * Every guest of the stays checked in that have a night from od to doKdy
 * (both included), Czech or foreign: every column of hoste_tab, do_kdy (the
 * last night), cislo_pokoje and osvobozeni_nazev (the hotel's exemption
 * reason, empty when none); by first night, room and order.
 */
QString selectGuests(const QDate &od, const QDate &doKdy);

} // namespace SqlEvidencniKniha
