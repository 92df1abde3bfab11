// A server that stops answering (its process stopped, as a hung server or a
// cut cable leaves the desk): every action gives up within a bound, a save
// stores nothing, the desk does not wait again at once, and it works again
// on a new connection as soon as the server answers.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/SqlPokoje.h"
#include "db/SqlSpojeni.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QtTest>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <signal.h>
#include <thread>

namespace {
constexpr int timeoutSeconds = 2;
constexpr qint64 boundMs = 4 * timeoutSeconds * 1000;

bool allThreadsStopped(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &id : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(id + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;   // the thread has just ended
        const QByteArray line = stat.readAll();
        if (line.mid(line.lastIndexOf(')') + 2, 1) != "T")   // the state follows the name
            return false;
    }
    return true;
}

/**
 * Stops a server process and lets it go on when destroyed or resumed; at the
 * latest after 30 s, so that a desk waiting for ever fails its test instead
 * of hanging it.
 */
class StoppedServer
{
public:
    explicit StoppedServer(qint64 pid) : m_pid(pid)
    {
        ::kill(pid_t(pid), SIGSTOP);
        m_watchdog = std::thread([this] {
            std::unique_lock lock(m_mutex);
            m_resume.wait_for(lock, std::chrono::seconds(30), [this] { return m_done; });
            ::kill(pid_t(m_pid), SIGCONT);
        });
        // Every thread of the server must be still before the desk sends anything.
        if (!QTest::qWaitFor([pid] { return allThreadsStopped(pid); }, 10000))
            qWarning("the server's threads did not all stop within 10 s");
    }
    ~StoppedServer() { resume(); }
    StoppedServer(const StoppedServer &) = delete;
    StoppedServer &operator=(const StoppedServer &) = delete;

    void resume()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_resume.notify_all();
        if (m_watchdog.joinable())
            m_watchdog.join();
    }

private:
    qint64 m_pid;
    std::mutex m_mutex;
    std::condition_variable m_resume;
    bool m_done = false;
    std::thread m_watchdog;
};

using Akce = std::function<void(TMojeDatabaze &, const std::function<void()> &stop)>;

std::optional<DatabaseError> failure(const std::function<void()> &akce)
{
    try {
        akce();
    } catch (const DatabaseError &e) {
        return e;
    }
    return std::nullopt;
}

QStringList rooms(TMojeDatabaze &db)
{
    return TestDatabase::rows("SELECT pokoj_id, cislo_pokoje FROM pokoje_tab ORDER BY pokoj_id", db);
}

// Or why the desk cannot see them yet (the server may still be ending the cut-off session).
QStringList roomsOrWhy(TMojeDatabaze &db)
{
    QStringList seen;
    const auto e = failure([&] { seen = rooms(db); });
    return e ? QStringList{e->text()} : seen;
}

void loadRooms(TMojeDatabaze &db)
{
    TMojeQuery q(db);
    q.setSql(SqlPokoje::selectRooms());
    q.open();
}
} // namespace

class TestServerNeodpovida : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{QDir::tempPath() + "/vitrana-neodpovida-XXXXXX"};
    std::unique_ptr<PrivateServer> m_server;
    std::unique_ptr<TMojeDatabaze> m_admin;
    QTemporaryFile m_odbcIni;
    int m_attempts = 0;   // reconnects the desk started

