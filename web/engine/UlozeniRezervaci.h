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
    /**
     * "pocet_rezervaci=<n>" and, for each reservation decided, in turn,
     * "&rezervace[<id>]=1" (stored, now or before) or "=-1" (never will be).
     * One left undecided by a database failure is not named: the site
     * offers it again.
     */
    QString odpoved;
    int ulozeno = 0;          // stored now
    int znovu = 0;            // stored before (an earlier pass, or earlier in this reply), answered "1" again
    int odmitnuto = 0;        // answered "-1"
    int nezodpovezeno = 0;    // left for the site to offer again
    QStringList chyby;        // reservations refused for their own values, with the reason
    QStringList varovani;     // identifiers offered again with other values
    QString preruseno;        // why a database failure ended the pass, in a few words; empty when it ran to its end

    /** Whether the site has anything to be told. */
    bool maOdpoved() const { return ulozeno + znovu + odmitnuto > 0; }
};

/**
 * Stores each reservation as a new client (client type 1) and a reservation
 * of the first free room of its type (the room Objednavka::NajdiVolnyPokoj,
 * the desk's own rule, would choose), with the web site's dates and price, made on the given
 * day, and remembers its web identifier.
 *
 * A web identifier is stored at most once: one remembered already, or met
 * earlier in the same reply, is answered as before ("1" once stored) and
 * stores nothing, with a warning when the values differ. One whose values
 * are unusable (its chyba), one without a free room, and one whose value
 * the database refuses for its own column (strict mode) are answered "-1"
 * and the pass goes on.
 *
 * Each group of reservations is a save of its own (TMojeDatabaze::save),
 * locking the remembered identifiers' row and the rooms it may book before
 * it reads them. Any other database failure (the lock, a full
 * disk, a lost connection, a server error) ends the pass: what was committed
 * before it is answered, the rest is not (preruseno says why). Never throws
 * DatabaseError.
 */
Vysledek ulozRezervace(const RezervaceZWebu &rezervace, const QDate &dnes);

} // namespace ImportRezervaci
