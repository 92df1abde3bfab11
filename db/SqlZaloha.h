#pragma once

#include "db/SqlFormat.h"

#include <QString>
#include <QStringList>

/** Statements of a backup and a restore, and the script's own text. */
namespace SqlZaloha {

/** How a column's values are written into the script. */
enum class Druh {
    Cislo,   // the server's digits, unquoted
    Text,    // quoted and escaped (text, dates, times, enumerations)
    Bajty,   // binary: a hexadecimal literal
};
/** The kind for information_schema's DATA_TYPE. */
Druh druhSloupce(const QString &dataType);

QString quoteName(const QString &name);

QString selectDatabaseName();
/** Base tables of the connection's database with the server's row estimates, by name; not the desks' own recepce_tab. */
QString selectTables();
/** Columns of a table in their order: COLUMN_NAME, DATA_TYPE. */
QString selectColumns(const QString &table, const SqlFormat &format);
/** The primary key's columns in key order. */
QString selectPrimaryKey(const QString &table, const SqlFormat &format);
QString showCreateTable(const QString &table);
/** Other connections using the connection's database: USER, HOST, ID. */
QString selectOtherConnections();

QString snapshotIsolation();
QString startSnapshot();
QString commit();
QString rollback();

struct Sloupec
{
    QString jmeno;
    Druh druh = Druh::Text;
};

/**
 * One chunk of a table's rows, every column as text (binary as hex). With
 * a primary key (key: indexes into columns) the chunk follows `after` (the
 * last chunk's key values as the session's literals; empty for the first);
 * without one the rows are ordered by every column and skipped by offset.
 */
QString selectChunk(const QString &table, const QList<Sloupec> &columns, const QList<int> &key,
                    const QStringList &after, qint64 offset, int limit);

/** The script's session, set at its top and given back at its end. */
QString scriptSessionStart();
QString scriptSessionEnd();
QString dropTable(const QString &table);
QString insertInto(const QString &table);
QString renameTable(const QString &from, const QString &to);

/** The history table, and where a restore keeps the rows the backup does not hold while it loads. */
QString historyTable();
QString historyAside();
/** Puts back the rows of the history kept aside whose ids the restored history lacks. */
QString insertHistoryNotRestored();

/**
 * Writes a row's value as the script holds it: NULL, digits, a hex literal
 * or a double-quoted string with backslash escapes (the script's own
 * session has them, whatever the server's mode).
 */
void appendValue(QString &out, Druh druh, const QString &value, bool isNull);
/** The same value as a literal for a statement on the session `format` describes. */
QString literal(Druh druh, const QString &value, const SqlFormat &format);

/** Session values to give back after a restore. */
QString selectSession();
QString setSession(const QString &sqlMode, int foreignKeyChecks, int uniqueChecks);

} // namespace SqlZaloha
