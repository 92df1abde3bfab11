#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

struct RezervaceZWebu;

/** Stores the reservations fetched from the web site. */
namespace ImportRezervaci {

/**
 * Stores each reservation as a new client (client type 1) and a reservation
 * of the first free room of its type, with the web site's dates and price,
 * made on the given day. Each one is stored whole or not at all, under
 * "LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE"; one without
 * a free room stores nothing. Returns the answer for the web site:
 * "pocet_rezervaci=<n>" and "&rezervace[<id>]=1" (stored) or "=-1" (not)
 * for each in turn. One whose text its column refuses (too long) gets -1
 * and its message, naming the field, goes to odmitnute and to the log. Any
 * other database error leaves this operation; the reservations stored
 * before it stay stored.
 */
QString ulozRezervace(const RezervaceZWebu &rezervace, const QDate &dnes, QStringList *odmitnute = nullptr);

} // namespace ImportRezervaci
