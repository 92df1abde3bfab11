// The connection, the statement object and locked saves, against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "db/CiselneRady.h"

#include <QtTest>

class TestDatabaseLayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("SET SESSION sql_mode = DEFAULT");
        TestDatabase::db().readSqlMode();
    }

    void textRoundTrip_data()
    {
        QTest::addColumn<QString>("sqlMode");
        QTest::addColumn<QString>("value");
        const QStringList texts = {
            "Hotel \"U Lípy\"", "C:\\temp\\new", "O'Brien", "řádek 1\nřádek 2\r\n", "\\\"", "konec\\",
            "Příliš žluťoučký kůň úpěl ďábelské ódy", QString("a") + QChar(0x1a) + "b"};
        for (const char *mode : {"DEFAULT", "'NO_BACKSLASH_ESCAPES'"})
            for (const QString &t : texts)
                QTest::newRow(qPrintable(QString(mode) + ": " + QString(t).replace('\n', "\\n").replace('\r', "\\r")))
                    << QString(mode) << t;
    }
    void textRoundTrip()
    {
        QFETCH(QString, sqlMode);
        QFETCH(QString, value);
        TestDatabase::exec("SET SESSION sql_mode = " + sqlMode);
        TestDatabase::db().readSqlMode();
        QCOMPARE(TestDatabase::db().format().noBackslashEscapes(), sqlMode.contains("NO_BACKSLASH"));

        TMojeQuery q;
        q.exec(SqlPokoje::insertRoom(q.format(), 1, value, 1));
        q.setSql(SqlPokoje::selectRooms());
        q.open();
        QCOMPARE(q.text("cislo_pokoje"), value);
    }

    void valuesInQuotesSurviveAnsiQuotes()
    {
        // Under ANSI_QUOTES "..." would name a column; the connection turns it off.
        TestDatabase::exec("SET SESSION sql_mode = 'ANSI_QUOTES,ONLY_FULL_GROUP_BY,STRICT_TRANS_TABLES'");
        TestDatabase::db().readSqlMode();
        QVERIFY(!TestDatabase::value("SELECT @@SESSION.sql_mode").toString().contains("ANSI_QUOTES"));
        TMojeQuery q;
        q.exec(SqlPokoje::insertRoom(q.format(), 7, "101", 2));
        QCOMPARE(TestDatabase::rows("SELECT * FROM pokoje_tab"), QStringList{"7|101|2"});
    }

    void readingResults()
    {
        TMojeQuery q;
        q.setSql("SELECT pokoj_id FROM pokoje_tab");
        q.open();
        QVERIFY(q.isEmpty());
        QVERIFY(q.eof());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, q.integer("pokoj_id"));

        q.setSql("SELECT NULL AS cislo, NULL AS datum, '2002-09-01' AS den, 12.5 AS cena, 'x' AS text");
        q.open();
        QVERIFY(!q.isEmpty());
        QCOMPARE(q.integer("cislo"), 0);
        QVERIFY(q.date("datum").isNull());
        QCOMPARE(q.date("den"), QDate(2002, 9, 1));
        QCOMPARE(q.real("cena"), 12.5);
        QCOMPARE(q.text("text"), QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, q.integer("neni"));
        q.next();
        QVERIFY(q.eof());
    }

    void failingStatementCarriesServerText()
    {
        TMojeQuery q;
        try {
            q.exec("DELETE FROM neexistujici_tab");
            QFAIL("no error raised");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.text().contains("neexistujici_tab") && e.text().contains("doesn't exist"),
                     qPrintable(e.text()));
        }
    }

    void lockedSaveCommitsAndReleases()
    {
        TestDatabase::db().save(SqlPokoje::lockRooms(), [](TMojeQuery &q) {
            q.exec(SqlPokoje::insertRoom(q.format(), 1, "101", 1));
        });
        QCOMPARE(TestDatabase::value("SELECT @@autocommit").toInt(), 1);
        // Another desk sees the row and can write at once.
        auto other = TestDatabase::openAnother();
        TMojeQuery o(*other);
        o.exec("SET SESSION lock_wait_timeout = 2");
        o.setSql("SELECT COUNT(*) AS pocet FROM pokoje_tab");
        o.open();
        QCOMPARE(o.integer("pocet"), 1);
        o.exec(SqlPokoje::insertRoom(o.format(), 2, "102", 1));
    }

    void failedSaveLeavesTablesAsTheyWere()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 2)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2)");
        const QStringList roomsBefore = TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id");

        QVERIFY_THROWS_EXCEPTION(DatabaseError,
            TestDatabase::db().save(SqlPokoje::lockRooms(), [](TMojeQuery &q) {
                q.exec(SqlPokoje::deleteRooms());
                q.exec(SqlPokoje::insertRoom(q.format(), 3, "103", 1));
                q.exec(SqlPokoje::deleteAllLinks());
                q.exec("INSERT INTO pokoje_tab SET pokoj_id = \"3\"");   // duplicate key
            }));

        QCOMPARE(TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id"), roomsBefore);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab").toInt(), 2);
        QCOMPARE(TestDatabase::value("SELECT @@autocommit").toInt(), 1);

        // The locks are gone: another desk writes without waiting.
        auto other = TestDatabase::openAnother();
        TMojeQuery o(*other);
        o.exec("SET SESSION lock_wait_timeout = 2");
        o.exec(SqlPokoje::insertRoom(o.format(), 9, "109", 1));
        o.exec(SqlPokoje::insertLink(1, 9));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM pokoje_tab").toInt(), 3);
    }

    void odbcDataSource()
    {
        // The same database through an ODBC data source, as a desk configured
        // with mode = odbc reaches it.
        const QString driver = "/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so";
        if (!QFileInfo::exists(driver))
            QFAIL("the MariaDB ODBC driver (package odbc-mariadb) is not installed");
        QTemporaryFile ini;
        QVERIFY(ini.open());
        ini.write(QString("[hotel]\nDriver=%1\nSocket=%2\nDatabase=%3\n")
                      .arg(driver, TestDatabase::config().socket, TestDatabase::config().name)
                      .toUtf8());
        ini.close();
        qputenv("ODBCINI", ini.fileName().toLocal8Bit());

        Configuration c;
        c.mode = Configuration::Mode::Odbc;
        TMojeDatabaze odbc(c);
        odbc.open(qEnvironmentVariable("VITRANA_DB_USER"), QString());
        TMojeQuery q(odbc);
        const QString name = "Hotel \"U Lípy\" C:\\temp\\new, O'Brien";
        odbc.save(SqlPokoje::lockRooms(), [&](TMojeQuery &w) {
            w.exec(SqlPokoje::insertRoom(w.format(), 5, name, 2));
        });
        q.setSql("SELECT * FROM pokoje_tab");
        q.open();
        QCOMPARE(q.integer("pokoj_id"), 5);
        QCOMPARE(q.text("cislo_pokoje"), name);
        q.setSql("SELECT CAST('2002-09-01' AS DATE) AS den, CAST(1200.50 AS DECIMAL(15,2)) AS cena");
        q.open();
        QCOMPARE(q.date("den"), QDate(2002, 9, 1));
        QCOMPARE(q.real("cena"), 1200.5);
    }

    // A commit another node certified first (or a deadlock) runs the whole
    // save again from its reads; it is stored once, and told only when
    // every run lost.
    void lostRaceRunsTheSaveAgain()
    {
        int commits = 0;
        TMojeDatabaze::setBeforeCommit([&] {
            if (++commits == 1)
                throw DatabaseError("", "Deadlock found when trying to get lock", DatabaseError::Kind::Contention);
        });
        int runs = 0;
        const qint64 repeated = TMojeDatabaze::savesRepeated();
        TestDatabase::db().save(SqlPokoje::lockRooms(), [&](TMojeQuery &q) {
            ++runs;
            q.exec(SqlPokoje::insertRoom(q.format(), 1, "101", 1));
        });
        QCOMPARE(runs, 2);
        QCOMPARE(TMojeDatabaze::savesRepeated(), repeated + 1);
        QCOMPARE(TestDatabase::rows("SELECT pokoj_id FROM pokoje_tab"), QStringList{"1"});

        TMojeDatabaze::setBeforeCommit([] {
            throw DatabaseError("Jiná recepce ukládala ve stejnou chvíli.", "Deadlock",
                                DatabaseError::Kind::Contention);
        });
        try {
            TestDatabase::db().save(SqlPokoje::lockRooms(), [&](TMojeQuery &q) {
                q.exec(SqlPokoje::insertRoom(q.format(), 2, "102", 1));
            });
            QFAIL("a save that never wins must be told");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Contention);
        }
        TMojeDatabaze::setBeforeCommit({});
        QCOMPARE(TestDatabase::rows("SELECT pokoj_id FROM pokoje_tab"), QStringList{"1"});
    }

    // Numbers from a series never come back, not even when the newest
    // reservation is deleted, and never fall below what a desk of an
    // older version stored as the maximum plus one.
    void numberSeriesNeverGivesANumberTwice()
    {
        const auto take = [] {
            int first = 0;
            TestDatabase::db().save({}, [&](TMojeQuery &q) {
                first = CiselneRady::vezmi(q, CiselneRady::Rada::Objednavka, 2);
            });
            return first;
        };
        QCOMPARE(take(), 1);
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab (klient_id, cislo_objednavky, datum_objednavky, od_kdy, "
                           "do_kdy, pokoj_id) VALUES (1, 40, '2027-01-01', '2027-01-01', '2027-01-02', 1)");
        QCOMPARE(take(), 41);
        TestDatabase::exec("DELETE FROM objednavky_pokoje_tab");
        QCOMPARE(take(), 43);
    }

    void afterFailedSaveTheConnectionAutocommitsAgain()
    {
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
            TestDatabase::db().save(SqlPokoje::lockRooms(), [](TMojeQuery &q) {
                q.exec(SqlPokoje::insertRoom(q.format(), 7, "107", 1));
                q.exec("SELECT * FROM neexistujici_tab");
            }));
        TMojeQuery q;
        q.exec(SqlPokoje::insertRoom(q.format(), 1, "101", 1));
        auto other = TestDatabase::openAnother();
        TMojeQuery o(*other);
        o.setSql("SELECT COUNT(*) AS pocet FROM pokoje_tab");
        o.open();
        QCOMPARE(o.integer("pocet"), 1);   // committed, not left in an open transaction
    }
};

QTEST_GUILESS_MAIN(TestDatabaseLayer)
#include "test_database.moc"