private slots:
    void initTestCase()
    {
        // A server of this test's own: stopping the shared test server would stall other programs.
        m_server = std::make_unique<PrivateServer>(m_dir.path() + "/server");
        m_server->start();
        Installation::createDatabaseIfMissing(m_server->socketPath(), "hotel", false);
        m_admin = desk("mysql");

        QVERIFY(m_odbcIni.open());
        m_odbcIni.write(QString("[hotel]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so\nSocket=%1\nDatabase=hotel\n")
                            .arg(m_server->socketPath())
                            .toUtf8());
        m_odbcIni.close();
        qputenv("ODBCINI", m_odbcIni.fileName().toLocal8Bit());
    }
    void cleanupTestCase()
    {
        m_admin.reset();
        m_server.reset();
    }
    void init()
    {
        TMojeQuery q(*m_admin);
        q.exec("DELETE FROM pokoje_tab");
        q.exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
    }
    void cleanup()
    {
        // Whatever failed above, the server must not stay stopped.
        if (const qint64 pid = m_server->serverPid())
            ::kill(pid_t(pid), SIGCONT);
    }

    void serverStopsAnswering_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<Akce>("akce");
        QTest::addColumn<QString>("veta");
        QTest::addColumn<QStringList>("stored");
        const Akce load = [](TMojeDatabaze &db, const std::function<void()> &stop) {
            stop();
            loadRooms(db);
        };
        const Akce save = [](TMojeDatabaze &db, const std::function<void()> &stop) {
            db.save(SqlPokoje::lockRooms(), [&](TMojeQuery &q) {
                q.exec(SqlPokoje::deleteRooms());
                q.exec(SqlPokoje::insertRoom(q.format(), 3, "103", 1));
                stop();
                q.exec(SqlPokoje::insertRoom(q.format(), 4, "104", 1));
            });
        };
        // Sent whole before the server stopped: it carries it out when it goes on.
        const Akce write = [](TMojeDatabaze &db, const std::function<void()> &stop) {
            stop();
            TMojeQuery q(db);
            q.exec(SqlPokoje::insertRoom(q.format(), 5, "105", 1));
        };
        const QStringList before{"1|101", "2|102"};
        for (const QString mode : {"mysql", "odbc"}) {
            QTest::addRow("%s: load the rooms", qPrintable(mode))
                << mode << load << QStringLiteral("Akce nebyla provedena") << before;
            QTest::addRow("%s: save cut off in the middle", qPrintable(mode))
                << mode << save << QStringLiteral("Nic z této změny nebylo uloženo") << before;
        }
        QTest::newRow("mysql: a single insert") << QStringLiteral("mysql") << write
                                                << QStringLiteral("není jisté, zda se příkaz provedl")
                                                << QStringList{"1|101", "2|102", "5|105"};
    }
    void serverStopsAnswering()
    {
        QFETCH(QString, mode);
        QFETCH(Akce, akce);
        QFETCH(QString, veta);
        QFETCH(QStringList, stored);
        auto db = desk(mode);
        db->setRetryPauses(60000, 60000);
        const QStringList before = TestDatabase::rows(SqlSpojeni::selectConnectionId(), *db);
        const qint64 pid = m_server->serverPid();
        std::optional<StoppedServer> stopped;

        QElapsedTimer took;
        took.start();
        auto e = failure([&] { akce(*db, [&] { stopped.emplace(pid); }); });
        QVERIFY2(e, "the action went through a stopped server");
        QVERIFY(stopped);
        QVERIFY2(took.elapsed() < boundMs, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(e->kind(), DatabaseError::Kind::ConnectionLost);
        QVERIFY2(e->veta().startsWith(QStringLiteral("Databázový server neodpovídá")) && e->veta().contains(veta),
                 qPrintable(e->text()));

        // Right after, the desk does not wait again: it fails at once, without connecting.
        const int attempts = m_attempts;
        e = failure([&] { loadRooms(*db); });
        QVERIFY(e);
        QCOMPARE(m_attempts, attempts);
        QCOMPARE(e->kind(), DatabaseError::Kind::ConnectionLost);
        QVERIFY2(e->veta().contains(QStringLiteral("neodpovídá")) && e->veta().contains("Akce nebyla provedena"),
                 qPrintable(e->text()));

        // After the pause one attempt to connect, which gives up in time as well.
        db->setRetryPauses(0, 0);
        took.restart();
        e = failure([&] { loadRooms(*db); });
        QVERIFY(e);
        QVERIFY2(took.elapsed() < boundMs, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(m_attempts, attempts + 1);
        QVERIFY2(e->veta().startsWith(QStringLiteral("Databázový server neodpovídá")), qPrintable(e->text()));

        // The server goes on: the next action works on a new connection, and
        // what the cut-off session left is as the message said.
        stopped->resume();
        QTRY_COMPARE_WITH_TIMEOUT(roomsOrWhy(*db), stored, 20000);
        QVERIFY(TestDatabase::rows(SqlSpojeni::selectConnectionId(), *db) != before);
        QCOMPARE(rooms(*m_admin), stored);
    }

private:
    /** A desk on this test's server, through the MariaDB client or through ODBC. */
    std::unique_ptr<TMojeDatabaze> desk(const QString &mode)
    {
        Configuration c;
        c.mode = mode == "odbc" ? Configuration::Mode::Odbc : Configuration::Mode::MySql;
        c.socket = m_server->socketPath();
        c.timeoutSeconds = timeoutSeconds;
        c.lockWaitSeconds = 1;
        auto db = std::make_unique<TMojeDatabaze>(c);
        db->open(PrivateServer::osUser(), QString());
        db->setReconnectHook([this] { ++m_attempts; });
        return db;
    }
};

QTEST_GUILESS_MAIN(TestServerNeodpovida)
#include "test_server_neodpovida.moc"
