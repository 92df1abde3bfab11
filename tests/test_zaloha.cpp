// Backups of the hotel database and restores from them: exact round trips,
// a restore refused while another desk is open or without the rights it
// needs, damaged files, the history and the safety copies a restore keeps,
// a cancelled backup.

#include "TestDatabase.h"

#include "core/Recepce.h"
#include "db/DatabaseError.h"
#include "db/Prava.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "db/Zaloha.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <zlib.h>

namespace {

using Stav = QMap<QString, QStringList>;

// Every table: its definition and its rows (sorted), NULL told from "" and bytes in hex.
Stav stav()
{
    Stav s;
    QSqlDatabase db = TestDatabase::db().database();
    QSqlQuery tables(QStringLiteral("SHOW FULL TABLES WHERE Table_type = 'BASE TABLE'"), db);
    while (tables.next()) {
        const QString t = tables.value(0).toString();
        QSqlQuery q(db);
        q.exec(QStringLiteral("SHOW CREATE TABLE `%1`").arg(t));
        q.next();
        QStringList rows{q.value(1).toString()};
        // A restore's own row in the history (and the counter it moves) is checked where a restore succeeds.
        if (t == "historie_zmen_tab")
            rows[0].remove(QRegularExpression(" AUTO_INCREMENT=\\d+"));
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
        q.exec(QStringLiteral("SELECT * FROM `%1`%2")
                   .arg(t, t == "historie_zmen_tab" ? " WHERE popis NOT LIKE 'Databáze obnovena%'" : ""));
        QStringList data;
        while (q.next()) {
            QStringList columns;
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                columns << (v.isNull() ? QStringLiteral("<NULL>")
                            : v.typeId() == QMetaType::QByteArray ? "0x" + v.toByteArray().toHex()
                                                                   : v.toString());
            }
            data << columns.join(QStringLiteral("|"));
        }
        data.sort();
        s[t] = rows + data;
    }
    return s;
}

QByteArray gunzip(const QString &file)
{
    gzFile gz = gzopen(QFile::encodeName(file).constData(), "rb");
    QByteArray out, buffer(65536, Qt::Uninitialized);
    int n;
    while ((n = gzread(gz, buffer.data(), unsigned(buffer.size()))) > 0)
        out += buffer.left(n);
    gzclose(gz);
    return out;
}

void gzip(const QString &file, const QByteArray &data)
{
    gzFile gz = gzopen(QFile::encodeName(file).constData(), "wb");
    gzwrite(gz, data.constData(), unsigned(data.size()));
    gzclose(gz);
}

} // namespace

