#pragma once

// The report of foreign guests to the foreigners' police: the file the
// police's Ubyport service takes, what a guest lacks for it, and the
// deadline of three working days after the arrival.

#include "model/Hoste.h"
#include "model/UdajeOHotelu.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

/** A foreign guest of a stay checked in, as the report lists them. */
struct HlaseniHosta
{
    Host host;
    KlicPobytu pobyt;
    QString cislo_pokoje;
    QDate prvniDen;      // the day of arrival
    QDate posledniDen;   // the day of departure (the stay's last night + 1)
    QDateTime nahlaseno; // invalid until reported
    QString nahlasil;
    QString nahlasenyOtisk; // otisk() of the particulars reported

    /** Reported before, but the particulars changed since. */
    bool opraven() const;
};

namespace Ubyport {

/** The file's contents, or why there is none (every fault, one a line, naming guest and field). */
struct Soubor
{
    QByteArray data;
    QStringList chyby;
    bool ok() const { return chyby.isEmpty(); }
};

/**
 * The Czech names of the fields the report needs and the guest lacks
 * (name, surname, date of birth before dnes, nationality as three letters,
 * the place of residence, the travel document's number, a known purpose
 * code, the days of the stay); empty when nothing.
 */
QStringList coChybi(const HlaseniHosta &h, const QDate &dnes = QDate::currentDate());

/** The Czech names of the facility's fields the file's first line needs and the particulars lack. */
QStringList coChybiHotelu(const UdajeOHotelu &hotel);

/**
 * The file for the facility and the guests: Windows-1250, CR LF after every
 * line, the facility's line and then a line per guest, made at vytvoreno.
 * Refused (chyby) when a field is missing, holds a separator or a line
 * break, or a character Windows-1250 cannot write.
 */
Soubor soubor(const UdajeOHotelu &hotel, const std::vector<HlaseniHosta> &hoste, const QDateTime &vytvoreno,
              const QDate &dnes = QDate::currentDate());

/** What identifies the reported particulars: a change of any of them makes the guest reported again. */
QString otisk(const HlaseniHosta &h);

/** Easter Sunday of the year (Gregorian). */
QDate velikonocniNedele(int rok);
/** A Czech public holiday (the days off of Act 245/2000 Coll.). */
bool jeSvatek(const QDate &den);
/** Neither a weekend day nor a public holiday. */
bool jePracovniDen(const QDate &den);
/** The last day to report a guest who arrived on prijezd: the third working day after it. */
QDate termin(const QDate &prijezd);
/** The report of a guest who arrived on prijezd is late on dnes. */
bool poTerminu(const QDate &prijezd, const QDate &dnes);

} // namespace Ubyport
