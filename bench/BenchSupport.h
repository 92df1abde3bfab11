#pragma once

// What the benchmark's parts share: timing, waiting on the event loop, the
// process's memory and the printed tables.

#include "WebSimulator.h"

#include <QString>
#include <QTextStream>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace bench {

extern QTextStream out;

/**
 * Nanoseconds of the clock the companion site stamps its receipts with, on
 * its own thread: one monotonic clock for the whole process, so the two compare.
 */
inline qint64 nowNs()
{
    return WebSimulator::hodiny();
}

constexpr double none = std::numeric_limits<double>::quiet_NaN();

double median(std::vector<double> values);
/** The value below which the share q (0..1) of the values lie, nearest rank. */
double percentile(std::vector<double> values, double q);

/** Milliseconds of one run of the work. */
double timeMs(const std::function<void()> &work);

/**
 * Runs the event loop until done() holds or timeoutMs passed, looking every
 * millisecond. Returns whether done() holds; the longest gap between two
 * looks (the window's longest stall meanwhile) goes into *stallMs.
 */
bool waitFor(const std::function<bool()> &done, int timeoutMs, double *stallMs = nullptr);

/** The process's resident memory in MB (VmRSS). */
double residentMb();

/** Sizes of the stored past the hotel copies have; a figure is measured on some of them. */
constexpr int copies = 3;
extern const std::array<const char *, copies> copyNames;

/** One line of the goals table. */
struct Figure
{
    QString name;
    QString goal;                         // as printed, "-" for none
    double goalValue = none;              // the measured value must stay below (or at, with goalInclusive)
    bool goalInclusive = false;
    bool atLeast = false;                 // the goal is a least value (guests answered)
    std::array<double, copies> at{none, none, none};
    std::array<double, copies> floor{none, none, none};
    int decimals = 2;
    bool ratioGoal = true;                // between the smallest and the largest past within 1.5x
};

void printGoalsHeader(const QString &title);
/** Prints the figure: its worst copy as measured, beside the floor of that copy; ok or MISSED. */
void printFigure(const Figure &f);
/** A figure of the desk on one server and on a node of the cluster; the goal: the cluster within 2x of one server. */
struct ClusterFigure
{
    QString name;
    double oneServer = none;
    double cluster = none;
    int decimals = 2;
    bool judged = true;   // false: told beside the other, no goal
};

void printClusterHeader(const QString &title);
void printClusterFigure(const ClusterFigure &f);
/** A line of plain text under the table. */
void note(const QString &text);

} // namespace bench