class TestZaloha : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    // A hotel with what a backup must carry exactly.
    void fillHotel()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
        TestDatabase::exec("DELETE FROM recepce_tab");
        // A key of two columns, one of them text (a backslash and a quote in it) compared under its collation.
        TestDatabase::exec("CREATE TABLE IF NOT EXISTS zkouska_tab (a INT NOT NULL, b VARCHAR(20) NOT NULL, c TEXT NULL, "
                           "PRIMARY KEY (a, b)) ENGINE=InnoDB");
        TestDatabase::exec("DELETE FROM zkouska_tab");
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2), (2, 'Apartmá \"Lux\"', 4)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, 'A;1', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 1), (2, 'Víkend', 2)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2026-01-03', 2), ('2026-01-04', 2), "
                           "('2026-01-05', 1)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1200.50), (1, 1, 2, 0.01), "
                           "(2, 1, 1, 9999999999999.99), (2, 1, 2, -5)");
        TestDatabase::exec("INSERT INTO klient_zobrazit_tab VALUES (1, 1, NULL, 2, 0, 0, 0, 0)");
        // Every character the escaping must carry, and text that looks like the script's own syntax.
        const QStringList hostile{
            "O'Brien \"Bob\"", "C:\\cesta\\", QString("nul") + QChar(0) + "uprostřed", "řádek\nřádek\r\nkonec",
            QString("ctrl-Z ") + QChar(0x1a), "emoji 🏨😀 Žluťoučký kůň", "konec; DROP TABLE pokoje_tab; --",
            "-- komentář", "/* blok */ # hash `backtick`", "\\'", QString(250, QChar(u'ř'))};
        for (int i = 0; i < hostile.size(); ++i) {
            QSqlQuery q(TestDatabase::db().database());
            q.prepare("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, poznamka, ico) VALUES (?, 1, ?, ?, ?)");
            q.addBindValue(i + 1);
            q.addBindValue(hostile[i]);
            q.addBindValue(hostile[(i + 3) % hostile.size()]);
            q.addBindValue(i % 2 ? QVariant(QString(70000, QChar(u'x')) + hostile[i]) : QVariant());
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (0, 'web')");
        // Across chunk borders: of the key's paging, and of the paging of a table without a key.
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) SELECT seq, CONCAT('host ', seq) "
                           "FROM seq_100_to_360");
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab SELECT seq % 97, seq DIV 2, '2025-12-01', "
                           "'2026-01-01' + INTERVAL seq % 300 DAY, '2026-01-02' + INTERVAL seq % 300 DAY, seq % 3 + 1, "
                           "seq % 1000 + 0.25 FROM seq_1_to_1030");
        TestDatabase::exec("INSERT INTO webove_rezervace_tab VALUES (0x00FF27225C0A, 1, 1, '2026-01-03', '2026-01-05', "
                           "'2025-12-01'), ('', 2, 1, '2026-02-03', '2026-02-05', '2025-12-01')");
        TestDatabase::exec("INSERT INTO zkouska_tab SELECT seq DIV 150, CONCAT('k', CHAR(92), CHAR(39), seq % 150), "
                           "IF(seq % 7, NULL, 'sedm') FROM seq_0_to_1049");
    }

    // What a desk would do to the hotel after the backup.
    static void changeHotel()
    {
        TestDatabase::exec("DELETE FROM klienti_tab WHERE klient_id < 200");
        TestDatabase::exec("UPDATE ceny_pokoje_tab SET cena = cena - 1");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (9, 'nový', 1)");
        TestDatabase::exec("DROP TABLE zkouska_tab");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Zaloha::setChunkRows(100);
        TestDatabase::setUp();
        TestDatabase::exec("ALTER TABLE klient_zobrazit_tab MODIFY telefon INT NULL");
        TestDatabase::exec("ALTER TABLE klienti_tab ADD COLUMN ico MEDIUMTEXT NULL");
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void cleanup()
    {
        TestDatabase::exec("SET SESSION sql_mode = REPLACE(@@SESSION.sql_mode, 'NO_BACKSLASH_ESCAPES', '')");
        TestDatabase::db().readSqlMode();
    }

    void roundTrip_data()
    {
        QTest::addColumn<bool>("noBackslashEscapes");
        QTest::newRow("backslash escapes") << false;
        QTest::newRow("NO_BACKSLASH_ESCAPES session") << true;
    }
    void roundTrip()
    {
        QFETCH(bool, noBackslashEscapes);
        fillHotel();
        if (noBackslashEscapes) {
            TestDatabase::exec("SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')");
            TestDatabase::db().readSqlMode();
        }
        const Stav before = stav();
        const QString backup = file("hotel.sql.gz");
        const QList<KontrolaTabulky> written = Zaloha::zapis(TestDatabase::db(), backup);
        QCOMPARE(Zaloha::kontrolySouboru(backup), written);
        QVERIFY(!QFile::exists(backup + ".part"));

        changeHotel();
        QVERIFY(stav() != before);
        const QString previous = file("pred-obnovou.sql.gz");
        qint64 last = 0;
        Zaloha::obnov(TestDatabase::db(), backup, previous, [&last](qint64 done, qint64 total) {
            last = done;
            return done <= total;
        });
        QCOMPARE(stav(), before);
        QVERIFY(last > 2 * 2000);
        QVERIFY(QFile::exists(previous));
        // The session is the desk's again.
        QCOMPARE(TestDatabase::db().format().noBackslashEscapes(), noBackslashEscapes);
        QCOMPARE(TestDatabase::value("SELECT @@SESSION.foreign_key_checks").toInt(), 1);
    }

    void refusedWhileAnotherDeskIsOpen_data()
    {
        QTest::addColumn<QString>("desk");
        QTest::addColumn<QString>("named");   // empty: the restore goes ahead
        QTest::newRow("another connection in the process list") << "connection" << PrivateServer::osUser();
        // An account without PROCESS sees no other account's connection.
        QTest::newRow("a desk announced by another account") << "announced" << "recepce2 na počítači pult-2";
        QTest::newRow("the desk's core announces itself") << "core" << QSysInfo::machineHostName();
        QTest::newRow("a desk killed three minutes ago") << "gone" << QString();
    }
    void refusedWhileAnotherDeskIsOpen()
    {
        QFETCH(QString, desk);
        QFETCH(QString, named);
        fillHotel();
        const QString backup = file("refused.sql.gz");
        Zaloha::zapis(TestDatabase::db(), backup);
        changeHotel();
        std::unique_ptr<TMojeDatabaze> other;
        std::unique_ptr<Recepce> core;
        if (desk == "connection")
            other = TestDatabase::openAnother();
        else if (desk == "core")
            core = TestDatabase::openDesk();
        else
            TestDatabase::exec(QString("INSERT INTO recepce_tab VALUES ('d1', 77, 'recepce2', 'pult-2', NOW(), NOW() - "
                                       "INTERVAL %1 SECOND)")
                                   .arg(desk == "gone" ? 180 : 5));
        const Stav before = stav();
        const QString previous = file("refused-previous.sql.gz");
        QFile::remove(previous);
        try {
            Zaloha::obnov(TestDatabase::db(), backup, previous);
            QVERIFY2(named.isEmpty(), "restored beside another desk");
        } catch (const DatabaseError &e) {
            QVERIFY2(!named.isEmpty(), qPrintable(e.text()));
            QVERIFY2(e.text().contains("jiná recepce") && e.text().contains(named), qPrintable(e.text()));
            QCOMPARE(stav(), before);
            QVERIFY(!QFile::exists(previous));
        }
        if (core) {
            core.reset();
            QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM recepce_tab").toInt(), 0);   // gone with the desk
        }
    }

    void rightsOnTheDatabase_data()
    {
        QTest::addColumn<QStringList>("grants");
        QTest::addColumn<QStringList>("missing");
        const QString usage = "GRANT USAGE ON *.* TO `recepce`@`%` IDENTIFIED BY PASSWORD '*AB12'";
        QTest::newRow("the README's account lacks DROP")
            << QStringList{usage, "GRANT SELECT, INSERT, DELETE, UPDATE, CREATE, ALTER, INDEX ON `hotel`.* TO `recepce`@`%`"}
            << QStringList{"DROP"};
        QTest::newRow("all privileges on every database")
            << QStringList{"GRANT ALL PRIVILEGES ON *.* TO `root`@`localhost` WITH GRANT OPTION"} << QStringList();
        QTest::newRow("all on a database pattern") << QStringList{usage, "GRANT ALL PRIVILEGES ON `hot%`.* TO `r`@`%`"}
                                                   << QStringList();
        QTest::newRow("an escaped _ is no wildcard") << QStringList{"GRANT ALL PRIVILEGES ON `ho\\_el`.* TO `r`@`%`"}
                                                    << Prava::proObnovu();
        QTest::newRow("rights of two lines add up")
            << QStringList{"GRANT SELECT, INSERT ON *.* TO `r`@`%`", "GRANT CREATE, DROP, ALTER ON `h_tel`.* TO `r`@`%`"}
            << QStringList();
        QTest::newRow("a table's or a column's grant is not the database's")
            << QStringList{"GRANT SELECT (`a`, `b`), INSERT ON `hotel`.`pokoje_tab` TO `r`@`%`",
                           "GRANT CREATE, DROP, ALTER ON `hotel`.* TO `r`@`%`"}
            << QStringList{"SELECT", "INSERT"};
        QTest::newRow("another database's grant") << QStringList{"GRANT ALL PRIVILEGES ON `hotel2`.* TO `r`@`%`"}
                                                  << Prava::proObnovu();
        QTest::newRow("a role granted") << QStringList{"GRANT `spravce` TO `r`@`%`"} << Prava::proObnovu();
    }
    void rightsOnTheDatabase()
    {
        QFETCH(QStringList, grants);
        QFETCH(QStringList, missing);
        QCOMPARE(Prava::chybejici(grants, "hotel", Prava::proObnovu()), missing);
    }

    void restoreWithTheAccountsRights_data()
    {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<QString>("refusedFor");
        QTest::newRow("the README's account") << "SELECT, INSERT, DELETE, UPDATE, CREATE, ALTER, INDEX" << "DROP";
        QTest::newRow("what a restore needs") << "SELECT, INSERT, CREATE, DROP, ALTER" << QString();
    }
    void restoreWithTheAccountsRights()
    {
        QFETCH(QString, rights);
        QFETCH(QString, refusedFor);
        fillHotel();
        const QString database = TestDatabase::config().name;
        TestDatabase::exec("CREATE OR REPLACE USER zaloha_ucet@localhost IDENTIFIED BY 'heslo'");
        TestDatabase::exec(QString("GRANT %1 ON `%2`.* TO zaloha_ucet@localhost").arg(rights, database));
        const QString backup = file("rights.sql.gz");
        Zaloha::zapis(TestDatabase::db(), backup);
        changeHotel();
        const Stav before = stav();
        TMojeDatabaze account(TestDatabase::config());
        account.open("zaloha_ucet", "heslo");
        const QString previous = file("rights-previous.sql.gz");
        QFile::remove(previous);
        try {
            Zaloha::obnov(account, backup, previous);
            QVERIFY2(refusedFor.isEmpty(), "restored without a right it needs");
        } catch (const DatabaseError &e) {
            QVERIFY2(!refusedFor.isEmpty(), qPrintable(e.text()));
            // Untouched data is never told as lost.
            QVERIFY2(e.text().contains(refusedFor) && e.text().contains("Nic nebylo změněno")
                         && !e.text().contains("nepodařilo vrátit"),
                     qPrintable(e.text()));
            QCOMPARE(stav(), before);
            QVERIFY(!QFile::exists(previous));
        }
        TestDatabase::exec("DROP USER zaloha_ucet@localhost");
    }

    void damagedFile_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("foundBeforeLoading");
        QTest::newRow("gzip cut in half") << "cut" << true;
        QTest::newRow("text without its end") << "no end" << true;
        QTest::newRow("another program's dump") << "foreign" << true;
        QTest::newRow("a check not matching its rows") << "checksum" << false;
        QTest::newRow("a row count not matching") << "count" << false;
        QTest::newRow("a statement the server refuses") << "statement" << false;
        QTest::newRow("a table without its check line") << "no check" << true;
        QTest::newRow("a garbled check line") << "garbled check" << true;
        QTest::newRow("a statement a backup never writes") << "foreign statement" << true;
    }
    void damagedFile()
    {
        QFETCH(QString, damage);
        QFETCH(bool, foundBeforeLoading);
        fillHotel();
        const QString backup = file("damaged.sql.gz");
        Zaloha::zapis(TestDatabase::db(), backup);
        QByteArray text = gunzip(backup);
        QFile f(backup);
        if (damage == "cut") {
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(f.size() / 2));
            f.close();
        } else if (damage == "no end") {
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text.left(text.lastIndexOf("-- konec")));
            f.close();
        } else if (damage == "foreign") {
            gzip(backup, "-- MariaDB dump 10.19\nCREATE TABLE pokoje_tab (x INT);\n-- konec zálohy\n");
        } else if (damage == "checksum") {
            const qsizetype at = text.indexOf("-- kontrola: pokoje_tab 3 ") + 27;
            text[at] = text[at] == 'a' ? 'b' : 'a';
            gzip(backup, text);
        } else if (damage == "count") {
            gzip(backup, text.replace("-- kontrola: pokoje_tab 3 ", "-- kontrola: pokoje_tab 4 "));
        } else if (damage == "no check" || damage == "garbled check") {
            // Altered rows of a table whose check is gone would load unchecked.
            const qsizetype at = text.indexOf("-- kontrola: klienti_tab ");
            QVERIFY(at > 0);
            if (damage == "no check")
                text.remove(at, text.indexOf('\n', at) + 1 - at);
            else
                text.replace(at, 12, "-- kontrola; ");
            gzip(backup, text.replace("host 101", "host 999"));
        } else if (damage == "foreign statement") {
            gzip(backup, text.replace("-- konec zálohy", "DELETE FROM klienti_tab;\n-- konec zálohy"));
        } else {
            gzip(backup, text.replace("(2,'102',1)", "(2,'102',1,4)").replace("(2,\"102\",1)", "(2,\"102\",1,4)"));
        }
        if (foundBeforeLoading)
            QVERIFY_THROWS_EXCEPTION(DatabaseError, Zaloha::kontrolySouboru(backup));
        changeHotel();
        const Stav before = stav();
        const QString previous = file("damaged-previous.sql.gz");
        QFile::remove(previous);
        try {
            Zaloha::obnov(TestDatabase::db(), backup, previous);
            QFAIL("a damaged file was restored");
        } catch (const DatabaseError &e) {
            // After loading, the message says where the replaced data is kept.
            QCOMPARE(e.text().contains(previous), !foundBeforeLoading);
        }
        QCOMPARE(stav(), before);
        QCOMPARE(QFile::exists(previous), !foundBeforeLoading);
    }

    void aDeskTellsMissingRights_data()
    {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("reading only") << "SELECT" << QStringList{"INSERT", "UPDATE", "DELETE", "CREATE", "ALTER", "INDEX"};
        QTest::newRow("the README's account") << "SELECT, INSERT, DELETE, UPDATE, CREATE, ALTER, INDEX" << QStringList();
    }
    void aDeskTellsMissingRights()
    {
        QFETCH(QString, rights);
        QFETCH(QStringList, missing);
        fillHotel();
        const QString database = TestDatabase::config().name;
        TestDatabase::exec("CREATE OR REPLACE USER zaloha_ucet@localhost IDENTIFIED BY 'heslo'");
        TestDatabase::exec(QString("GRANT %1 ON `%2`.* TO zaloha_ucet@localhost").arg(rights, database));
        qputenv("VITRANA_DB_USER", "zaloha_ucet");
        qputenv("VITRANA_DB_PASSWORD", "heslo");
        const std::unique_ptr<Recepce> desk = TestDatabase::openDesk();
        qputenv("VITRANA_DB_USER", PrivateServer::osUser().toLocal8Bit());
        qputenv("VITRANA_DB_PASSWORD", "");
        QCOMPARE(desk->chybejiciPrava(), missing);
        QCOMPARE(desk->upozorneniNaPrava().isEmpty(), missing.isEmpty());
        for (const QString &right : missing)
            QVERIFY2(desk->upozorneniNaPrava().contains(right), qPrintable(desk->upozorneniNaPrava()));
        // A save the server refuses for a right names it in Czech, the server's words below.
        try {
            desk->databaze()->save({"pokoje_tab"}, [](TMojeQuery &q) { q.exec("INSERT INTO pokoje_tab VALUES (50, '150', 1)"); });
            QVERIFY2(missing.isEmpty(), "saved without the right to");
        } catch (const DatabaseError &e) {
            QVERIFY2(!missing.isEmpty(), qPrintable(e.text()));
            QCOMPARE(e.kind(), DatabaseError::Kind::AccessDenied);
            QVERIFY2(!e.column().isEmpty() && missing.contains(e.column().split(", ").first())
                         && e.veta().contains("nemá v databázi právo " + e.column() + " na tabulku ")
                         && e.veta().contains("_tab") && !e.veta().contains(database) && e.detail().contains("denied"),
                     qPrintable(e.text()));
        }
        TestDatabase::exec("DROP USER zaloha_ucet@localhost");
    }

    void restoreKeepsLaterHistoryAndEverySafetyCopy()
    {
        fillHotel();
        TestDatabase::exec("INSERT INTO historie_zmen_tab (kdy, uzivatel, popis, ids) VALUES "
                           "(NOW(), 'a', 'před zálohou', '')");
        const QString backup = file("history.sql.gz");
        Zaloha::zapis(TestDatabase::db(), backup);
        TestDatabase::exec("INSERT INTO historie_zmen_tab (kdy, uzivatel, popis, ids) VALUES "
                           "(NOW(), 'b', 'po záloze 1', ''), (NOW(), 'b', 'po záloze 2', '')");
        const Stav hotel = [] {
            Stav s = stav();
            s.remove("historie_zmen_tab");
            return s;
        }();
        changeHotel();
        const QString previous = file("pred-obnovou-tyz.sql.gz");
        QFile::remove(previous);
        const QString first = Zaloha::obnov(TestDatabase::db(), backup, previous);
        const QString second = Zaloha::obnov(TestDatabase::db(), backup, previous);
        QCOMPARE(first, previous);
        QVERIFY(second != first);
        // The first copy holds the data before the first restore, not the restored data.
        const auto rooms = [](const QString &copy) {
            for (const KontrolaTabulky &k : Zaloha::kontrolySouboru(copy))
                if (k.tabulka == "pokoje_tab")
                    return k.radku;
            return qint64(-1);
        };
        QCOMPARE(rooms(first), 4);
        QCOMPARE(rooms(second), 3);

        Stav after = stav();
        after.remove("historie_zmen_tab");
        QCOMPARE(after, hotel);
        const QStringList history = TestDatabase::rows("SELECT uzivatel, popis FROM historie_zmen_tab ORDER BY id");
        QCOMPARE(history.mid(0, 3), (QStringList{"a|před zálohou", "b|po záloze 1", "b|po záloze 2"}));
        QCOMPARE(history.size(), 5);
        const QString restored = history[3];
        QVERIFY2(restored.startsWith(PrivateServer::osUser() + "|Databáze obnovena ze zálohy " + backup)
                     && restored.contains(QDate::currentDate().toString("d. M. yyyy")) && restored.contains(first),
                 qPrintable(restored));
        QVERIFY(history[4].contains(second));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                                     "AND TABLE_NAME LIKE 'historie%'")
                     .toInt(),
                 1);
    }

    void cancelledBackupLeavesNoFile()
    {
        fillHotel();
        const QString backup = file("cancelled.sql.gz");
        QFile::remove(backup);
        int calls = 0;
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Zaloha::zapis(TestDatabase::db(), backup, [&calls](qint64, qint64) {
                                     return ++calls < 2;
                                 }));
        QCOMPARE(calls, 2);
        QVERIFY(!QFile::exists(backup));
        QVERIFY(!QFile::exists(backup + ".part"));
    }
};

QTEST_GUILESS_MAIN(TestZaloha)
#include "test_zaloha.moc"
