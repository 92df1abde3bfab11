#pragma once

#include "core/Recepce.h"
#include "db/Configuration.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

/** What the command line asks for. */
struct StartOptions
{
    /** What the run does: the desk's window, or one command on the terminal and exit. */
    enum class Command { Desk, Help, Version, Backup, Restore, Ubyport };

    Command command = Command::Desk;
    QString file;              // the file of --backup FILE, --restore FILE or --ubyport FILE
    QString configFile;        // --config FILE, else the default file
    bool configGiven = false;  // --config was given: its file must exist
    bool emptyHotel = false;   // --empty-hotel: a new private database gets no sample hotel
    QString error;             // a bad command line, for the user

    static StartOptions parse(const QStringList &arguments);

    /**
     * Whether main()'s arguments ask for a command on the terminal, which
     * needs no window and so no display; looked at before any application
     * object exists.
     */
    static bool onTerminal(int argc, char **argv);

    /** The text of --help. */
    static QString helpText();
    /** The text of --version. */
    static QString versionText();

    /**
     * The configuration to start with: the --config file, which must exist,
     * else the default file when there is one. Throws ConfigurationError.
     */
    Configuration configuration() const;
};

/**
 * The configuration the command line asks for. A bad command line or
 * configuration is reported (stderr, and the "Chyba" box where someone can
 * see it) and gives nothing: the desk must not start, with exit status 2.
 */
std::optional<Configuration> startConfiguration(const StartOptions &options);

/**
 * Runs a command of the terminal (--help, --version, --backup, --restore, --ubyport)
 * under a QCoreApplication; gives the exit status (2 for a bad command line).
 */
int runOnTerminal(const StartOptions &options);

/** A start-up error: on stderr, and in the error box unless the display is offscreen (nobody could close it). */
void reportStartupError(const QString &text);

/**
 * The login prompt (TLoginDialog over `parent`) as the core asks for it.
 */
DotazNaPrihlaseni loginPrompt(QWidget *parent = nullptr);

/**
 * The desk's core for the configuration, connected: the busy cursor shows
 * while it waits for the database, the login prompt asks for the account.
 * A failure is shown in the error box and gives nothing.
 */
std::unique_ptr<Recepce> connectDesk(const Configuration &config, bool emptyHotel, QWidget *parent = nullptr);

/** The busy cursor shows while the desk waits for the database (a lock another desk holds, say). */
void showBusyCursorWhileWaiting();
/** The busy cursor on or off: the wait indicator that showBusyCursorWhileWaiting() installs. */
void showBusyCursor(bool waiting);
