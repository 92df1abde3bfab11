#pragma once

#include "db/Configuration.h"
#include "web/engine/CteniExportu.h"
#include "web/engine/SpolupraceSWebem.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class AutomatickeZalohy;
class PrivateServer;
class QTimer;
class TMojeDatabaze;

/** The database account the desk logs in with. */
struct Prihlaseni
{
    QString user;
    QString password;
};

/**
 * Asks for the account: given the connection's name and the user name to
 * offer, gives the account, or nothing when the login is cancelled.
 */
using DotazNaPrihlaseni = std::function<std::optional<Prihlaseni>(const QString &databaze, const QString &user)>;

/**
 * The desk without its windows, owned by the application for the whole run:
 * the one connection to the hotel database (starting or joining the private
 * server when the configuration asks for it) and the web road, the engine
 * with its listener for guests whom the site forwards. Windows are views
 * given a pointer to it; whether they exist changes nothing here.
 *
 * A connection that is lost later is opened again by the next statement,
 * starting the private server again when it is gone. Destroying the core
 * stops the web road, closes the connection and leaves the server, which
 * the last desk shuts down after writing a backup of the hotel.
 */
class Recepce
{
public:
    Recepce(const Configuration &config, bool emptyHotel, const CasovaniWebu &casovani = CasovaniWebu());
    ~Recepce();
    Recepce(const Recepce &) = delete;
    Recepce &operator=(const Recepce &) = delete;

    /**
     * Opens the connection, then listens for guests on the configured port.
     * The account comes from VITRANA_DB_USER and VITRANA_DB_PASSWORD when
     * both are set, otherwise from `prihlaseni`. Throws DatabaseError (also
     * when the login is cancelled or there is nobody to ask).
     */
    void pripoj(const DotazNaPrihlaseni &prihlaseni = {});
    bool jePripojeno() const { return m_spoluprace != nullptr; }

    /**
     * Closes the desk as its destruction does: the web road stopped, its
     * row in recepce_tab removed, the backup when it is the last desk, the
     * connection closed and the private server left. Once; the destructor
     * then does nothing more.
     */
    void ukonci();
    /**
     * Makes exit() close this desk too: Qt's xcb platform calls exit(1)
     * when the display goes away, which runs no destructor of main().
     */
    void ukoncitIPriExit();

    TMojeDatabaze *databaze() const { return m_databaze.get(); }
    const Configuration &konfigurace() const { return m_config; }
    /** The private server, when the configuration asks for one. */
    PrivateServer *server() const { return m_server.get(); }
    /** The web engine, from the connection on; windows start its operations and show its state. */
    SpolupraceSWebem *spoluprace() const { return m_spoluprace.get(); }
    /** The private server's automatic backups; null in the other modes. */
    AutomatickeZalohy *zalohy() const { return m_zalohy.get(); }
    /** What a connection of its own needs (the same database and account), from the connection on. */
    const PristupKDatabazi &pristup() const { return m_pristup; }
    /**
     * The rights the account lacks on the hotel's database, found at the
     * connection (empty when none is missing or the server would not tell),
     * and the sentence the window shows about them once.
     */
    const QStringList &chybejiciPrava() const { return m_chybejiciPrava; }
    QString upozorneniNaPrava() const;

private:
    Configuration m_config;
    bool m_emptyHotel;
    CasovaniWebu m_casovani;
    PristupKDatabazi m_pristup;
    QStringList m_chybejiciPrava;
    QString m_id;   // this desk's row in recepce_tab
    // Destroyed bottom-up: the web road before the connection, the connection before the server.
    std::unique_ptr<PrivateServer> m_server;
    std::unique_ptr<TMojeDatabaze> m_databaze;
    std::unique_ptr<AutomatickeZalohy> m_zalohy;
    std::unique_ptr<SpolupraceSWebem> m_spoluprace;
    std::unique_ptr<QTimer> m_tep;   // keeps this desk's row in recepce_tab fresh
};

/** The account VITRANA_DB_USER and VITRANA_DB_PASSWORD give, when both are set. */
std::optional<Prihlaseni> prihlaseniZProstredi();
/** The configuration reaching a started private server: its socket, on this machine. */
Configuration spojeniNaServer(Configuration config, const PrivateServer &server);

/** Adds the indexes a database made before them lacks; what fails is logged, the desk starts anyway. */
void upgradeIndexes(TMojeDatabaze &databaze);
