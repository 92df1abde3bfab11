// The command line and the configuration file.

#include "app/Startup.h"
#include "db/Configuration.h"
#include "db/DatabaseError.h"

#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QByteArray &content)
    {
        const QString name = m_dir.filePath("hotel.conf");
        QFile f(name);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return name;
    }

private slots:
    void missingFileMeansThePrivateServer()
    {
        const Configuration c = Configuration::load(m_dir.filePath("neni.conf"));
        QCOMPARE(c.mode, Configuration::Mode::Private);
        QCOMPARE(c.name, QStringLiteral("hotel"));
        QCOMPARE(c.listenPort, 9876);
    }

    void keys()
    {
        Configuration c = Configuration::load(file("[database]\nmode = mysql\nhost = db.hotel.cz\nport = 3307\n"
                                                   "name = recepce\n[web]\nlisten_port = 19876\n"));
        QCOMPARE(c.mode, Configuration::Mode::MySql);
        QCOMPARE(c.host, QStringLiteral("db.hotel.cz"));
        QCOMPARE(c.port, 3307);
        QCOMPARE(c.name, QStringLiteral("recepce"));
        QCOMPARE(c.listenPort, 19876);

        c = Configuration::load(file("[database]\nmode = ODBC\n"));
        QCOMPARE(c.mode, Configuration::Mode::Odbc);
        QCOMPARE(c.dsn, QStringLiteral("hotel"));

        c = Configuration::load(file("[database]\ndatadir = /srv/vitrana\n"));
        QCOMPARE(c.mode, Configuration::Mode::Private);
        QCOMPARE(c.datadir, QStringLiteral("/srv/vitrana"));
    }

    void badValuesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("unknown mode") << QByteArray("[database]\nmode = sqlite\n");
        QTest::newRow("port not a number") << QByteArray("[database]\nmode = mysql\nport = x\n");
        QTest::newRow("listen port out of range") << QByteArray("[web]\nlisten_port = 70000\n");
    }
    void badValuesAreRefused()
    {
        QFETCH(QByteArray, content);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Configuration::load(file(content)));
    }

    void commandLine()
    {
        StartOptions o = StartOptions::parse({"vitrana", "--config", "/etc/x.conf", "--empty-hotel"});
        QCOMPARE(o.configFile, QStringLiteral("/etc/x.conf"));
        QVERIFY(o.emptyHotel);
        QVERIFY(o.error.isEmpty());
        o = StartOptions::parse({"vitrana"});
        QCOMPARE(o.configFile, Configuration::defaultFile());
        QVERIFY(!o.emptyHotel);
        o = StartOptions::parse({"vitrana", "--bogus"});
        QVERIFY(o.error.contains("--bogus"));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
