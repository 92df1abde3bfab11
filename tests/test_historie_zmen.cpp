// The history of changes: every kind of save writes its rows with it (who,
// which machine, what, which ids), a save that changes nothing or fails
// writes none, and the window pages and filters what was written.

#include "TestDatabase.h"

#include "admin/THistorieZmen.h"
#include "db/DatabaseError.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/CenyPokoju.h"
#include "model/Historie.h"
#include "model/KalendarTypuDne.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "model/Pokoje.h"
#include "model/SkupinyPokoju.h"
#include "model/TypyDnu.h"
#include "model/TypyPokoju.h"
#include "web/engine/UlozeniRezervaci.h"
#include "web/protocol/OdpovedWebu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTableWidget>
#include <QtTest>
#include <functional>

using Akce = std::function<void()>;
Q_DECLARE_METATYPE(Akce)

namespace {
const QDate den(2026, 12, 7);

// Two rooms of one type, two clients (one with a stay), a day type with a price and a day.
void hotel()
{
    TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Standard', 2)");
    TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1)");
    TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host')");
    TestDatabase::exec("INSERT INTO klient_zobrazit_tab (typ_klienta_id, jmeno) VALUES (1, 1)");
    TestDatabase::insertClients("(1, 1, 'Novák Jan'), (2, 1, 'Dvořák Karel')");
    TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 1)");
    TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2026-12-07', 1)");
    TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000)");
    TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES (1, 5, '2026-11-01', '2026-12-07', '2026-12-09', 1, 3000)");
}

QStringList history()
{
    return TestDatabase::rows("SELECT popis, ids FROM historie_zmen_tab ORDER BY id");
}

int newestClient()
{
    return TestDatabase::value("SELECT MAX(klient_id) FROM klienti_tab").toInt();
}
} // namespace

