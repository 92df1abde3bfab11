// The private server: first start, desks joining and leaving, what a crash
// leaves behind, a start that fails, and the first-use database.

#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QtTest>
#include <signal.h>
#include <sys/stat.h>

namespace {
// Live and not a zombie (a detached server killed here may wait to be reaped).
bool alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const char state = line.at(line.lastIndexOf(')') + 2);
    return state != 'Z' && state != 'X';
}

std::unique_ptr<TMojeDatabaze> openOn(const PrivateServer &server, const QString &name = QString())
{
    Configuration c;
    c.mode = Configuration::Mode::MySql;
    c.socket = server.socketPath();
    c.name = name;
    auto db = std::make_unique<TMojeDatabaze>(c);
    db->open(PrivateServer::osUser(), QString());
    return db;
}
} // namespace

class TestPrivateServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{QDir::tempPath() + "/vitrana-test-XXXXXX"};

    QString folder(const char *name) const { return m_dir.path() + u'/' + QLatin1String(name); }

private slots:
    void firstDeskStartsLastDeskStops()
    {
        PrivateServer a(folder("shared"));
        a.start();
        const qint64 pid = a.serverPid();
        QVERIFY(pid > 0);

        struct stat st {};
        QCOMPARE(::stat(QFileInfo(a.socketPath()).path().toLocal8Bit().constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);
        QCOMPARE(TestPrivateServerAccountCheck(a), PrivateServer::osUser());

        PrivateServer b(folder("shared"));
        b.start();
        QCOMPARE(b.serverPid(), pid);        // joined, not a second server

        a.release();
        QVERIFY(alive(pid));                 // b still works on it
        QVERIFY(openOn(b)->isOpen());

        b.release();
        QVERIFY(!alive(pid));
        QCOMPARE(b.serverPid(), 0);
        QVERIFY(!QFileInfo::exists(b.socketPath()));
    }

    void crashLeftoversAreCleared()
    {
        PrivateServer a(folder("crash"));
        a.start();
        const qint64 pid = a.serverPid();
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        QTRY_VERIFY(!alive(pid));
        QVERIFY(QFileInfo::exists(a.socketPath()));   // a crash leaves its socket and pid file

        PrivateServer b(folder("crash"));
        b.start();
        QVERIFY(b.serverPid() > 0);
        QVERIFY(b.serverPid() != pid);
        QVERIFY(openOn(b)->isOpen());
        b.release();
        // a is still registered in memory but its server is gone; leaving is harmless
        a.release();
        QCOMPARE(b.serverPid(), 0);
    }

    void failedStartNamesTheLog()
    {
        PrivateServer a(folder("broken"));
        a.setExtraArguments({QStringLiteral("--no-such-option-at-all")});
        try {
            a.start();
            QFAIL("the server started with a bad option");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.text().contains(a.logFile()), qPrintable(e.text()));
            QVERIFY2(e.text().contains("no-such-option-at-all"), qPrintable(e.text()));   // the log's own words
        }
        QCOMPARE(a.serverPid(), 0);

        // The same folder starts normally afterwards.
        PrivateServer b(folder("broken"));
        b.start();
        QVERIFY(b.serverPid() > 0);
    }

    void longFolderPathGetsShortSocket()
    {
        const QString deep = folder("d") + "/" + QString(120, 'x');
        PrivateServer a(deep);
        QVERIFY(a.socketPath().toLocal8Bit().size() < 108);
        a.start();
        QVERIFY(openOn(a)->isOpen());
    }

    void firstUseCreatesTheDatabase()
    {
        PrivateServer a(folder("install"));
        a.start();
        QVERIFY(Installation::createDatabaseIfMissing(a.socketPath(), "hotel", true));
        QVERIFY(!Installation::createDatabaseIfMissing(a.socketPath(), "hotel", true));
        QVERIFY(Installation::createDatabaseIfMissing(a.socketPath(), "prazdny", false));

        auto db = openOn(a, "hotel");
        TMojeQuery q(*db);
        const auto count = [&](const QString &select) {
            q.setSql(select);
            q.open();
            return q.integer("pocet");
        };
        // The eleven tables and the remembered web identifiers.
        QCOMPARE(count("SELECT COUNT(*) AS pocet FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'hotel'"), 12);
        QCOMPARE(count("SELECT COUNT(*) AS pocet FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'hotel' "
                       "AND ENGINE = 'InnoDB' AND TABLE_COLLATION LIKE 'utf8mb4%'"), 12);
        QVERIFY(count("SELECT COUNT(*) AS pocet FROM typy_klientu_tab WHERE typ_klienta_id = 1") == 1);
        QCOMPARE(count("SELECT COUNT(*) AS pocet FROM skupiny_pokoju_tab"), 3);
        QVERIFY(count("SELECT COUNT(*) AS pocet FROM pokoje_tab") >= 18);
        QVERIFY(count("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab "
                      "WHERE od_kdy <= CURDATE() + INTERVAL 29 DAY AND do_kdy >= CURDATE()") > 0);
        QVERIFY(count("SELECT COUNT(DISTINCT datum) AS pocet FROM kalendar_typy_dnu_tab "
                      "WHERE datum BETWEEN CURDATE() AND CURDATE() + INTERVAL 364 DAY") == 365);
        // Czech text goes in and comes out whole.
        q.exec("INSERT INTO klienti_tab SET jmeno = \"Řehoř Šťastný\"");
        q.setSql("SELECT jmeno FROM klienti_tab WHERE jmeno LIKE 'Řehoř%'");
        q.open();
        QCOMPARE(q.text("jmeno"), QStringLiteral("Řehoř Šťastný"));

        auto empty = openOn(a, "prazdny");
        TMojeQuery e(*empty);
        e.setSql("SELECT COUNT(*) AS pocet FROM pokoje_tab");
        e.open();
        QCOMPARE(e.integer("pocet"), 0);
        e.setSql("SELECT COUNT(*) AS pocet FROM klient_zobrazit_tab");
        e.open();
        QVERIFY(e.integer("pocet") >= 3);   // installation data even in an empty hotel
    }

private:
    static QString TestPrivateServerAccountCheck(const PrivateServer &server)
    {
        auto db = openOn(server);
        TMojeQuery q(*db);
        q.setSql("SELECT SUBSTRING_INDEX(CURRENT_USER(), '@', 1) AS ucet");
        q.open();
        return q.text("ucet");
    }
};

QTEST_GUILESS_MAIN(TestPrivateServer)
#include "test_privateserver.moc"
