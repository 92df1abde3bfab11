#pragma once

// Arrivals and departures of the guests: a stay checked in (its guests
// recorded, the time of arrival), checked out (the time of departure, a
// stay shortened when the guests leave early, the room dirty), and either
// undone. Every change is one save of the reservation's and the room's
// rows, refused when another desk changed the stay since it was loaded.

#include "model/Hoste.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

/** A stay as the arrival and departure windows show it. */
struct PobytHosta
{
    KlicPobytu klic;
    QDate do_kdy;   // the last night
    double cena = 0;
    int klient_id = 0;
    QString cislo_pokoje;
    QString klient;
    QDateTime prijezd;   // invalid until checked in
    QDateTime odjezd;    // invalid until checked out

    bool ubytovan() const { return prijezd.isValid() && !odjezd.isValid(); }
    /** "č. 12, pokoj 101, 7. 12. 2026 – 9. 12. 2026, Novák Jan". */
    QString popis() const;
};

namespace Ubytovani {

/** The stays to check in on den: those beginning that day first, then the others not yet checked in. */
std::vector<PobytHosta> kPrijezdu(const QDate &den);
/** The stays checked in, then those checked out since the day before den (to be undone). */
std::vector<PobytHosta> ubytovane(const QDate &den);

/** The room is dirty (housekeeping has not cleaned it). */
bool jeNeuklizeny(int pokojId);
/** Why the room is out of order on the day; empty when it is not. */
QString mimoProvoz(int pokojId, const QDate &den);

/** The price by the price rule of the stay's room from od to do (nights both included); nullopt when a night has none. */
std::optional<double> cena(const PobytHosta &pobyt, const QDate &od, const QDate &doKdy);

enum class Vysledek { Hotovo, PokojObsazen };

/**
 * Checks the stay's guests in at the time kdy. An arrival before the
 * stay's first day moves the first day to kdy's day, priced novaCena, only
 * when the room is free those nights (PokojObsazen otherwise, nothing
 * stored); the guests' key moves along. Throws Konflikt when another desk
 * checked the stay in, changed or removed it, or changed its guests since
 * they were loaded (nacteni).
 */
Vysledek prijezd(const PobytHosta &pobyt, const std::vector<Host> &nacteni, const std::vector<Host> &hoste,
                 const QDateTime &kdy, double novaCena = 0);
/** Undoes a check-in: the arrival row goes, the guests stay recorded. */
void zrusPrijezd(const PobytHosta &pobyt);

/** The last night a departure on den leaves: the day before, but at least the first night. */
QDate posledniNoc(const PobytHosta &pobyt, const QDate &den);
/** A departure on den leaves booked nights unused: the stay would be shortened. */
bool zkracuje(const PobytHosta &pobyt, const QDate &den);
/**
 * Checks the stay out at kdy, the room dirty. With novaCena, a stay that
 * zkracuje() ends with posledniNoc() at that price (its other nights are
 * free again); without, it stays booked as it was.
 */
void odjezd(const PobytHosta &pobyt, const QDateTime &kdy, std::optional<double> novaCena);
/** Undoes a check-out: checked in again; a shortened stay stays short. */
void zrusOdjezd(const PobytHosta &pobyt);

} // namespace Ubytovani
