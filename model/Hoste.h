#pragma once

// The people staying in a room of a reservation: their particulars as the
// guest books need them, checked as typed, loaded and saved with the stay.

#include "db/SqlHoste.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

class TMojeQuery;

/** One guest of a stay; host_id below -1 until stored (provisional, as Zmeny.h says). */
struct Host : UdajeHosta
{
    int host_id = 0;

    bool operator==(const Host &) const = default;

    /** Not a Czech citizen: the foreigners' book and the police report take them. */
    bool jeCizinec() const;
    /** "Jan Novák"; "?" when both names are empty. */
    QString celeJmeno() const;
    /** The address fields copied from another guest (a family). */
    void kopirujAdresu(const Host &od);
};

namespace Hoste {

/** The police's purpose-of-stay codes with their Czech names, in code order. */
const QList<QPair<QString, QString>> &ucely();
/** The kinds of identity document the desk records. */
QStringList druhyDokladu();

/**
 * What the guest books lack in the guest's particulars, as Czech field
 * names ("datum narození", "PSČ (pět číslic)"); empty when nothing. A
 * Czech citizen needs what the stay-fee book lists (name, date of birth,
 * address, kind and number of the document); a foreigner what the
 * foreigners' book lists (nationality, address abroad with its country,
 * the travel document's number), the Czech postcode's form aside. Dates
 * must lie before dnes.
 */
QStringList coChybi(const Host &h, const QDate &dnes = QDate::currentDate());
/** The refusal naming every guest that lacks something and what; empty when none. */
QString chybejiciUdaje(const std::vector<Host> &hoste, const QDate &dnes = QDate::currentDate());

/** Under 18 on the stay's first day: exempt from the stay fee, whatever the reasons set up. */
bool jeMladsi18(const Host &h, const QDate &prvniDen);

/** The guest of the query's current row (every column of hoste_tab). */
Host zRadku(const TMojeQuery &q);

/** The guests of a stay in their order. */
std::vector<Host> nacti(TMojeQuery &q, const KlicPobytu &pobyt);
std::vector<Host> nacti(const KlicPobytu &pobyt);

/**
 * Inside a save that locked the stay's reservation number: checks that the
 * guests the desk changes or removes are stored as it loaded them
 * (Konflikt otherwise), then writes the changes under the stay's key noveOd
 * (the stay's first day after the save), the guests in the order given; new
 * guests take ids of the guest series. Returns the ids of the guests in
 * that order. When the stay is checked in, a changed guest's earlier
 * particulars are kept (hoste_opravy_tab) and removing a guest is refused.
 */
QList<int> uloz(TMojeQuery &q, const KlicPobytu &pobyt, const QDate &noveOd, const std::vector<Host> &nacteni,
                const std::vector<Host> &hoste);

/** The exemption reasons the hotel set up: id and name, by name. */
QList<QPair<int, QString>> osvobozeni();

/**
 * Guests stored earlier whose surname begins with the text (case and
 * diacritics as the server's collation compares them), each person once
 * with their latest particulars (host_id as stored), newest stay first; at
 * most limit of them.
 */
std::vector<Host> najdiVracejiciSe(const QString &prijmeni, int limit = 30);

} // namespace Hoste