class TestHistorieZmen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
        hotel();
    }

    void saveWritesItsRows_data()
    {
        QTest::addColumn<Akce>("uloz");
        QTest::addColumn<QStringList>("radky");   // "popis|ids"; %K the newest client
        const auto radek = [](const char *popis, const char *ids) {
            return QStringList{QString::fromUtf8(popis) + u'|' + QString::fromUtf8(ids)};
        };
        QTest::newRow("reservation stored") << Akce([] {
            QCOMPARE(Objednavka(2, 0, den, den, den.addDays(2), 2, 2000).ZarezervujKlientovi(), VysledekRezervace::Ulozena);
        }) << radek("Rezervace č. 6 uložena: pokoj 102, 7. 12. 2026 – 9. 12. 2026, klient Dvořák Karel",
                    "objednavka=6 klient=2");
        QTest::newRow("reservation deleted") << Akce([] { QVERIFY(Objednavka::SmazObjednavku(5, 1)); })
                                             << radek("Rezervace č. 5 smazána (pokoj 101, 7. 12. 2026 – 9. 12. 2026, "
                                                      "klient Novák Jan)",
                                                      "objednavka=5 klient=1");
        QTest::newRow("reservation gone already") << Akce([] { QVERIFY(!Objednavka::SmazObjednavku(5, 2)); })
                                                  << QStringList();
        QTest::newRow("reservation colliding") << Akce([] {
            QCOMPARE(Objednavka(2, 0, den, den, den, 1, 0).ZarezervujKlientovi(), VysledekRezervace::Kolize);
        }) << QStringList();
        QTest::newRow("client added") << Akce([] { Klient::PridejKlienta({{"jmeno", "Svoboda Petr"}}, 1); })
                                      << radek("Klient Svoboda Petr přidán", "klient=%K");
        QTest::newRow("client deleted") << Akce([] { QCOMPARE(Klient::SmazKlienta(2), Klient::Smazani::Smazan); })
                                        << radek("Klient Dvořák Karel smazán", "klient=2");
        QTest::newRow("client with a stay kept") << Akce([] {
            QCOMPARE(Klient::SmazKlienta(1), Klient::Smazani::MaRezervace);
        }) << QStringList();
        QTest::newRow("rooms") << Akce([] {
            Pokoje p;
            p.Pridej("105", 1);
            p.Odstran(1);
            p.Uloz();
        }) << radek("Pokoje uloženy: přidány 105; smazány 102", "pokoj=3 pokoj=2");
        QTest::newRow("a room's type changed") << Akce([] {
            TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (2, 'Apartmá', 4)");
            Pokoje p;
            p.ZmenTyp(0, 2);
            p.Uloz({{1, "Standard"}, {2, "Apartmá"}});
        }) << radek("Pokoje uloženy: změněny 101: typ „Standard“ → „Apartmá“", "pokoj=1");
        QTest::newRow("rooms unchanged") << Akce([] { Pokoje().Uloz(); }) << QStringList();
        QTest::newRow("groups") << Akce([] {
            SkupinyPokoju s;
            s.Pridej("Patro");
            s.PridejPokojeDoSkupiny(1, Pokoje(std::vector<Pokoj>{{2, "102", 1}}));
            s.OdeberPokojeZeSkupiny(0, Pokoje(std::vector<Pokoj>{{1, "101", 1}}));
            s.Uloz();
        }) << radek("Skupiny pokojů uloženy: přidány Patro; do skupiny „Patro“ přidány pokoje 102; "
                    "ze skupiny „Přízemí“ odebrány pokoje 101",
                    "skupina=2 skupina=1 pokoj=2 pokoj=1");
        QTest::newRow("room types") << Akce([] {
            TypyPokoju t;
            t.Pridej("Apartmá", 4);
            t.Uloz();
        }) << radek("Typy pokojů uloženy: přidány Apartmá", "typ_pokoje=2");
        QTest::newRow("day types") << Akce([] {
            TypyDnu t;
            t.Pridej("Víkend");
            t.Uloz();
        }) << radek("Typy dnů uloženy: přidány Víkend", "typ_dne=2");
        QTest::newRow("calendar") << Akce([] {
            KalendarTypuDne k(1, "Všední");
            k.PridejDen(QDate(2026, 12, 8));
            k.OdstranDen(den);
            k.Uloz();
        }) << radek("Kalendář uložen: typ dne „Všední“ – přidány 8. 12. 2026; smazány 7. 12. 2026", "typ_dne=1");
        QTest::newRow("prices") << Akce([] {
            CenyPokoju c;
            c.NastavCenu(1, 1, 1, 1250.5);
            c.Uloz({{{1, "Standard"}}, {{1, "Host"}}, {{1, "Všední"}}});
        }) << radek("Ceny uloženy: Standard / Všední / Host: 1\u00a0000 → 1\u00a0250,50", "typ_pokoje=1");
        QTest::newRow("price set to what it was") << Akce([] {
            CenyPokoju c;
            c.NastavCenu(1, 1, 1, 1000);
            c.Uloz({});
        }) << QStringList();
        QTest::newRow("web import") << Akce([] {
            RezervaceZWebu web;
            web.pocet_rezervaci = "2";
            for (const char *id : {"w1", "w2"})
                web.rezervace.push_back({id, 1, den.addDays(3), den.addDays(4), 900, "Host Webu", "", "", "", ""});
            QCOMPARE(ImportRezervaci::ulozRezervace(web, den).ulozeno, 2);
        }) << radek("Webový import: 2 rezervace (objednávky č. 6–7)", "objednavka=6 objednavka=7 klient=3 klient=4");
    }
    void saveWritesItsRows()
    {
        QFETCH(Akce, uloz);
        QFETCH(QStringList, radky);
        uloz();
        QCOMPARE(history(), radky.replaceInStrings("%K", QString::number(newestClient())));
        // The server names the account, the desk its machine.
        const QStringList kdo = TestDatabase::rows("SELECT DISTINCT uzivatel, pocitac FROM historie_zmen_tab");
        if (!radky.isEmpty())
            QCOMPARE(kdo, QStringList{PrivateServer::osUser() + u'|' + QSysInfo::machineHostName()});
    }

    // A save that fails leaves no history: its rows go with its rollback.
    void failedSaveWritesNothing_data()
    {
        QTest::addColumn<Akce>("uloz");
        QTest::addColumn<QString>("jinaRecepce");   // run first on a second connection, held through the save
        QTest::newRow("tables held by another desk")
            << Akce([] { Objednavka(2, 0, den, den, den, 2, 0).ZarezervujKlientovi(); })
            << "LOCK TABLES objednavky_pokoje_tab WRITE";
        QTest::newRow("history held by another desk") << Akce([] { Objednavka::SmazObjednavku(5, 1); })
                                                      << "LOCK TABLES historie_zmen_tab WRITE";
        QTest::newRow("value refused") << Akce([] { Klient::PridejKlienta({{"jmeno", QString(300, u'x')}}, 1); })
                                       << QString();
        QTest::newRow("room changed meanwhile") << Akce([] {
            Pokoje p;
            TestDatabase::exec("UPDATE pokoje_tab SET typ_pokoje_id = 7 WHERE pokoj_id = 2");
            p.Odstran(1);
            p.Uloz();
        }) << QString();
    }
    void failedSaveWritesNothing()
    {
        QFETCH(Akce, uloz);
        QFETCH(QString, jinaRecepce);
        const QStringList pred = TestDatabase::rows("SELECT * FROM objednavky_pokoje_tab");
        auto other = TestDatabase::openAnother();
        TMojeQuery o(*other);
        if (!jinaRecepce.isEmpty())
            o.exec(jinaRecepce);
        TestDatabase::db().setLockWaitSeconds(1);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, uloz());
        TestDatabase::db().setLockWaitSeconds(5);
        o.exec("UNLOCK TABLES");
        QCOMPARE(history(), QStringList());
        QCOMPARE(TestDatabase::rows("SELECT * FROM objednavky_pokoje_tab"), pred);
    }

    // 450 rows by two accounts over 45 days: three pages newest first, and each filter.
    void windowPagesAndFilters()
    {
        QString insert = "INSERT INTO historie_zmen_tab (id, kdy, uzivatel, pocitac, popis, ids) VALUES ";
        for (int i = 1; i <= 450; ++i)
            insert += QStringLiteral("%1(%2, '2026-01-01' + INTERVAL %3 HOUR, '%4', 'pc', 'Změna %2%5', 'x=%2')")
                          .arg(i > 1 ? ", " : "")
                          .arg(i)
                          .arg(i * 2 + 1)
                          .arg(i % 3 ? "anna" : "petr")
                          .arg(i % 50 == 25 ? " (Apartmá)" : "");
        TestDatabase::exec(insert);

        THistorieZmen dialog;
        dialog.show();
        auto *table = dialog.findChild<QTableWidget *>("HistorieTable");
        auto *dalsi = dialog.findChild<QPushButton *>("DalsiButton");
        auto *predchozi = dialog.findChild<QPushButton *>("PredchoziButton");
        const auto first = [&] { return table->item(0, 3)->text(); };
        const auto last = [&] { return table->item(table->rowCount() - 1, 3)->text(); };
        QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), THistorieZmen::naStranku, 10000);
        QCOMPARE(first(), "Změna 450");
        QCOMPARE(last(), "Změna 251");
        QVERIFY(!predchozi->isEnabled());
        dalsi->click();
        QCOMPARE(first(), "Změna 250");
        dalsi->click();
        QCOMPARE(table->rowCount(), 50);
        QCOMPARE(last(), "Změna 1");
        QVERIFY(!dalsi->isEnabled());
        predchozi->click();
        QCOMPARE(first(), "Změna 250");
        QCOMPARE(last(), "Změna 51");
        predchozi->click();
        QCOMPARE(first(), "Změna 450");

        auto *uzivatel = dialog.findChild<QComboBox *>("UzivatelComboBox");
        QCOMPARE(uzivatel->count(), 3);   // (všichni), anna, petr
        uzivatel->setCurrentText("petr");
        dialog.findChild<QPushButton *>("HledejButton")->click();
        QCOMPARE(table->rowCount(), 150);
        QCOMPARE(first(), "Změna 450");
        QCOMPARE(table->item(0, 1)->text(), "petr");

        // Text typed with Enter; a LIKE wildcard in it is meant literally.
        uzivatel->setCurrentIndex(0);
        auto *text = dialog.findChild<QLineEdit *>("TextEdit");
        text->setText("apartmá");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(table->rowCount(), 9);
        text->setText("%");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(table->rowCount(), 0);

        // Rows 12 to 23 were written on 2026-01-02 (hours 25 to 47).
        text->clear();
        dialog.findChild<QCheckBox *>("ObdobiCheckBox")->click();
        dialog.findChild<QDateEdit *>("OdDateTimePicker")->setDate(QDate(2026, 1, 2));
        dialog.findChild<QDateEdit *>("DoDateTimePicker")->setDate(QDate(2026, 1, 2));
        dialog.findChild<QPushButton *>("HledejButton")->click();
        QCOMPARE(table->rowCount(), 12);
        QCOMPARE(first(), "Změna 23");
        QCOMPARE(last(), "Změna 12");
    }
};

QTEST_MAIN(TestHistorieZmen)
#include "test_historie_zmen.moc"
