#pragma once

// The stay fee (poplatek z pobytu) of one guest of a stay: the days it is
// charged for, split by month for the town's summary, and what is due.

#include <QDate>
#include <QMap>
#include <QString>

namespace PoplatekZPobytu {

/** The exemption every town must grant, whatever the hotel set up. */
QString duvodMladsi18();
/** A stay this long is not subject to the fee at all. */
QString duvodDlouhyPobyt();
/** The longest stay subject to the fee, in calendar days (arrival and departure included). */
constexpr int nejdelsiPobyt = 60;

/** A month's share of a guest's stay: its nights and those of them charged. */
struct Mesic
{
    int noci = 0;
    int placene = 0;

    bool operator==(const Mesic &) const = default;
};

/** What one guest of a stay owes. */
struct Poplatek
{
    int noci = 0;      // the stay's started days but the arrival day: its nights
    int placene = 0;   // of them charged
    double castka = 0;
    QString duvod;     // why some nights are free; empty when all are charged
    QMap<QDate, Mesic> mesice;   // by the first day of the night's month

    int osvobozene() const { return noci - placene; }
    bool operator==(const Poplatek &) const = default;
};

/** Under 18 on the day; an unknown date of birth counts as adult (the fee is due unless shown otherwise). */
bool mladsi18(const QDate &narozeni, const QDate &den);

/** The night (of a stay od to posledniNoc) is charged: the rules of spocitej for one night. */
bool placena(const QDate &noc, const QDate &od, const QDate &posledniNoc, const QDate &narozeni,
             const QString &duvodHotelu);

/**
 * The fee of a guest born narozeni staying the nights od to posledniNoc
 * (both included) at sazba Kč per person and day. Each night stands for the
 * started day that follows it (the arrival day is never charged); the day
 * is free when the guest is under 18 on it, so a guest turning 18 during
 * the stay pays from their birthday on. duvodHotelu, a reason the hotel set
 * up and the guest showed, frees every day. A stay longer than
 * nejdelsiPobyt calendar days is not subject to the fee.
 */
Poplatek spocitej(const QDate &od, const QDate &posledniNoc, const QDate &narozeni, const QString &duvodHotelu,
                  double sazba);

} // namespace PoplatekZPobytu
