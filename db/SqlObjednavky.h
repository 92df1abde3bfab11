#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on reservations: collisions, numbering, free rooms. */
namespace SqlObjednavky {

/**
 * What storing a stay locks: its client and its room, which must still
 * exist when the stay is stored (deleting the client and removing the room
 * lock the same rows), and the room's stays, which it must not share a
 * night with (every save of a stay of the room locks the room's row).
 */
QStringList lockBooking(int klientId, int pokojId);
/** COUNT(*) AS pocet of the room's stays and spans out of order that share a day with the span. */
QString selectCollisions(int pokojId, const QDate &odKdy, const QDate &doKdy);
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
 * jmeno, klient_id. Runs in the caller's save.
 */
QString selectWithNames(int cisloObjednavky, int klientId = -1);
/** COUNT(*) AS pocet of the rooms of that id (and number). */
QString countRoom(int pokojId);
QString countRoom(int pokojId, const QString &cisloPokoje, const SqlFormat &f);
/** COUNT(*) AS pocet of the client's reservation rows. */
QString countOfClient(int klientId);

/**
 * pokoj_id of the rooms of the type that no stay and no span out of order
 * shares a day with, by the condition of selectCollisions, lowest id first.
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

/** pokoj_id, od_kdy, do_kdy of the rooms' spans out of order that share a day with odKdy..doKdy. */
QString selectOutOfOrderNear(const QList<int> &pokoje, const QDate &odKdy, const QDate &doKdy);

} // namespace SqlObjednavky
