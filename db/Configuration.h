#pragma once

#include "db/DatabaseError.h"

#include <QByteArray>
#include <QList>
#include <QString>

/**
 * Where the desk finds its database, read from the INI file
 * (`vitrana --config FILE`, else hotel.conf in the application's
 * configuration folder; only when that default file does not exist is the
 * private server used without one).
 *
 *   [database] mode = private | mysql | odbc
 *   [database] host, port, socket, name      (mysql; host may list several
 *                                             servers: "a, b:3307, c")
 *   [database] dsn                           (odbc)
 *   [database] datadir, name                 (private)
 *   [database] lock_wait                     (seconds a statement waits for
 *                                             tables another desk holds)
 *   [database] timeout                       (seconds to connect, and to wait
 *                                             for the server's answer)
 *   [web]      listen_port
 *   [backup]   keep                          (days whose newest automatic
 *                                             backup is kept; 14)
 *   [backup]   folder                        (where they go; the private
 *                                             folder's backups/ by default)
 *
 * The file is read strictly: UTF-8 text of `[section]` lines, `key = value`
 * lines, whole-line comments (`;` or `#`) and blank lines. Section and key
 * names and the mode ignore case; a value is the rest of the line, trimmed,
 * and may be put in double quotes to keep blanks at its ends. Every key
 * needs a value and may appear once. A key of another mode is allowed.
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
    int backupKeep = 14;
    QString backupFolder;       // empty means the private folder's backups/

    /** One server of host: a name or address and its port. */
    struct Server
    {
        QString host;
        int port = 3306;
        bool operator==(const Server &) const = default;
    };
    /**
     * The servers host lists, in order, each "host" or "host:port" (an
     * IPv6 address in brackets, "[::1]:3307"), the port defaulting to port.
     */
    QList<Server> servers() const;

    /** The private server's folder: datadir, else the default. */
    QString privateFolder() const;
    /** Where the private server's automatic backups go. */
    QString automaticBackupFolder() const;

    /** The file read when no --config option is given. */
    static QString defaultFile();
    /** The private server folder used when datadir is not set. */
    static QString defaultDatadir();

    /**
     * Reads the file. A file that does not exist gives the defaults, unless
     * it is required (named on the command line). Anything else that is not
     * a valid configuration throws ConfigurationError.
     */
    static Configuration load(const QString &file, bool required = false);
    /** The same for the file's bytes; file only names it in messages. */
    static Configuration parse(const QByteArray &content, const QString &file);
};

/**
 * A configuration the desk will not start with: the file, the line
 * (0 when the fault is the file as a whole) and what is wrong, in Czech.
 */
class ConfigurationError : public DatabaseError
{
public:
    ConfigurationError(const QString &file, int line, const QString &problem);

    const QString &file() const { return m_file; }
    int line() const { return m_line; }
    const QString &problem() const { return m_problem; }

private:
    QString m_file;
    int m_line;
    QString m_problem;
};
