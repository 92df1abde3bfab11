#pragma once

// The foreigners' book (domovní kniha): every guest who is not a Czech
// citizen, of the stays checked in within a period, in the order of their
// arrival, with what the book must say of them.

#include "model/Hoste.h"
#include "model/UdajeOHotelu.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

class TMojeQuery;

/** One guest's entry. */
struct ZapisDomovniKnihy
{
    Host host;
    QString cislo_pokoje;
    QDateTime prijezd;
    QDate prvniDen;      // the stay's first day
    QDate posledniDen;   // the day of departure: the last night + 1
    QDateTime opraveno;  // the latest correction after check-in; invalid when none
    QString opravil;
    QStringList chybi;   // what the book lacks, as Czech field names

    /** Nights of the stay as booked: its expected length. */
    int delka() const { return int(prvniDen.daysTo(posledniDen)); }
};

namespace DomovniKniha {

/** The Czech name of the purpose code ("turistika"); the code itself when unknown. */
QString ucel(const QString &kod);

/**
 * The entries of the stays that arrived from od to doKdy: those that lack
 * a field first, then the complete ones, each part in the order of arrival.
 * Dates of birth must lie before dnes.
 */
std::vector<ZapisDomovniKnihy> nacti(TMojeQuery &q, const QDate &od, const QDate &doKdy,
                                     const QDate &dnes = QDate::currentDate());

/** The place of stay: the facility's name and address, as the book heads it. */
QString mistoPobytu(const UdajeOHotelu &hotel);

/** The column headers of the book, as the window and the print show them. */
QStringList sloupce();
/** The entry's cells, in the order of sloupce(). */
QStringList bunky(const ZapisDomovniKnihy &z);

/** The book for printing: a title with the period and place, one table, incomplete entries in red. */
QString html(const UdajeOHotelu &hotel, const std::vector<ZapisDomovniKnihy> &zapisy, const QDate &od,
             const QDate &doKdy);

} // namespace DomovniKniha
