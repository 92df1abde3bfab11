// The private server: first start, desks joining and leaving, what a crash
// leaves behind, a start that fails, and the first-use database.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QtTest>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utime.h>

namespace {
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
        QVERIFY(TestDatabase::processAlive(pid));                 // b still works on it
        QVERIFY(openOn(b)->isOpen());

        b.release();
        QVERIFY(!TestDatabase::processAlive(pid));
        QCOMPARE(b.serverPid(), 0);
        QVERIFY(!QFileInfo::exists(b.socketPath()));
    }

    void crashLeftoversAreCleared()
    {
        PrivateServer a(folder("crash"));
        a.start();
        const qint64 pid = a.serverPid();
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        QTRY_VERIFY(!TestDatabase::processAlive(pid));
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
        // Two failed starts: each message tells its own reason, not an older one's.
        for (const char *option : {"--no-such-option-at-all", "--another-bad-option"}) {
            PrivateServer a(folder("broken"));
            a.setExtraArguments({QLatin1String(option)});
            try {
                a.start();
                QFAIL("the server started with a bad option");
            } catch (const DatabaseError &e) {
                QVERIFY2(e.text().contains(a.logFile()), qPrintable(e.text()));
                QVERIFY2(e.text().contains(QLatin1String(option + 2)), qPrintable(e.text()));   // the log's own words
                QVERIFY2(e.text().contains("[ERROR]"), qPrintable(e.text()));
                if (option[2] == 'a')
                    QVERIFY2(!e.text().contains("no-such-option"), qPrintable(e.text()));
            }
            QCOMPARE(a.serverPid(), 0);
        }

        // The same folder starts normally afterwards.
        PrivateServer b(folder("broken"));
        b.start();
        QVERIFY(b.serverPid() > 0);
    }

    void stalePidFileNamingAnotherProcess_data()
    {
        QTest::addColumn<bool>("realServer");
        QTest::newRow("a program named mariadbd") << false;
        QTest::newRow("the MariaDB server of another folder") << true;
    }
    void stalePidFileNamingAnotherProcess()
    {
        QFETCH(bool, realServer);
        // The other process: a real server on another folder, or a program
        // that only bears the name.
        QProcess fake;
        std::unique_ptr<PrivateServer> other;
        qint64 otherPid = 0;
        if (realServer) {
            other = std::make_unique<PrivateServer>(folder("other"));
            other->start();
            otherPid = other->serverPid();
        } else {
            QVERIFY(QDir().mkpath(folder("fake")));
            QFile::link("/bin/sleep", folder("fake") + "/mariadbd");
            fake.start(folder("fake") + "/mariadbd", {"300"});
            QVERIFY(fake.waitForStarted());
            otherPid = fake.processId();
        }
        QVERIFY(TestDatabase::processAlive(otherPid));

        // A crash left our pid file; its pid now names that process.
        QVERIFY(QDir().mkpath(folder("stale") + "/run"));
        QFile pid(folder("stale") + "/run/mysql.pid");
        QVERIFY(pid.open(QIODevice::WriteOnly));
        pid.write(QByteArray::number(otherPid) + '\n');
        pid.close();

        PrivateServer a(folder("stale"));
        a.start();
        QVERIFY(a.serverPid() > 0);
        QVERIFY(a.serverPid() != otherPid);   // a server of its own, not the other process
        QVERIFY(openOn(a)->isOpen());
        a.release();
        QCOMPARE(a.serverPid(), 0);
        QVERIFY(TestDatabase::processAlive(otherPid));             // never signalled
        if (other)
            QVERIFY(openOn(*other)->isOpen());
        fake.kill();
        fake.waitForFinished();
    }

    void leavingWithALockFileThatCannotBeWritten()
    {
        PrivateServer a(folder("full"));
        a.start();
        const qint64 pid = a.serverPid();
        {
            // As on a full disk: no file of the desk can be written.
            const sighandler_t before = ::signal(SIGXFSZ, SIG_IGN);
            rlimit old {};
            ::getrlimit(RLIMIT_FSIZE, &old);
            rlimit none = old;
            none.rlim_cur = 0;
            ::setrlimit(RLIMIT_FSIZE, &none);
            a.release();
            ::setrlimit(RLIMIT_FSIZE, &old);
            ::signal(SIGXFSZ, before);
        }
        QVERIFY(!TestDatabase::processAlive(pid));   // the desk exited: its server did too

        // A lock file the full disk left half-written holds nobody.
        const QString lock = QFileInfo(a.socketPath()).path() + "/vitrana.lock";
        QFile junk(lock);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.close();
        const utimbuf past{::time(nullptr) - 60, ::time(nullptr) - 60};
        QCOMPARE(::utime(lock.toLocal8Bit().constData(), &past), 0);
        PrivateServer b(folder("full"));
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
        // The eleven tables, the remembered web identifiers, the clients' change stamp, the history,
        // the saves' lock rows, the number series, the tables of the guests' stays and their corrections, the
        // open desks, and the guests reported to the police.
        QCOMPARE(count("SELECT COUNT(*) AS pocet FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'hotel'"), 25);
        QCOMPARE(count("SELECT COUNT(*) AS pocet FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'hotel' "
                       "AND ENGINE = 'InnoDB' AND TABLE_COLLATION LIKE 'utf8mb4%'"), 25);
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
