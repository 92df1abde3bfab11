#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class SqlFormat;

/** Statements of the exports to the web site and of the reservation import. */
namespace SqlWeb {

/** Room types that have rooms, with pocet_pokoju, one row per type. */
QString selectTypyPokoju();
/**
 * The prices of the export: typ_pokoje_id, typ_dne_id and cena of client
 * type 1, for room types with rooms and day types that exist.
 */
QString selectCenyTypuDnu();
/** The calendar from today for 365 days: datum, typ_dne_id; by day. */
QString selectKalendarRoku();
/**
 * The stays that share a day with od..dO (both included): cislo_objednavky,
 * pokoj_id, and od and do_ as the days from od to od_kdy and to do_kdy.
 */
QString selectPobytyVObdobi(const QDate &od, const QDate &dO);
/** The spans out of order that share a day with od..dO: pokoj_id, od and do_ as selectPobytyVObdobi gives them. */
QString selectMimoProvozVObdobi(const QDate &od, const QDate &dO);
/** Every room's type: pokoj_id, typ_pokoje_id. */
QString selectTypyPokojuPokoju();
/** Ends the statement another connection of this account runs; the connection stays. */
QString stopStatement(qint64 connectionId);

/**
 * What a group of the reservation import locks: the remembered web
 * identifiers and each room it may book.
 */
QStringList lockImport(const QList<int> &pokoje);

// The import pass under its lock: what was stored before, then each group's inserts.

/**
 * The identifiers already stored: rezervaceid, cislo_objednavky, typ_pokoje_id,
 * od_kdy, do_kdy as remembered, and nalezena (1 while the stay is still in
 * the book) with its cena and its client's jmeno, telefon, email, stat.
 */
QString selectStoredWebReservations(const SqlFormat &f, const QStringList &rezervaceIds);

/** One row of the clients' insert: a guest who came through the web site. */
struct WebKlient
{
    int klient_id;
    QString jmeno, telefon, email, stat;
};
/** One stored web reservation, with the identifier the site gave it. */
struct WebObjednavka
{
    QString rezervaceid;
    int klient_id;
    int cislo_objednavky;
    int typ_pokoje_id;
    QDate datum_objednavky, od_kdy, do_kdy;
    int pokoj_id;
    double cena;
};

/** The clients, client type 1, in one statement. */
QString insertWebClients(const SqlFormat &f, const QList<WebKlient> &klienti);
QString insertWebReservations(const QList<WebObjednavka> &objednavky);
/** Remembers the identifiers; one remembered already makes it fail (the import never stores one twice). */
QString rememberWebReservations(const SqlFormat &f, const QList<WebObjednavka> &objednavky);

} // namespace SqlWeb
