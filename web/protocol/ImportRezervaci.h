#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

struct RezervaceZWebu;

/** Stores the reservations fetched from the web site. */
namespace ImportRezervaci {

/** What one pass stored and what the site is to be told. */
struct Vysledek
{
    /** "pocet_rezervaci=<n>" and "&rezervace[<id>]=1" (stored) or "=-1" (not) for each in turn. */
    QString odpoved;
    int ulozeno = 0;     // stored now
    int znovu = 0;       // stored by an earlier pass, answered "1" again
    int odmitnuto = 0;   // answered "-1"
    QStringList chyby;   // reservations the database refused, with its reason
};

/**
 * Stores each reservation as a new client (client type 1) and a reservation
 * of the first free room of its type, with the web site's dates and price,
 * made on the given day, and remembers its web identifier. One without a
 * free room stores nothing; one the database refuses stores nothing either
 * and the pass goes on. A web identifier stored before, for the same room
 * type and days, is answered "1" without a second row.
 *
 * The whole pass holds "LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab
 * WRITE, webove_rezervace_tab WRITE, pokoje_tab READ" and commits once; each
 * reservation is stored whole or not at all. A database error outside a
 * single reservation (the lock, the reads, a lost connection) throws
 * DatabaseError with nothing of the pass stored.
 */
Vysledek ulozRezervace(const RezervaceZWebu &rezervace, const QDate &dnes);

} // namespace ImportRezervaci
