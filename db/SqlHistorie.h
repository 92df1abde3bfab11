#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on the history of changes (historie_zmen_tab). */
namespace SqlHistorie {

/** One row a save writes: its sentence and the ids it concerns. */
struct Radek
{
    QString popis;
    QString ids;
};

/**
 * The rows of one save in one statement; the server writes the time and
 * the account (the user part of USER(), as the desk logged in), the desk
 * its machine. Written inside the save it records.
 */
QString insertRows(const SqlFormat &f, const QString &pocitac, const QList<Radek> &rows);

/** What the history window shows; empty parts filter nothing. */
struct Filtr
{
    QDate od;           // from this day on
    QDate doKdy;        // up to the end of this day
    QString uzivatel;   // exactly this account
    QString text;       // contained in the sentence or the ids
};

/** The ids a page may lie between (both included); 0 for no bound. */
struct Meze
{
    qint64 od = 0;
    qint64 po = 0;
};

/**
 * id of the first row written on or after the day, and of the last one
 * written by the end of the day (column id; no row when there is none):
 * the ends of a period as ids, read from the index on kdy.
 */
QString selectFirstIdFrom(const QDate &den);
QString selectLastIdUntil(const QDate &den);

/**
 * One page, newest first: id, kdy (text "yyyy-mm-dd hh:mm:ss"), uzivatel,
 * pocitac, popis, ids. With zaId the rows older than that id (the next
 * page), with predId the rows newer than it, oldest of them first (the
 * page before, which the caller turns round); neither: the newest. The
 * keyset on id, within the period's ids, keeps every page as fast as the
 * first with a million rows; only a text rarely found reads far.
 */
QString selectPage(const SqlFormat &f, const Filtr &filtr, const Meze &meze, qint64 zaId, qint64 predId, int limit);

/**
 * Column posledni: the id of the newest row (0 with none), read from the
 * key's end. Every save that changes data writes a row, so a desk that
 * sees it move knows another desk (or it itself) changed something.
 */
QString selectLastId();
/** The accounts named in the history (uzivatel), in order. */
QString selectUsers();

} // namespace SqlHistorie
