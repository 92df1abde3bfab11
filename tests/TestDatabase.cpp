#include "TestDatabase.h"
#include "db/SqlKlienti.h"

#include "core/Recepce.h"
#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace TestDatabase {

namespace {
std::unique_ptr<PrivateServer> server;
std::unique_ptr<TMojeDatabaze> connection;

QString databaseName()
{
    return QStringLiteral("test_") + QFileInfo(QCoreApplication::applicationFilePath()).baseName();
}

void check(QSqlQuery &q, const QString &statement)
{
    if (!q.exec(statement))
        QFAIL(qPrintable(statement + QStringLiteral(": ") + q.lastError().text()));
}
} // namespace

void setUp()
{
    server = std::make_unique<PrivateServer>(QStringLiteral(VITRANA_TEST_SERVER_DIR));
    server->start();

    Configuration admin = config();
    admin.name.clear();
    {
        TMojeDatabaze a(admin);
        a.open(PrivateServer::osUser(), QString());
        TMojeQuery q(a);
        q.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + databaseName());
        q.exec(QStringLiteral("CREATE DATABASE ") + databaseName()
               + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"));
        q.exec(QStringLiteral("USE ") + databaseName());
        Installation::createTables(q, false);
    }
    connection = std::make_unique<TMojeDatabaze>(config());
    connection->open(PrivateServer::osUser(), QString());
    connection->makeCurrent();

    // The main window logs in with these instead of asking.
    qputenv("VITRANA_DB_USER", PrivateServer::osUser().toLocal8Bit());
    qputenv("VITRANA_DB_PASSWORD", "");
}

void tearDown()
{
    connection.reset();
    server.reset();
}

TMojeDatabaze &db()
{
    return *connection;
}

Configuration config()
{
    // Straight to the running server's socket, as to a shared server.
    Configuration c;
    c.mode = Configuration::Mode::MySql;
    c.name = databaseName();
    c.socket = server->socketPath();
    c.listenPort = 0;   // any free port: test programs run side by side
    return c;
}

std::unique_ptr<TMojeDatabaze> openAnother()
{
    auto other = std::make_unique<TMojeDatabaze>(config());
    other->open(PrivateServer::osUser(), QString());
    return other;
}

std::unique_ptr<Recepce> openDesk(const Configuration &c)
{
    auto recepce = std::make_unique<Recepce>(c, false);
    recepce->pripoj();   // the account from the environment, as setUp() leaves it
    return recepce;
}

void clearTables()
{
    for (const char *table : {"pokoje_tab", "skupiny_pokoju_tab", "skupiny_pokoju_propojeni_tab",
                              "typy_pokoju_tab", "typy_dnu_tab", "kalendar_typy_dnu_tab", "ceny_pokoje_tab",
                              "typy_klientu_tab", "klient_zobrazit_tab", "klienti_tab",
                              "objednavky_pokoje_tab", "webove_rezervace_tab", "ciselne_rady_tab", "zamky_tab",
                              "hotel_udaje_tab", "osvobozeni_tab", "hoste_tab", "prijezdy_tab", "stav_pokoju_tab",
                              "mimo_provoz_tab", "ubyport_tab", "hoste_opravy_tab"})
        exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    // The clients changed behind the desk's back: its shared client list must read them again.
    exec(SqlKlienti::bumpClientStamp());
}

void exec(const QString &statement)
{
    QSqlQuery q(connection->database());
    check(q, statement);
}

void insertClients(const QString &values)
{
    exec(QStringLiteral("SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO')"));
    exec(QStringLiteral("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES ") + values);
    exec(QStringLiteral("SET SESSION sql_mode = REPLACE(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO', '')"));
}

QVariant value(const QString &select)
{
    QSqlQuery q(connection->database());
    check(q, select);
    return q.next() ? q.value(0) : QVariant();
}

QStringList rows(const QString &select)
{
    QSqlQuery q(connection->database());
    check(q, select);
    QStringList out;
    while (q.next()) {
        QStringList columns;
        for (int i = 0; i < q.record().count(); ++i)
            columns << q.value(i).toString();
        out << columns.join(u'|');
    }
    return out;
}

QStringList rows(const QString &select, TMojeDatabaze &db)
{
    TMojeQuery q(db);
    q.setSql(select);
    q.open();
    QStringList out;
    for (; !q.eof(); q.next()) {
        QStringList columns;
        for (const QString &c : q.columnNames())
            columns << q.text(c);
        out << columns.join(u'|');
    }
    return out;
}

bool processAlive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const char state = line.at(line.lastIndexOf(')') + 2);
    return state != 'Z' && state != 'X';
}

} // namespace TestDatabase
