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
 * Every session runs in strict mode and with a bounded lock wait. A lost
 * connection is opened again by the next statement, which then runs once
 * more, unless the loss happens inside a locked save: that save fails whole
 * and the reconnect waits for the next statement outside it (the driver's
 * own silent reconnect stays off, it would drop the locks of a save).
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

    /**
     * Reads the session's sql_mode again and settles it: strict mode added,
     * ANSI_QUOTES and ONLY_FULL_GROUP_BY taken off; notes how text values
     * must be escaped.
     */
    void readSqlMode();

    /** The lock wait limit of this connection's sessions, in seconds. */
    int lockWaitSeconds() const { return m_lockWaitSeconds; }
    void setLockWaitSeconds(int seconds);

    /**
     * Runs before a lost connection is opened again (the desk starts its
     * private server there when it is gone); may throw DatabaseError.
     */
    void setReconnectHook(std::function<void()> hook) { m_reconnectHook = std::move(hook); }

    /**
     * Told true when this thread starts waiting for the database and false
     * when it is done (nested waits are told once). The desk shows its busy
     * cursor through it; the core library stays free of widgets.
     */
    static void setWaitIndicator(std::function<void(bool)> indicator);

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
    friend class TMojeQuery;

    void prepareSession();
    /** Before a statement: mends a loss seen earlier, or refuses inside a lock set. */
    void reconnectIfLost();
    /** After a statement lost the connection; throws inside a lock set. */
    void connectionLost();
    void reconnect();
    /** Bumped at every reconnect: statement objects made before renew their handle. */
    int generation() const { return m_generation; }

    QString m_name;
    Configuration m_config;
    SqlFormat m_format;
    int m_lockWaitSeconds = 5;
    std::function<void()> m_reconnectHook;
    int m_generation = 0;
    bool m_lost = false;
    bool m_reconnecting = false;
    int m_lockSets = 0;
};

/** Keeps the wait indicator on while it lives (the outermost one tells it). */
class WaitingForDatabase
{
public:
    WaitingForDatabase();
    ~WaitingForDatabase();
    WaitingForDatabase(const WaitingForDatabase &) = delete;
    WaitingForDatabase &operator=(const WaitingForDatabase &) = delete;
};
