// The private server's automatic backups: which old ones go, the backup the
// last desk writes when it leaves, the daily one, a failure that must show,
// and the menu's backup into a chosen file.

#include "TestDatabase.h"

#include "app/TVitranaForm.h"
#include "core/Recepce.h"
#include "core/Zalohovani.h"
#include "db/PrivateServer.h"
#include "db/Zaloha.h"
#include "gui/MessageBox.h"

#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

class TestZalohovani : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{QDir::tempPath() + "/vitrana-test-XXXXXX"};

    Configuration privateConfig() const
    {
        Configuration c;
        c.mode = Configuration::Mode::Private;
        c.datadir = m_dir.filePath(QStringLiteral("server"));
        c.listenPort = 0;   // any free port
        return c;
    }
    QStringList backups(const Configuration &c) const
    {
        return QDir(c.automaticBackupFolder()).entryList({QStringLiteral("zaloha-*.sql.gz")}, QDir::Files, QDir::Name);
    }

private slots:
    void initTestCase()
    {
        qputenv("VITRANA_DB_USER", PrivateServer::osUser().toLocal8Bit());
        qputenv("VITRANA_DB_PASSWORD", "");
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
    }

    void theNewestOfEachDayAreKept_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("keep");
        QTest::addColumn<QStringList>("removed");
        const QStringList three{"zaloha-20261205-235959.sql.gz", "zaloha-20261207-080000.sql.gz",
                                "zaloha-20261206-120000.sql.gz"};
        QTest::newRow("fewer than kept") << three << 14 << QStringList();
        QTest::newRow("the oldest goes") << three << 2 << QStringList{"zaloha-20261205-235959.sql.gz"};
        QTest::newRow("keep one") << three << 1
                                  << QStringList{"zaloha-20261206-120000.sql.gz", "zaloha-20261205-235959.sql.gz"};
        // Two in one second: the second name's suffix makes it the newer one.
        QTest::newRow("same second") << QStringList{"zaloha-20261207-080000-2.sql.gz", "zaloha-20261207-080000.sql.gz"}
                                     << 1 << QStringList{"zaloha-20261207-080000.sql.gz"};
        // Five starts a day for three days, keep 2: the newest of the two latest days stay.
        QStringList fifteen;
        for (const char *day : {"20261205", "20261206", "20261207"})
            for (const char *time : {"080000", "100000", "120000", "140000", "235900"})
                fifteen << QString("zaloha-%1-%2.sql.gz").arg(day, time);
        QStringList removed = fifteen;
        removed.removeAll("zaloha-20261207-235900.sql.gz");
        removed.removeAll("zaloha-20261206-235900.sql.gz");
        std::reverse(removed.begin(), removed.end());
        QTest::newRow("keep means days") << fifteen << 2 << removed;
        // What the administrator put there, and half-written files, are not ours to delete.
        QTest::newRow("foreign files stay")
            << QStringList{"zaloha-20200101-000000.sql.gz.part", "hotel-20200101.sql.gz", "zaloha-2020.sql.gz",
                           "zaloha-20200101-000000.sql.gz", "zaloha-20261207-080000.sql.gz", "pred-obnovou-20200101-000000.sql.gz"}
            << 1 << QStringList{"zaloha-20200101-000000.sql.gz"};
    }
    void theNewestOfEachDayAreKept()
    {
        QFETCH(QStringList, names);
        QFETCH(int, keep);
        QFETCH(QStringList, removed);
        QCOMPARE(AutomatickeZalohy::nadbytecne(names, keep, QDate(2026, 12, 1)), removed);
        // Today's are all kept, and today is one of the days.
        const QStringList today = AutomatickeZalohy::nadbytecne(names, keep, QDate(2026, 12, 7));
        for (const QString &name : today)
            QVERIFY2(!name.contains("20261207"), qPrintable(name));
    }

    void theLastDeskLeavingBacksUp()
    {
        const Configuration c = privateConfig();
        auto first = TestDatabase::openDesk(c);
        auto second = TestDatabase::openDesk(c);
        QVERIFY(first->zalohy());
        second.reset();
        QCOMPARE(backups(c), QStringList());   // the first desk still works
        first.reset();
        const QStringList written = backups(c);
        QCOMPARE(written.size(), 1);
        const QList<KontrolaTabulky> checks =
            Zaloha::kontrolySouboru(QDir(c.automaticBackupFolder()).filePath(written.first()));
        QVERIFY(std::any_of(checks.begin(), checks.end(), [](const KontrolaTabulky &k) {
            return k.tabulka == QLatin1String("objednavky_pokoje_tab") && k.radku > 0;   // the sample hotel's
        }));

        // The next start finds today's backup and writes no other; the next day's first start does, however
        // soon after it (a desk killed later that day writes none when it goes).
        auto desk = TestDatabase::openDesk(c);
        AutomatickeZalohy *zalohy = desk->zalohy();
        QVERIFY(!zalohy->zalohujJeLiTreba());
        QSignalSpy done(zalohy, &AutomatickeZalohy::stav);
        QVERIFY(zalohy->zalohujJeLiTreba(QDateTime(QDate::currentDate().addDays(1), QTime(0, 0, 30))));
        QVERIFY(done.wait(30000));
        QCOMPARE(done.first().at(1).toBool(), false);
        QCOMPARE(backups(c).size(), 2);
    }

    void aDeskEndedByExitBacksUpAndStopsItsServer()
    {
        // As Qt's xcb platform ends the process when the display goes away.
        Configuration c = privateConfig();
        c.datadir = m_dir.filePath(QStringLiteral("exit"));
        QProcess desk;
        desk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        desk.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--desk-then-exit"), c.datadir});
        QVERIFY(desk.waitForFinished(120000));
        QCOMPARE(desk.exitStatus(), QProcess::NormalExit);
        QCOMPARE(desk.exitCode(), 1);
        QCOMPARE(backups(c).size(), 1);
        QCOMPARE(PrivateServer(c.privateFolder()).serverPid(), 0);
    }

    void aFailedBackupShows()
    {
        Configuration c = privateConfig();
        c.backupFolder = m_dir.filePath(QStringLiteral("not-a-folder"));
        QFile blocker(c.backupFolder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        auto desk = TestDatabase::openDesk(c);
        TVitranaForm form(desk.get());
        form.createDialogs();
        auto *indicator = form.findChild<QLabel *>(QStringLiteral("IndikatorZaloh"));
        QVERIFY(indicator);
        QVERIFY(!desk->zalohy()->zalohujJeLiTreba());
        QCOMPARE(indicator->text(), QStringLiteral("Záloha selhala"));
        QVERIFY2(indicator->toolTip().contains(c.backupFolder), qPrintable(indicator->toolTip()));
        QVERIFY(indicator->styleSheet().contains(QLatin1String("color")));
    }

    void theMenusBackupGoesToTheChosenFile()
    {
        auto desk = TestDatabase::openDesk(privateConfig());
        TVitranaForm form(desk.get());
        form.createDialogs();
        MessageBox::clearHistory();
        const QString file = m_dir.filePath(QStringLiteral("vyber/hotel.sql.gz"));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(form.zalohujDo(file));
        QVERIFY(!form.zalohujDo(file + QStringLiteral(".2")));   // one at a time
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::history().size(), 1, 30000);
        QVERIFY2(MessageBox::history().first().text.contains(QStringLiteral("je zapsána")),
                 qPrintable(MessageBox::history().first().text + MessageBox::history().first().detail));
        QVERIFY(!Zaloha::kontrolySouboru(file).isEmpty());
    }
};

int main(int argc, char *argv[])
{
    // The desk of aDeskEndedByExitBacksUpAndStopsItsServer, in a process of its own.
    if (argc == 3 && qstrcmp(argv[1], "--desk-then-exit") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        qputenv("VITRANA_DB_USER", PrivateServer::osUser().toLocal8Bit());
        qputenv("VITRANA_DB_PASSWORD", "");
        Configuration c;
        c.mode = Configuration::Mode::Private;
        c.datadir = QString::fromLocal8Bit(argv[2]);
        c.listenPort = 0;
        Recepce desk(c, false);
        desk.pripoj();
        desk.ukoncitIPriExit();
        std::exit(1);
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestZalohovani test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_zalohovani.moc"
