#pragma once

#include "db/Configuration.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class PrivateServer;
class QWidget;
class TMojeDatabaze;

/** What the command line asks for. */
struct StartOptions
{
    QString configFile;        // --config FILE, else the default file
    bool configGiven = false;  // --config was given: its file must exist
    bool emptyHotel = false;   // --empty-hotel: a new private database gets no sample hotel
    QString error;             // a bad command line, for the user

    static StartOptions parse(const QStringList &arguments);

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

/** A start-up error: on stderr, and in the error box unless the display is offscreen (nobody could close it). */
void reportStartupError(const QString &text);

/**
 * The desk's way to its database: starts (or joins) the private server when
 * the configuration asks for it, asks for the login and opens the one
 * connection. A connection that is lost later is opened again by the next
 * statement, starting the private server again when it is gone. Destroying
 * it closes the connection and leaves the server, which the last desk shuts
 * down.
 */
class Pripojeni
{
public:
    Pripojeni(const Configuration &config, bool emptyHotel);
    ~Pripojeni();

    /**
     * Opens the connection. The user name and password come from
     * VITRANA_DB_USER and VITRANA_DB_PASSWORD when both are set, otherwise
     * from the login prompt. Throws DatabaseError (also when the login is
     * cancelled).
     */
    void open(QWidget *parent);
    TMojeDatabaze *databaze() const { return m_databaze.get(); }
    /** The private server, when the configuration asks for one. */
    PrivateServer *server() const { return m_server.get(); }

private:
    Configuration m_config;
    bool m_emptyHotel;
    std::unique_ptr<PrivateServer> m_server;
    std::unique_ptr<TMojeDatabaze> m_databaze;
};

/** The busy cursor shows while the desk waits for the database (a lock another desk holds, say). */
void showBusyCursorWhileWaiting();

/** Adds the indexes a database made before them lacks; what fails is logged, the desk starts anyway. */
void upgradeIndexes(TMojeDatabaze &databaze);
