#include "app/Startup.h"
#include "app/TLoginDialog.h"
#include "gui/MessageBox.h"

#include "db/DatabaseError.h"
#include "db/Indexes.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <cstdio>

StartOptions StartOptions::parse(const QStringList &arguments)
{
    StartOptions o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--config") || a.startsWith(QLatin1String("--config="))) {
            const bool separate = a == QLatin1String("--config");
            o.configFile = separate ? (i + 1 < arguments.size() ? arguments[++i] : QString()) : a.mid(9);
            o.configGiven = true;
            if (o.configFile.isEmpty())
                o.error = QCoreApplication::translate("Startup", "Za --config chybí jméno konfiguračního souboru.");
        } else if (a == QLatin1String("--empty-hotel"))
            o.emptyHotel = true;
        else
            o.error = QCoreApplication::translate("Startup", "Neznámý parametr %1.\n"
                                                             "Použití: vitrana [--config SOUBOR] [--empty-hotel]")
                          .arg(a);
    }
    if (!o.configGiven)
        o.configFile = Configuration::defaultFile();
    return o;
}

Configuration StartOptions::configuration() const
{
    return Configuration::load(configFile, configGiven);
}

std::optional<Configuration> startConfiguration(const StartOptions &options)
{
    if (!options.error.isEmpty()) {
        reportStartupError(options.error);
        return std::nullopt;
    }
    try {
        return options.configuration();
    } catch (const ConfigurationError &e) {
        reportStartupError(e.text() + u'\n'
                           + QCoreApplication::translate("Startup", "Recepce se s touto konfigurací nespustí."));
    }
    return std::nullopt;
}

void reportStartupError(const QString &text)
{
    std::fprintf(stderr, "vitrana: %s\n", qUtf8Printable(text));
    std::fflush(stderr);
    const QString platform = QGuiApplication::platformName();
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal"))
        MessageBox::chyba(nullptr, text, QMessageBox::Critical);
}

Pripojeni::Pripojeni(const Configuration &config, bool emptyHotel)
    : m_config(config), m_emptyHotel(emptyHotel)
{
}

Pripojeni::~Pripojeni()
{
    m_databaze.reset();   // close before the server may be shut down
    m_server.reset();
}

void Pripojeni::open(QWidget *parent)
{
    QString user;
    if (m_config.mode == Configuration::Mode::Private) {
        const QString folder = m_config.datadir.isEmpty() ? Configuration::defaultDatadir() : m_config.datadir;
        m_server = std::make_unique<PrivateServer>(folder);
        m_server->start();
        Installation::createDatabaseIfMissing(m_server->socketPath(), m_config.name, !m_emptyHotel);
        m_config.socket = m_server->socketPath();
        m_config.host = QStringLiteral("localhost");
        user = PrivateServer::osUser();   // the server knows this account through unix_socket
    }

    m_databaze = std::make_unique<TMojeDatabaze>(m_config);
    QString password;
    if (qEnvironmentVariableIsSet("VITRANA_DB_USER") && qEnvironmentVariableIsSet("VITRANA_DB_PASSWORD")) {
        user = qEnvironmentVariable("VITRANA_DB_USER");
        password = qEnvironmentVariable("VITRANA_DB_PASSWORD");
    } else {
        if (user.isEmpty())
            user = PrivateServer::osUser();
        TLoginDialog login(m_databaze->connectionName(), user, parent);
        if (login.exec() != QDialog::Accepted)
            throw DatabaseError(QCoreApplication::translate("Startup", "Přihlášení bylo zrušeno."));
        user = login.userName();
        password = login.password();
    }

    if (m_server)
        m_databaze->setReconnectHook([server = m_server.get()] { server->ensureRunning(); });
    showBusyCursorWhileWaiting();
    m_databaze->open(user, password);
    upgradeIndexes(*m_databaze);

    // A database made by an earlier version gets the tables added since. An
    // account without the right to create them still works; the web import
    // then names the missing table.
    try {
        TMojeQuery q(*m_databaze);
        Installation::createAddedTables(q);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot create the tables added since the database was made: %s", qPrintable(e.text()));
    }
}

void showBusyCursorWhileWaiting()
{
    TMojeDatabaze::setWaitIndicator([](bool waiting) {
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return;
        if (waiting)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    });
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
