#pragma once

#include <QString>
#include <stdexcept>

class QSqlError;

/**
 * The one error type of the database layer: a failing statement, a refused
 * connection or a private server that would not start. text() is what the
 * user reads (UTF-8 in what()): the database's own words, or for the faults
 * a receptionist can act on (a lost connection, a table held by another
 * desk, a value the column refuses) a Czech sentence with the database's
 * words on a line below it.
 */
class DatabaseError : public std::runtime_error
{
public:
    enum class Kind {
        Statement,       // anything else: the database's own text
        ConnectionLost,  // the connection broke; the next action reconnects
        LockWait,        // another desk held the tables past the wait limit
        ValueRefused,    // a value does not fit its column (strict mode)
        Conflict,        // another desk changed what this save would change: nothing was written
        Contention,      // a deadlock or a cluster's certification failure: the save may run again
        AccessDenied,    // the account lacks a right (named in right())
    };

    /** An error of the desk's own making: the text is what the user reads. */
    explicit DatabaseError(const QString &text, Kind kind = Kind::Statement, const QString &column = QString())
        : DatabaseError(text, QString(), kind, column) {}
    /** A sentence for the user (may be empty) and the database's own words. */
    DatabaseError(const QString &veta, const QString &detail, Kind kind, const QString &column = QString());

    /** The whole message: the sentence with the database's words below it (in brackets). */
    const QString &text() const { return m_text; }
    /** The sentence for the user alone; empty when only the database's words say what failed. */
    const QString &veta() const { return m_veta; }
    /** The database's own words; empty for an error of the desk's own making. */
    const QString &detail() const { return m_detail; }
    Kind kind() const { return m_kind; }
    /** The column a refused value was meant for, or the right an account lacks, when the database names it. */
    const QString &column() const { return m_column; }

    /**
     * The error of a failed statement, told in the user's words where the
     * fault is one they can act on. lockWaitSeconds goes into the text of a
     * lock wait that ran out.
     */
    static DatabaseError fromSql(const QSqlError &error, int lockWaitSeconds);
    /** The database's own words for an error, whatever the driver puts where. */
    static QString serverText(const QSqlError &error);
    /** True when the error means the connection itself is gone. */
    static bool isConnectionLost(const QSqlError &error);
    /** The Czech name of a column, as the dialogs call the field. */
    static QString fieldName(const QString &column);

private:
    QString m_veta;
    QString m_detail;
    QString m_text;
    Kind m_kind;
    QString m_column;
};
