// A stay priced night by night, against the server: held to the day-by-day
// price of the stored reservation, with the day type of every night.

#include "TestDatabase.h"

#include "model/Objednavky.h"
#include "model/Pobyt.h"

#include <QtTest>

namespace {
QDate D(int month, int day) { return QDate(2024, month, day); }
} // namespace

class TestPobyt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        TestDatabase::clearTables();
        // Client 0 is real: the first guest the web import stores gets it.
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'A'), (2, 2, 'B'), (3, 1, 'C')");
        TestDatabase::exec("UPDATE klienti_tab SET klient_id = 0 WHERE klient_id = 3");
    }

    void nightByNight_data()
    {
        QTest::addColumn<int>("klient");
        QTest::addColumn<QDate>("od");
        QTest::addColumn<QDate>("dO");
        QTest::addColumn<QStringList>("typy");
        QTest::addColumn<double>("cena");
        QTest::addColumn<bool>("chybi");
        QTest::newRow("weekdays and a weekend") << 1 << D(3, 1) << D(3, 3) << QStringList{"Všední", "Všední", "Víkend"}
                                                << 3200.0 << false;
        QTest::newRow("lowest poradi wins") << 1 << D(3, 20) << D(3, 20) << QStringList{"Svátek"} << 800.0 << false;
        QTest::newRow("an unpriced type with a lower poradi hides no price")
            << 1 << D(3, 21) << D(3, 21) << QStringList{"Sezóna"} << 1000.0 << false;
        QTest::newRow("a type without a price is named") << 2 << D(3, 2) << D(3, 3) << QStringList{"Všední", "Víkend"}
                                                         << 1500.0 << true;
        QTest::newRow("a day of no type") << 1 << D(3, 3) << D(3, 4) << QStringList{"Víkend", ""} << 1200.0 << true;
        QTest::newRow("client 0 is a client") << 0 << D(3, 1) << D(3, 1) << QStringList{"Všední"} << 1000.0 << false;
        QTest::newRow("a client that is gone") << 9 << D(3, 1) << D(3, 1) << QStringList{"Všední"} << 0.0 << true;
        QTest::newRow("last day before first") << 1 << D(3, 3) << D(3, 1) << QStringList{} << 0.0 << false;
    }
    void nightByNight()
    {
        QFETCH(int, klient);
        QFETCH(QDate, od);
        QFETCH(QDate, dO);
        QFETCH(QStringList, typy);
        QFETCH(double, cena);
        QFETCH(bool, chybi);
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 20), (2, 'Víkend', 20), (3, 'Svátek', 1), "
                           "(4, 'Sezóna', 2), (5, 'Akce', 0)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (1, 1, 2, 1200), (1, 1, 3, 800), "
                           "(1, 1, 4, 1000), (1, 2, 1, 1500)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2024-03-01', 1), ('2024-03-02', 1), "
                           "('2024-03-03', 2), ('2024-03-20', 4), ('2024-03-20', 3), ('2024-03-21', 5), ('2024-03-21', 4)");

        const RozpisCeny rozpis = RozpisCeny::Nacti(klient, 5, od, dO);
        QStringList seen;
        for (const NocPobytu &noc : rozpis.noci()) {
            QCOMPARE(noc.datum, od.addDays(seen.size()));
            seen << noc.typDne;
        }
        QCOMPARE(seen, typy);
        QCOMPARE(rozpis.cena(), cena);
        QCOMPARE(rozpis.chybiCena(), chybi);
    }
};

QTEST_GUILESS_MAIN(TestPobyt)
#include "test_pobyt.moc"
