#include "core/Recepce.h"

#include "core/Zalohovani.h"
#include "db/CiselneRady.h"
#include "db/DatabaseError.h"
#include "db/Indexes.h"
#include "db/Installation.h"
#include "db/OhlaseniRecepci.h"
#include "db/Prava.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "web/engine/CteniExportu.h"

#include <QCoreApplication>
#include <cstdlib>
#include <QTimer>

namespace {
// A quarter of the time after which a restore counts a silent desk as gone.
constexpr int heartbeatMs = OhlaseniRecepci::zivostSekund() * 1000 / 4;
} // namespace

Recepce::Recepce(const Configuration &config, bool emptyHotel, const CasovaniWebu &casovani)
    : m_config(config), m_emptyHotel(emptyHotel), m_casovani(casovani)
{
}

namespace {
Recepce *priExit = nullptr;   // the desk an exit() closes
} // namespace

Recepce::~Recepce()
{
    ukonci();
    if (priExit == this)
        priExit = nullptr;
}

void Recepce::ukoncitIPriExit()
{
    static const bool zaregistrovano = [] {
        // Registered after the connection's statics: runs before they go.
        return std::atexit([] {
            if (priExit)
                priExit->ukonci();
        }) == 0;
    }();
    if (zaregistrovano)
        priExit = this;
}

void Recepce::ukonci()
{
    m_spoluprace.reset();   // no guest is served without the connection
    m_tep.reset();
    if (m_databaze && !m_id.isEmpty())
        OhlaseniRecepci::odhlas(*m_databaze, m_id);
    // The last desk to leave backs the hotel up while the server still runs.
    if (m_zalohy && m_databaze && m_server && m_server->otherDesks() == 0)
        m_zalohy->zalohujPriOdchodu(*m_databaze);
    m_zalohy.reset();
    m_databaze.reset();     // closed before the server may be shut down
    m_server.reset();
}

void Recepce::pripoj(const DotazNaPrihlaseni &prihlaseni)
{
    QString user;
    if (m_config.mode == Configuration::Mode::Private) {
        m_server = std::make_unique<PrivateServer>(m_config.privateFolder());
        m_server->start();
        Installation::createDatabaseIfMissing(m_server->socketPath(), m_config.name, !m_emptyHotel);
        m_config = spojeniNaServer(m_config, *m_server);
        user = PrivateServer::osUser();   // the server knows this account through unix_socket
    }

    m_databaze = std::make_unique<TMojeDatabaze>(m_config);
    QString password;
    if (const std::optional<Prihlaseni> zProstredi = prihlaseniZProstredi()) {
        user = zProstredi->user;
        password = zProstredi->password;
    } else {
        if (user.isEmpty())
            user = PrivateServer::osUser();
        const std::optional<Prihlaseni> ucet =
            prihlaseni ? prihlaseni(m_databaze->connectionName(), user) : std::nullopt;
        if (!ucet)
            throw DatabaseError(QCoreApplication::translate("Recepce", "Přihlášení bylo zrušeno."));
        user = ucet->user;
        password = ucet->password;
    }

    if (m_server)
        m_databaze->setReconnectHook([server = m_server.get()] { server->ensureRunning(); });
    m_databaze->open(user, password);
    // A database made by an earlier version gets the tables added since. An
    // account without the right to create them still works; the web import
    // then names the missing table.
    try {
        TMojeQuery q(*m_databaze);
        Installation::createAddedTables(q);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot create the tables added since the database was made: %s", qPrintable(e.text()));
    }
    // Then the keys and indexes the tables lack.
    upgradeIndexes(*m_databaze);
    try {
        TMojeQuery q(*m_databaze);
        CiselneRady::zaloz(q);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot make the number series: %s", qPrintable(e.text()));
    }
    m_chybejiciPrava = Prava::chybejiciNa(*m_databaze, Prava::proRecepci() + Prava::proUpgrade()).value_or(QStringList());

    // Announced to a restore, which must not run while this desk is open.
    m_id = OhlaseniRecepci::noveId();
    OhlaseniRecepci::ohlas(*m_databaze, m_id);
    m_tep = std::make_unique<QTimer>();
    m_tep->setInterval(heartbeatMs);
    QObject::connect(m_tep.get(), &QTimer::timeout, [this] { OhlaseniRecepci::obnov(*m_databaze, m_id); });
    m_tep->start();

    // From here on the desk listens for guests; another desk on this machine
    // may hold the port, the rest of the web road works without it.
    m_pristup = {m_config, user, password};
    m_spoluprace = std::make_unique<SpolupraceSWebem>(quint16(m_config.listenPort), m_casovani);
    // The prices and occupancy export reads on a connection of its own, with the same account.
    m_spoluprace->ctiExportyVeVlakne(m_pristup);

    if (m_server) {
        m_zalohy = std::make_unique<AutomatickeZalohy>(m_config, m_pristup);
        m_zalohy->spust();
    }
}

QString Recepce::upozorneniNaPrava() const
{
    return Prava::upozorneni(m_chybejiciPrava, m_config.name);
}

std::optional<Prihlaseni> prihlaseniZProstredi()
{
    if (!qEnvironmentVariableIsSet("VITRANA_DB_USER") || !qEnvironmentVariableIsSet("VITRANA_DB_PASSWORD"))
        return std::nullopt;
    return Prihlaseni{qEnvironmentVariable("VITRANA_DB_USER"), qEnvironmentVariable("VITRANA_DB_PASSWORD")};
}

Configuration spojeniNaServer(Configuration config, const PrivateServer &server)
{
    config.socket = server.socketPath();
    config.host = QStringLiteral("localhost");
    return config;
}

void upgradeIndexes(TMojeDatabaze &databaze)
{
    // A log line, not a box: the desk works without them, only slower.
    const Indexes::Result result = Indexes::addMissing(databaze);
    if (!result.added.isEmpty())
        qInfo("Vitrana: indexy doplněny: %s", qUtf8Printable(result.added.join(QStringLiteral(", "))));
    for (const QString &problem : result.problems)
        qWarning("Vitrana: %s", qUtf8Printable(problem));
}
