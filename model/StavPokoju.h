#pragma once

// The rooms as housekeeping sees them: clean, dirty or inspected, and the
// spans of days a room is out of order (not to be sold).

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

class TMojeQuery;

/** Housekeeping status as stav_pokoju_tab stores it; a room without a row is clean. */
enum class Uklid { Cisty = 0, Spinavy = 1, Zkontrolovany = 2 };

/** "Čistý", "Špinavý", "Zkontrolovaný". */
QString nazevUklidu(Uklid stav);
/** A value read from the table; anything unknown reads as dirty, so it gets looked at. */
Uklid uklidZCisla(int stav);

/** One room as the room status window lists it for a day. */
struct StavPokoje
{
    int pokoj_id = -1;
    QString cislo_pokoje;
    QString typ_pokoje;
    Uklid stav = Uklid::Cisty;
    bool mimo_provoz = false;
    QString duvod;          // of the span out of order covering the day
    bool odjezd = false;    // a stay's last night was the night before
    bool zustava = false;   // guests stay the coming night too
    bool prijezd = false;   // a stay begins on the day
};

namespace StavyPokoju {

/** Every room for the day, by number, in one statement. */
std::vector<StavPokoje> nacti(TMojeQuery &q, const QDate &den);
/** Each room's status where it is not clean (one statement), for the grid. */
QHash<int, Uklid> nactiUklid(TMojeQuery &q);

/**
 * Sets the room's status in a save of its own, with the history. Refused
 * (Konflikt) when the stored status is no longer jakNacteny: another desk
 * changed it since this one read it, and its change must not be lost;
 * so too when novy is what this desk read (nothing is written then).
 */
void zmen(int pokojId, const QString &cisloPokoje, Uklid jakNacteny, Uklid novy);

} // namespace StavyPokoju

/** One span of days (both included) a room is out of order. */
struct MimoProvoz
{
    int mimo_provoz_id = -1;
    int pokoj_id = -1;
    QDate od_kdy;
    QDate do_kdy;
    QString duvod;

    bool operator==(const MimoProvoz &) const = default;
};

namespace MimoProvozPokoju {

/** The spans that share a day with od..dO, by room and first day. */
std::vector<MimoProvoz> nacti(TMojeQuery &q, const QDate &od, const QDate &dO);
/** The room's spans, by first day. */
std::vector<MimoProvoz> nactiPokoje(TMojeQuery &q, int pokojId);

/**
 * Takes the room out of order for the span, with the history, under the
 * room's lock (so that a booking of it at another desk waits or runs
 * again). Refused when the span has no day or a stored stay of the room
 * shares a night with it: then nothing is stored and the stays come back
 * named ("č. 12: pokoj 101, 7. 12. 2026 – 9. 12. 2026, klient Novák").
 * Returns the span's id, or -1 when refused.
 */
int pridej(const MimoProvoz &m, const QString &cisloPokoje, QStringList *rezervace);
/** Puts the room back in order for the span; refused (Konflikt) when the span is no longer as loaded. */
void odstran(const MimoProvoz &jakNacteny, const QString &cisloPokoje);

} // namespace MimoProvozPokoju
