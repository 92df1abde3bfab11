#pragma once

#include "db/Configuration.h"
#include "db/DatabaseError.h"
#include "db/SqlHistorie.h"
#include "db/SqlFormat.h"

#include <QElapsedTimer>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

class TMojeQuery;

/**
 * The desk's connection to the hotel database. The first connection opened
 * on a thread becomes that thread's current one, which every TMojeQuery made
 * without an explicit connection runs on (the application has exactly one;
 * tests open a second one on another thread to act as a second desk).
 *
 * Every session runs in strict mode and with a bounded lock wait. A lost
 * connection is opened again by the next statement, which then runs once
 * more, unless the loss happens inside a save: that save fails whole
 * and the reconnect waits for the next statement outside it (the driver's
 * own silent reconnect stays off, it would drop the locks of a save).
 *
 * A server that is unreachable or hung holds the desk only briefly
 * (T = Configuration::timeoutSeconds):
 * - A connect, the first one and every reconnect, gives up after T.
 * - A statement gives up when the server has not answered for
 *   readTimeoutSeconds(): T, or the lock wait plus 2 s when that is longer,
 *   so that a lock wait still ends as a lock wait. The MariaDB client
 *   library waits that long once (Oracle's libmysqlclient would retry a
 *   read up to three times); through ODBC the MariaDB driver gets the same
 *   bounds as CONN_TIMEOUT, READ_TIMEOUT and WRITE_TIMEOUT.
 * - Such a statement fails whole as a lost connection ("Databázový server
 *   neodpovídá ..."): the server rolls a save back when it finds the
 *   connection closed. It is not opened again within the same action,
 *   which would wait as long once more; the next action reconnects.
 * - After that, and after every failed reconnect, actions fail at once with
 *   the same message for a pause: 5 s, doubled with every further failure
 *   in a row, at most 30 s; a successful connect ends it. While the server
 *   is away the window and the listener on its thread get the event loop
 *   back, and the desk waits T only now and then.
 * One action thus waits about one bound at most; only a server that hangs
 * right after a reconnect can make it wait a connect and a statement bound.
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
    /** Takes effect at once; the read bound that must exceed it follows at the next connect. */
    void setLockWaitSeconds(int seconds);

    /** Seconds a connect may take before it fails. */
    int timeoutSeconds() const { return m_config.timeoutSeconds; }
    /** Seconds a statement waits for the server's answer before it fails as a lost connection. */
    int readTimeoutSeconds() const;

    /** The pause after the first failure and its longest length (tests shorten them). */
    void setRetryPauses(int firstMs, int longestMs);
    /** True while actions fail at once because the server did not answer or could not be reached. */
    bool pausing() const;

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
     * Runs a save, all or nothing, the one way every save of the desk goes:
     * a transaction that reads what was committed before each statement;
     * the rows of zamky_tab named in zamky locked (and bumped: on a cluster
     * only written rows are compared between nodes); the statements, which
     * read, check and write; the history noted meanwhile; COMMIT.
     * When a statement fails the transaction is rolled back before the
     * error goes on. A deadlock or a commit refused by the cluster's
     * certification (another desk won the race) runs the whole save again
     * from its reads, a few times, so statements must start each run from
     * nothing they set in an earlier one; only then is it told as
     * DatabaseError::Kind::Contention. A lock wait ends after lock_wait.
     */
    void save(const QStringList &zamky, const std::function<void(TMojeQuery &)> &statements);
    /** Inside save: locks further rows, for a save that learns from its reads what it touches. */
    void lock(TMojeQuery &q, QStringList zamky);
    /** Runs of saves repeated after a deadlock or a certification failure, since the start. */
    static qint64 savesRepeated();
    /** Tests: runs just before each COMMIT of a save (it may throw, as a refused commit would). */
    static void setBeforeCommit(std::function<void()> hook);
    /** True when the server is a node of a Galera cluster. */
    bool isClusterNode() const { return m_clusterNode; }
    /** The server of the configuration's list in use (host:port), the socket, or the data source. */
    QString serverInUse() const;
    /** Told the server in use after every connect (the status bar names it). */
    void setServerChanged(std::function<void(const QString &)> hook) { m_serverChanged = std::move(hook); }

    /**
     * Inside save: a change the save makes, for the history of changes.
     * The noted rows are written just before COMMIT, so a save rolled back
     * leaves none and a save that changed nothing notes nothing.
     */
    void noteChange(const QString &popis, const QString &ids);
    /** Writes the changes noted so far. The notes are gone afterwards, written or not. */
    void writeHistory(TMojeQuery &q);
    /** The machine the history names for this desk's saves. */
    const QString &machineName() const { return m_pocitac; }

    /** The current connection of this thread; throws when there is none. */
    static TMojeDatabaze &current();
    void makeCurrent();

private:
    friend class TMojeQuery;

    void prepareSession();
    void useServer(int index);
    /** Connects to the server and prepares the session; false (and why) when it cannot be used. */
    bool openServer(int index, QString &reason, bool &notAnswering);
    /** Tries every server once, from first on; throws when none can be used. */
    void openAnyServer(int first);
    /** Connect options, and for ODBC the data source text: the socket and the bounds. */
    void applyConnectOptions();
    /** Whether a call that lost its connection after elapsedMs waited out its bound of seconds. */
    static bool waitedOut(qint64 elapsedMs, int seconds);
    /**
     * A statement got no answer in time: the connection counts as lost, the
     * pause starts, and the error to throw says what became of the statement.
     */
    DatabaseError statementTimedOut(bool mayHaveRun, const QString &reason);
    /** Remembers a failure to reach the server and starts the pause after it. */
    void failedToReach(const DatabaseError &error);
    int pauseMs() const;
    /** Before a statement: mends a loss seen earlier, or refuses inside a save. */
    void reconnectIfLost();
    /** After a statement lost the connection; throws inside a save. */
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
    int m_saves = 0;
    bool m_clusterNode = false;
    QList<Configuration::Server> m_servers;
    int m_server = 0;
    std::function<void(const QString &)> m_serverChanged;
    QString m_pocitac;
    QList<SqlHistorie::Radek> m_historie;   // noted by the running save

    // Failures to reach the server in a row, and what the last one said.
    int m_failures = 0;
    QElapsedTimer m_sinceFailure;
    std::optional<DatabaseError> m_failure;
    int m_firstPauseMs = 5000;
    int m_longestPauseMs = 30000;
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
