#pragma once

#include <QDate>
#include <QString>
#include <vector>

/** One stay row of a reservation as the day's lists show it. */
struct PobytDne
{
    int cislo_objednavky = 0;
    QDate od_kdy;
    QDate do_kdy;          // the last night
    double cena = 0;
    QString cislo_pokoje;
    QString jmeno;
    QString telefon;
    QString typ_klienta;
    bool pokoj_existuje = true;
    bool klient_existuje = true;

    /** Nights from od_kdy to do_kdy, both included. */
    int noci() const { return int(od_kdy.daysTo(do_kdy)) + 1; }
};

/**
 * Who arrives on a day and who leaves it: the stays that begin that day
 * and those whose last night was the day before.
 */
struct PrijezdyAOdjezdy
{
    QDate den;
    std::vector<PobytDne> prijezdy;
    std::vector<PobytDne> odjezdy;

    /** Reads the day's lists in one statement on the current connection. */
    static PrijezdyAOdjezdy Nacti(const QDate &den);
};
