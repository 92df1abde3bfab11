#pragma once

#include <QString>
#include <QStringList>

/**
 * The desk's own MariaDB server: Debian's mariadbd run on a private folder,
 * reachable only through a unix socket in a directory that only this user
 * can enter (no TCP listener).
 *
 *   <folder>/data          the server's data directory
 *   <folder>/tmp           its temporary files
 *   <folder>/run           socket, pid file, desk register, lock file (0700)
 *   <folder>/mariadb.cnf   the server's only option file
 *   <folder>/mariadb.log   the server's error log
 *
 * Several desks (processes, or PrivateServer objects) on one folder share
 * one server: the first starts it, every desk registers itself, and the
 * last one to leave shuts the server down. The accounts are those of
 * mariadb-install-db: root and the operating-system user who installed,
 * both authenticated by the unix_socket plugin (no password).
 */
class PrivateServer
{
public:
    explicit PrivateServer(const QString &folder);
    ~PrivateServer();
    PrivateServer(const PrivateServer &) = delete;
    PrivateServer &operator=(const PrivateServer &) = delete;

    /**
     * Makes sure the server runs (installing the data directory on first use,
     * clearing what a crashed server left behind) and registers this desk.
     * Throws DatabaseError naming the server's log when it does not come up.
     */
    void start();
    /** Unregisters this desk; the last desk shuts the server down. */
    void release();
    /**
     * For a desk that lost its connection: starts the server again when it
     * is gone (killed, crashed, stopped by hand). Throws like start().
     */
    void ensureRunning();

    QString socketPath() const;
    QString logFile() const;
    QString folder() const { return m_folder; }
    /** How many other live desks use this folder's server. */
    int otherDesks() const { return liveDesks() - (m_registered ? 1 : 0); }
    /** Pid of the running server of this folder, 0 when none runs. */
    qint64 serverPid() const;

    /** Options added to mariadbd's command line (tests use it to break a start). */
    void setExtraArguments(const QStringList &arguments) { m_extraArguments = arguments; }
    /** How long start() waits for the server to accept connections. */
    void setStartTimeout(int milliseconds) { m_startTimeoutMs = milliseconds; }

    /** The operating-system user name, which is also the database account. */
    static QString osUser();

private:
    QString runDir() const;
    QString dataDir() const;
    QString tmpDir() const;
    QString pidFile() const;
    QString deskFile() const;
    void prepareFolders() const;
    void install() const;
    void writeOptionFile() const;
    void clearStaleFiles() const;
    bool launchIfGone();
    void launch();
    void waitUntilReady(qint64 pid) const;
    void shutdown() const;
    int liveDesks() const;
    /** A live mariadbd of this user started on this folder's data directory. */
    bool isOurServer(qint64 pid) const;
    /** Why a start failed: the error lines the server logged from that offset on. */
    QString reasonInLog(qint64 from) const;

    QString m_folder;
    QString m_runDir;
    QString m_deskId;
    QStringList m_extraArguments;
    int m_startTimeoutMs = 60000;
    bool m_registered = false;
    qint64 m_logStart = 0;
};
