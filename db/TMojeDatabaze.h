#pragma once

#include "db/Configuration.h"
#include "db/SqlFormat.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

class TMojeQuery;

/**
 * The desk's connection to the hotel database. The first connection opened
 * on a thread becomes that thread's current one, which every TMojeQuery made
 * without an explicit connection runs on (the application has exactly one;
 * tests open a second one on another thread to act as a second desk).
 *
 * Automatic reconnection stays off: a silent reconnect would drop the table
 * locks of a save in progress.
 */
class TMojeDatabaze
{
public:
    /** Nothing is opened yet; a private server's socket comes in config.socket. */
    explicit TMojeDatabaze(const Configuration &config);
    ~TMojeDatabaze();
    TMojeDatabaze(const TMojeDatabaze &) = delete;
    TMojeDatabaze &operator=(const TMojeDatabaze &) = delete;

    /** Connects; throws DatabaseError with the database's reason on refusal. */
    void open(const QString &user, const QString &password);
    bool isOpen() const;

    const QString &connectionName() const { return m_name; }
    QSqlDatabase database() const;
    const SqlFormat &format() const { return m_format; }

    /** Reads the session's sql_mode again (how text values must be escaped). */
    void readSqlMode();

    /**
     * Runs a save under a lock set, all or nothing: autocommit off, the lock
     * statement, the statements, COMMIT, UNLOCK TABLES. When a statement
     * fails the work is rolled back and the locks released before the error
     * goes on to the caller.
     */
    void writeLocked(const QString &lockStatement,
                     const std::function<void(TMojeQuery &)> &statements);

    /** The current connection of this thread; throws when there is none. */
    static TMojeDatabaze &current();
    void makeCurrent();

private:
    QString m_name;
    Configuration m_config;
    SqlFormat m_format;
};
