#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on reservations: collisions, numbering, free rooms. */
namespace SqlObjednavky {

/**
 * The lock set of a reservation's store, also taken to delete a client: the
 * client and the room must still exist when its stay is stored. WRITE on
 * both, as the web import takes them: a READ lock on either beside those
 * WRITE sets deadlocks in the server's metadata locks. The rooms are only
 * read, as the web import reads them.
 */
QString lockReservations();
/** COUNT(*) AS pocet of the room's stays that share a day with the span. */
QString selectCollisions(int pokojId, const QDate &odKdy, const QDate &doKdy);
/** MAX + 1 AS nove_cislo; NULL on an empty table. */
QString selectNewNumber();
QString insertReservation(int klientId, int cisloObjednavky, const QDate &datumObjednavky,
                          const QDate &odKdy, const QDate &doKdy, int pokojId, double cena);
QString deleteReservation(int cisloObjednavky);
/** The rows of the number that belong to the client. */
QString deleteReservation(int cisloObjednavky, int klientId);
QString selectOfClient(int klientId);
/** The client's name (jmeno) and the room's number (cislo_pokoje), for the history; NULL where gone. */
QString selectNames(int klientId, int pokojId);
/**
 * The rows of a number (those of one client with klientId >= 0) with the
 * room's number and the client's name: od_kdy, do_kdy, cislo_pokoje,
 * jmeno, klient_id. Runs in the reservations' lock set.
 */
QString selectWithNames(int cisloObjednavky, int klientId = -1);
/** COUNT(*) AS pocet of the rooms of that id (and number). */
QString countRoom(int pokojId);
QString countRoom(int pokojId, const QString &cisloPokoje, const SqlFormat &f);
/** COUNT(*) AS pocet of the client's reservation rows. */
QString countOfClient(int klientId);

/**
 * pokoj_id of the rooms of the type that no stay shares a day with, by the
 * condition of selectCollisions, lowest id first.
 */
QString selectFreeRooms(int typPokojeId, const QDate &odKdy, const QDate &doKdy);
/** The first row of selectFreeRooms only. */
QString selectFreeRoom(int typPokojeId, const QDate &odKdy, const QDate &doKdy);

/** pokoj_id and typ_pokoje_id of the rooms of the types, lowest id first. */
QString selectRoomsOfTypes(const QList<int> &typyPokoju);
/**
 * pokoj_id, od_kdy, do_kdy of every stay of the rooms that can share a day,
 * by the condition of selectCollisions, with any span inside odKdy..doKdy:
 * selectFreeRooms's two halves over the whole window, under its aliases
 * (konci, zacina), each stay once.
 */
QString selectStaysNear(const QList<int> &pokoje, const QDate &odKdy, const QDate &doKdy);

} // namespace SqlObjednavky
