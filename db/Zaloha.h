#pragma once

#include "db/DatabaseError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TMojeDatabaze;

/**
 * How far a backup or a restore is: rows done of about how many (the total
 * is the server's estimate and may be passed). Called on the working
 * thread; returning false cancels the work (DatabaseError, nothing left
 * half-done).
 */
using PrubehZalohy = std::function<bool(qint64 hotovo, qint64 celkem)>;

/** What a backup holds of one table: written into the backup, compared after a restore. */
struct KontrolaTabulky
{
    QString tabulka;
    qint64 radku = 0;
    QByteArray otisk;   // SHA-256 of the table's rows as the backup writes them, in hex

    bool operator==(const KontrolaTabulky &) const = default;
};

/**
 * Backups of the hotel database through the desk's own connection, so
 * they work alike with the private server, a shared server and ODBC.
 *
 * A backup is an SQL script, gzip-compressed, that the server's own
 * client can also load by hand (`zcat FILE | mariadb hotel`): every table
 * dropped, created and filled, read in one consistent snapshot, with a
 * comment line per table giving its row count and checksum.
 */
namespace Zaloha {

/**
 * Writes the connection's database into `soubor`. The file appears under
 * its name only when complete (written beside it, then renamed), so a
 * failed or cancelled backup leaves no truncated file. Gives the checks it
 * wrote. Throws DatabaseError, in Czech, naming the file or the database's
 * fault.
 */
QList<KontrolaTabulky> zapis(TMojeDatabaze &databaze, const QString &soubor, const PrubehZalohy &prubeh = {});

/**
 * The checks a backup file carries. Throws DatabaseError when it is not a
 * complete backup of this kind: a table without its check line, a garbled
 * one, or a statement the writer never writes.
 */
QList<KontrolaTabulky> kontrolySouboru(const QString &soubor);

/**
 * Who else is connected to the connection's database (one line each: user,
 * host); a restore must be alone. An account sees other accounts'
 * connections only with the PROCESS privilege; on the private server every
 * desk is the same account.
 */
QStringList jinaSpojeni(TMojeDatabaze &databaze);

/**
 * Replaces the connection's database by the backup in `soubor`. Refused
 * (DatabaseError, nothing changed) when the account lacks a right the
 * restore needs (Prava::proObnovu()), another desk is open (announced in
 * recepce_tab, or seen in the process list) or the file is not a complete
 * backup with a check line for every table it loads. First writes the
 * data it replaces as a backup into `predObnovou`, or beside it under a
 * numbered name when that file exists, and gives the name used. After
 * loading, compares every table's row count and checksum with the file's;
 * when they differ or the load fails, it loads that copy back (dropping
 * the tables the file added) and throws. Tables the file does not hold are
 * kept as they are; of the history, the rows the file lacks (written
 * after the backup) are kept, and the restore adds its own.
 */
QString obnov(TMojeDatabaze &databaze, const QString &soubor, const QString &predObnovou,
              const PrubehZalohy &prubeh = {});

/**
 * Rows read per statement from a table with a primary key (five times as
 * many from one without, which is paged by offset). Tests make it small to
 * cross chunk borders with few rows.
 */
void setChunkRows(int rows);

} // namespace Zaloha
