// The command line, the configuration file (a bad one stops the desk with
// exit status 2 instead of opening some other hotel) and the notice of a
// sample or empty hotel in the main window.

#include "TestDatabase.h"

#include "app/Startup.h"
#include "app/TVitranaForm.h"
#include "db/Configuration.h"
#include "db/DatabaseError.h"
#include "gui/MessageBox.h"

#include <QLabel>
#include <QProcess>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    bool m_database = false;

    QString file(const QByteArray &content, const QString &name = QStringLiteral("hotel.conf"))
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void cleanupTestCase()
    {
        if (m_database) {
            TestDatabase::exec(QStringLiteral("DROP DATABASE IF EXISTS test_startup_novy"));
            TestDatabase::tearDown();
        }
    }

    void missingDefaultFileMeansThePrivateServer()
    {
        const Configuration c = Configuration::load(m_dir.filePath("neni.conf"));
        QCOMPARE(c.mode, Configuration::Mode::Private);
        QCOMPARE(c.name, QStringLiteral("hotel"));
        QCOMPARE(c.listenPort, 9876);
        QCOMPARE(c.timeoutSeconds, 10);
    }

    void keys()
    {
        Configuration c = Configuration::load(file("[database]\nmode = mysql\nhost = db.hotel.cz\nport = 3307\n"
                                                   "name = recepce\ntimeout = 30\nlock_wait = 7\n"
                                                   "[web]\nlisten_port = 19876\n"));
        QCOMPARE(c.mode, Configuration::Mode::MySql);
        QCOMPARE(c.host, QStringLiteral("db.hotel.cz"));
        QCOMPARE(c.port, 3307);
        QCOMPARE(c.name, QStringLiteral("recepce"));
        QCOMPARE(c.timeoutSeconds, 30);
        QCOMPARE(c.lockWaitSeconds, 7);
        QCOMPARE(c.listenPort, 19876);

        // A list of servers, each with the port of its own or the common one.
        c = Configuration::load(file("[database]\nmode = mysql\nhost = db1, db2:3307 ,[fd00::2]:3308,[::1]\nport = 3310\n"));
        QCOMPARE(c.servers(), (QList<Configuration::Server>{{"db1", 3310}, {"db2", 3307}, {"fd00::2", 3308}, {"::1", 3310}}));

        c = Configuration::load(file("[database]\nmode = ODBC\n"));
        QCOMPARE(c.mode, Configuration::Mode::Odbc);
        QCOMPARE(c.dsn, QStringLiteral("hotel"));

        c = Configuration::load(file("[database]\ndatadir = /srv/vitrana\n"));
        QCOMPARE(c.mode, Configuration::Mode::Private);
        QCOMPARE(c.datadir, QStringLiteral("/srv/vitrana"));

        // what a hand-written file may hold: a BOM, CRLF, comments, blanks, quotes, any case
        c = Configuration::load(file("\xEF\xBB\xBF; recepce v přízemí\r\n\r\n  [Database]  \r\n"
                                     "# sdílený server\r\nMode=MySQL\r\n\tdsn = \"Hotel Praha \"\r\n"
                                     "socket = \"/run/my sql/mysqld.sock\"\r\n"));
        QCOMPARE(c.mode, Configuration::Mode::MySql);
        QCOMPARE(c.dsn, QStringLiteral("Hotel Praha "));
        QCOMPARE(c.socket, QStringLiteral("/run/my sql/mysqld.sock"));
    }

    void badFilesStopTheDesk_data()
    {
        QTest::addColumn<QByteArray>("content");   // null: the file is the path below
        QTest::addColumn<bool>("required");        // named with --config, or the default file
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("path");

        QFile::link(m_dir.filePath("zadny.conf"), m_dir.filePath("odkaz.conf"));
        QTest::newRow("missing --config file") << QByteArray() << true << 0 << "neexistuje" << m_dir.filePath("x");
        QTest::newRow("a folder") << QByteArray() << false << 0 << "složka" << m_dir.path();
        QTest::newRow("a device") << QByteArray() << false << 0 << "obyčejný" << "/dev/zero";
        QTest::newRow("a link to nothing") << QByteArray() << false << 0 << "odkaz" << m_dir.filePath("odkaz.conf");

        const auto bad = [](const char *name, const QByteArray &content, int line, const char *problem) {
            QTest::newRow(name) << content << false << line << QString::fromUtf8(problem) << QString();
        };
        bad("random bytes", QByteArray("\x9d\x11\xe4\x7f\xc3(\x02\xff\x80\x8e\n\x13\xfe\xa9", 14), 1, "UTF-8");
        bad("NUL bytes", QByteArray("[web]\n\0\0\0\0", 10), 2, "řídicí znak");
        bad("text that is no INI", "[database]\nmode: mysql\n", 2, "klíč = hodnota");
        bad("[databse] typo", "[databse]\nmode = mysql\nhost = db.hotel.cz\n", 1, "[databse]");
        bad("section and key on one line", "[database] mode=mysql\n", 1, "vlastní řádek");
        bad("unknown key", "[database]\nmode = mysql\nhots = db\n", 3, "hots");
        bad("key of the other section", "[web]\nport = 3306\n", 2, "port");
        bad("key before any section", "mode = mysql\n", 1, "před první sekcí");
        bad("key twice", "[database]\nmode = mysql\nhost = a\n\nhost = b\n", 5, "už na řádku 3");
        bad("mode=mysqll", "[database]\nmode=mysqll\n", 2, "mysqll");
        bad("port=0", "[database]\nmode = mysql\nport=0\n", 3, "port");
        bad("timeout=abc", "[database]\ntimeout=abc\n", 2, "timeout");
        bad("lock_wait 0", "[database]\nlock_wait = 0\n", 2, "lock_wait");
        bad("listen port out of range", "[web]\nlisten_port = 70000\n", 2, "listen_port");
        bad("empty value", "[database]\nmode = mysql\nhost =\n", 3, "nemá hodnotu");
        bad("unclosed quote", "[database]\ndsn = \"hotel\n", 2, "uvozovky");
        bad("host with a comment", "[database]\nhost = db ; hlavní\n", 2, "mezery");
        bad("server missing between commas", "[database]\nhost = db1,,db2\n", 2, "mezi čárkami");
        bad("port of a server out of range", "[database]\nhost = db1, db2:99999\n", 2, "port");
        bad("datadir under ~", "[database]\ndatadir = ~/hotel\n", 2, "~");
        bad("private database name a server cannot make", "[database]\nname = hotel-praha\n", 2, "název databáze");
    }
    void badFilesStopTheDesk()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, required);
        QFETCH(int, line);
        QFETCH(QString, problem);
        QFETCH(QString, path);

        const QString name = content.isNull() ? path : file(content);
        try {
            Configuration::load(name, required);
            QFAIL("the file was accepted");
        } catch (const ConfigurationError &e) {
            QCOMPARE(e.file(), name);
            QCOMPARE(e.line(), line);
            QVERIFY2(e.problem().contains(problem), qPrintable(e.problem()));
            QVERIFY(e.text().contains(name));
            if (line > 0)
                QVERIFY2(e.text().contains(QStringLiteral("řádek %1:").arg(line)), qPrintable(e.text()));
        }
    }

    void commandLine()
    {
        StartOptions o = StartOptions::parse({"vitrana", "--config", "/etc/x.conf", "--empty-hotel"});
        QCOMPARE(o.configFile, QStringLiteral("/etc/x.conf"));
        QVERIFY(o.configGiven);
        QVERIFY(o.emptyHotel);
        QVERIFY(o.error.isEmpty());
        o = StartOptions::parse({"vitrana"});
        QCOMPARE(o.configFile, Configuration::defaultFile());
        QVERIFY(!o.configGiven);
        QVERIFY(!o.emptyHotel);
        o = StartOptions::parse({"vitrana", "--bogus"});
        QVERIFY(o.error.contains("--bogus"));
        o = StartOptions::parse({"vitrana", "--config"});
        QVERIFY(o.error.contains("--config"));
        o = StartOptions::parse({"vitrana", "--config="});
        QVERIFY(o.error.contains("--config"));

        // offscreen: reported on stderr only, nothing waits for a box
        MessageBox::clearHistory();
        o = StartOptions::parse({"vitrana", "--config", m_dir.filePath("neni.conf")});
        QVERIFY(!startConfiguration(o));
        QVERIFY(MessageBox::history().isEmpty());
    }

    void theDeskExitsWithStatus2_data()
    {
        QTest::addColumn<QStringList>("arguments");   // "HOME" stands for the row's folder
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing --config file") << QStringList{"--config", "HOME/neni.conf"} << "offscreen"
                                               << "neni.conf: soubor neexistuje";
        QTest::newRow("corrupt default file") << QStringList() << "offscreen"
                                              << "hotel.conf, řádek 2: neznámá sekce [databse]";
        // As cron runs it: no display to open a window on.
        QTest::newRow("mistyped option without a display") << QStringList{"--bakcup", "x"} << "xcb"
                                                           << "Neznámý parametr --bakcup";
    }
    void theDeskExitsWithStatus2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QString, expected);
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../vitrana");
        if (!QFileInfo(program).isExecutable())
            QSKIP("vitrana is not built");

        const QString home = m_dir.filePath(QTest::currentDataTag());
        file("; hotel\n[databse]\nmode = mysql\n", QString(QTest::currentDataTag()) + "/config/vitrana/hotel.conf");
        file("", QString(QTest::currentDataTag()) + "/soubor");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", platform);
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("XDG_CONFIG_HOME", home + "/config");
        // If the desk fell back to a private server, it could not make one here.
        env.insert("XDG_DATA_HOME", home + "/soubor/data");
        env.remove("VITRANA_DB_USER");
        QProcess desk;
        desk.setProcessEnvironment(env);
        arguments.replaceInStrings(QStringLiteral("HOME"), home);
        desk.start(program, arguments);
        QVERIFY(desk.waitForStarted());
        const bool ended = desk.waitForFinished(60000);
        if (!ended) {
            desk.kill();
            desk.waitForFinished();
        }
        QVERIFY2(ended, "the desk did not stop");
        QCOMPARE(desk.exitStatus(), QProcess::NormalExit);
        QCOMPARE(desk.exitCode(), 2);
        const QString err = QString::fromUtf8(desk.readAllStandardError());
        QVERIFY2(err.contains(expected), qPrintable(err));
    }

    void theWindowSaysWhatTheHotelIs_data()
    {
        QTest::addColumn<QString>("database");   // empty: the test's own, with a room
        QTest::addColumn<bool>("emptyHotel");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("notice");
        QTest::newRow("first start, sample hotel") << "test_startup_novy" << false << "Vitrana – ukázkový hotel"
                                                   << "Ukázkový hotel";
        QTest::newRow("first start, --empty-hotel") << "test_startup_novy" << true << "Vitrana – prázdný hotel"
                                                    << "Prázdný hotel";
        QTest::newRow("the hotel's own data") << "" << false << "Vitrana" << "";
    }
    void theWindowSaysWhatTheHotelIs()
    {
        QFETCH(QString, database);
        QFETCH(bool, emptyHotel);
        QFETCH(QString, title);
        QFETCH(QString, notice);
        if (!m_database) {
            TestDatabase::setUp();
            m_database = true;
        }
        MessageBox::clearHistory();
        MessageBox::setDefaultAnswer(QMessageBox::Ok);

        Configuration config = TestDatabase::config();
        if (database.isEmpty()) {
            TestDatabase::clearTables();
            TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1)");
        } else {
            // the desk's own first start, on the private server's folder
            TestDatabase::exec("DROP DATABASE IF EXISTS " + database);
            config.mode = Configuration::Mode::Private;
            config.datadir = QStringLiteral(VITRANA_TEST_SERVER_DIR);
            config.socket.clear();
            config.name = database;
        }
        // the first start and the next one
        for (int start = 1; start <= 2; ++start) {
            const std::unique_ptr<Recepce> recepce = connectDesk(config, emptyHotel);
            QVERIFY2(recepce, qPrintable(MessageBox::history().isEmpty() ? QString()
                                             : MessageBox::history().last().detail));
            TVitranaForm form(recepce.get());
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE(form.windowTitle(), title);
            auto *label = form.findChild<QLabel *>("ObsahDatabazeLabel");
            QVERIFY(label);
            QCOMPARE(label->isVisible(), !notice.isEmpty());
            QCOMPARE(label->text().left(notice.size()), notice);
        }
        QVERIFY(MessageBox::history().isEmpty());
        MessageBox::setDefaultAnswer(QMessageBox::NoButton);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
