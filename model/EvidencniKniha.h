#pragma once

// The stay-fee book (evidenční kniha): every guest of the stays checked in
// within a period with the fee due or the reason of the exemption, totals
// per month, and the month's summary for the town as CSV.

#include "model/Hoste.h"
#include "model/PoplatekZPobytu.h"

#include <QByteArray>
#include <QDate>
#include <QMap>
#include <QStringList>
#include <vector>

class TMojeQuery;

/** One line of the book. */
struct ZapisKnihy
{
    Host host;
    KlicPobytu pobyt;
    QDate posledniNoc;
    QString cislo_pokoje;
    QString osvobozeni;   // the hotel's reason the guest showed; empty when none
    PoplatekZPobytu::Poplatek poplatek;

    QDate prvniDen() const { return pobyt.od_kdy; }
    /** The day of departure: the morning after the last night. */
    QDate posledniDen() const { return posledniNoc.addDays(1); }
};

/** A month's totals for the town. */
struct SouhrnMesice
{
    QDate mesic;        // its first day
    int osob = 0;       // guests with a night in it
    int noci = 0;       // their nights in it
    int placene = 0;    // of them charged
    double castka = 0;
    QMap<QString, int> osvobozeni;   // guests with a free night in it, by reason

    bool operator==(const SouhrnMesice &) const = default;
};

namespace EvidencniKniha {

/** The book of the nights od to doKdy at sazba Kč per person and day, in date order. */
std::vector<ZapisKnihy> nacti(TMojeQuery &q, const QDate &od, const QDate &doKdy, double sazba);
std::vector<ZapisKnihy> nacti(const QDate &od, const QDate &doKdy, double sazba);

/** The line of a guest and stay, the fee worked out. */
ZapisKnihy zapis(const Host &h, const KlicPobytu &pobyt, const QDate &posledniNoc, const QString &osvobozeni,
                 double sazba);

/** Every month of od to doKdy, counting only the nights within them. */
std::vector<SouhrnMesice> souhrn(const std::vector<ZapisKnihy> &zapisy, const QDate &od, const QDate &doKdy,
                                 double sazba);

/** "leden 2026". */
QString nazevMesice(const QDate &mesic);
/** "Hlavní 1, 370 01 České Budějovice, Česko". */
QString adresa(const Host &h);
/** "občanský průkaz 123456789". */
QString doklad(const Host &h);
/** "450,00 Kč", or the exemption: "osvobozen: osoba mladší 18 let", both when partly free. */
QString poplatekText(const PoplatekZPobytu::Poplatek &p);

/**
 * The months' summaries as CSV for Czech spreadsheets (UTF-8 with its mark,
 * semicolons, decimal comma, CR LF): a line a month; the exempt guests in a
 * column per reason, the reasons of the whole file in alphabetical order.
 */
QByteArray csv(const std::vector<SouhrnMesice> &mesice, double sazba);

} // namespace EvidencniKniha
