#pragma once

#include <QString>

/**
 * Where the desk finds its database, read from the INI file
 * (`vitrana --config FILE`, else hotel.conf in the application's
 * configuration folder; without a file the private server is used).
 *
 *   [database] mode = private | mysql | odbc
 *   [database] host, port, socket, name      (mysql)
 *   [database] dsn                           (odbc)
 *   [database] datadir, name                 (private)
 *   [database] lock_wait                     (seconds a statement waits for
 *                                             tables another desk holds)
 *   [database] timeout                       (seconds to connect, and to wait
 *                                             for the server's answer)
 *   [web]      listen_port
 */
struct Configuration
{
    enum class Mode { Private, MySql, Odbc };

    Mode mode = Mode::Private;
    QString host = QStringLiteral("localhost");
    int port = 3306;
    QString socket;
    QString name = QStringLiteral("hotel");
    QString dsn = QStringLiteral("hotel");
    QString datadir;            // private server folder; empty means the default
    int lockWaitSeconds = 5;    // then a save fails whole and may be tried again
    int timeoutSeconds = 10;    // an unreachable or hung server: then the action fails like a lost connection
    int listenPort = 9876;

    /** The file read when no --config option is given. */
    static QString defaultFile();
    /** The private server folder used when datadir is not set. */
    static QString defaultDatadir();

    /**
     * Reads the file; a missing file gives the defaults. A present file with
     * an unknown mode or a bad number throws DatabaseError naming the key.
     */
    static Configuration load(const QString &file);
};
