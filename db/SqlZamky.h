#pragma once

#include <QString>
#include <QStringList>

class SqlFormat;

/**
 * Statements on the rows a save locks (zamky_tab) and on the number series
 * (ciselne_rady_tab). A save writes every row it locks, so that two saves
 * of one subject conflict on a cluster too, where only written rows are
 * compared between nodes; on one server the row lock makes the second wait.
 */
namespace SqlZamky {

/** The row of one room's stays, one client, one reservation number. */
QString pokoj(int pokojId);
QString klient(int klientId);
QString objednavka(int cisloObjednavky);

/** Locks (and bumps) the named rows, creating the ones missing; names in the order given. */
QString lockRows(const SqlFormat &f, const QStringList &names);

/** The rows that must exist before the first save uses them. */
QString insertSeries(const SqlFormat &f, const QString &rada);
/** The same, starting at the highest number the table holds (maxSelect reads it). */
QString insertSeriesAt(const SqlFormat &f, const QString &rada, const QString &maxSelect);
/**
 * Takes count numbers of the series: the new last one becomes the session's
 * LAST_INSERT_ID(). The series never goes back, and never below the
 * highest number the table holds (maxSelect reads it), so numbers written
 * by another program still are not given twice.
 */
QString reserveNumbers(const SqlFormat &f, const QString &rada, const QString &maxSelect, int count);
/** Column posledni: the last number reserveNumbers took on this session. */
QString selectLastReserved();

} // namespace SqlZamky
