// Reservations: stay prices, collisions, the free-room search, numbering,
// the locked store and a client's reservation list, against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/SqlObjednavky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Objednavky.h"
#include "model/Pobyt.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
QDate D(int month, int day) { return QDate(2024, month, day); }

void stored(int klient, int cislo, const QDate &od, const QDate &dO, int pokoj)
{
    TestDatabase::exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (%1, %2, '2024-01-15', '%3', '%4', %5, 900)")
                           .arg(klient).arg(cislo)
                           .arg(od.toString(Qt::ISODate), dO.toString(Qt::ISODate)).arg(pokoj));
}

// One day's price by the lowest poradi, read on its own: what a stay's single statement must sum to.
QVariant dayPrice(const QDate &den)
{
    return TestDatabase::value(
        QStringLiteral("SELECT ceny_pokoje_tab.cena FROM ceny_pokoje_tab, typy_dnu_tab, kalendar_typy_dnu_tab "
                       "WHERE ceny_pokoje_tab.typ_klienta_id = 1 AND ceny_pokoje_tab.typ_pokoje_id = 1 "
                       "AND kalendar_typy_dnu_tab.datum = '%1' AND kalendar_typy_dnu_tab.typ_dne_id = ceny_pokoje_tab.typ_dne_id "
                       "AND typy_dnu_tab.typ_dne_id = ceny_pokoje_tab.typ_dne_id ORDER BY typy_dnu_tab.poradi")
            .arg(den.toString(Qt::ISODate)));
}

QStringList reservations()
{
    return TestDatabase::rows("SELECT * FROM objednavky_pokoje_tab ORDER BY cislo_objednavky, pokoj_id");
}

// Another desk writes at once: nothing stayed locked.
void tablesAreFree()
{
    auto other = TestDatabase::openAnother();
    TMojeQuery o(*other);
    o.exec("SET SESSION lock_wait_timeout = 2, innodb_lock_wait_timeout = 2");
    o.exec("INSERT INTO zamky_tab VALUES ('pokoj:5', 0), ('klient:7', 0) ON DUPLICATE KEY UPDATE zmena = zmena + 1");
    o.exec("INSERT INTO objednavky_pokoje_tab VALUES (9, 999, '2024-01-01', '2030-01-01', '2030-01-01', 999, 0)");
    o.exec("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky = 999");
}
} // namespace

class TestObjednavky : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void stayPrice_data()
    {
        QTest::addColumn<int>("klient");
        QTest::addColumn<int>("pokoj");
        QTest::addColumn<QDate>("od");
        QTest::addColumn<QDate>("dO");
        QTest::addColumn<double>("cena");
        QTest::addColumn<bool>("chybi");
        QTest::newRow("1000+1000+1200") << 1 << 5 << D(3, 1) << D(3, 3) << 3200.0 << false;
        QTest::newRow("missing middle day") << 1 << 5 << D(3, 11) << D(3, 13) << 2200.0 << true;
        QTest::newRow("one day") << 1 << 5 << D(3, 3) << D(3, 3) << 1200.0 << false;
        QTest::newRow("last day before first") << 1 << 5 << D(3, 3) << D(3, 1) << 0.0 << false;
        QTest::newRow("lowest poradi wins") << 1 << 5 << D(3, 20) << D(3, 20) << 800.0 << false;
        QTest::newRow("unpriced type takes no part") << 1 << 6 << D(3, 20) << D(3, 20) << 1000.0 << false;
        QTest::newRow("client type's prices") << 2 << 5 << D(3, 1) << D(3, 3) << 3000.0 << true;
        QTest::newRow("days of no day type") << 1 << 5 << D(3, 25) << D(3, 26) << 0.0 << true;
        QTest::newRow("no room") << 1 << 0 << D(3, 1) << D(3, 1) << 0.0 << true;
    }
    void stayPrice()
    {
        QFETCH(int, klient);
        QFETCH(int, pokoj);
        QFETCH(QDate, od);
        QFETCH(QDate, dO);
        QFETCH(double, cena);
        QFETCH(bool, chybi);
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'A'), (2, 2, 'B')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1), (6, '106', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 20), (2, 'Víkend', 20), "
                           "(3, 'Svátek', 1), (4, 'Sezóna', 2)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (1, 1, 2, 1200), (1, 1, 4, 1000), "
                           "(1, 1, 3, 800), (2, 1, 4, 1000), (1, 2, 1, 1500)");
        // the type with the higher poradi comes first in the calendar
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2024-03-01', 1), ('2024-03-02', 1), "
                           "('2024-03-03', 2), ('2024-03-11', 1), ('2024-03-13', 2), ('2024-03-20', 4), ('2024-03-20', 3)");

        const Objednavka o(klient, D(1, 10), od, dO, pokoj, 1);
        QCOMPARE(o.cena, cena);
        QCOMPARE(o.chybi_cena, chybi);
        QCOMPARE(o.cislo_objednavky, 0);
    }

    void oneStatementPricesEqualPerDayPrices()
    {
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'A')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1)");
        // 2 and 3 tie on poradi at one price; 5 comes first but has no price here
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'a', 1), (2, 'b', 2), (3, 'c', 2), (4, 'd', 3), (5, 'e', 0)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1100.5), (1, 1, 2, 700), (1, 1, 3, 700), "
                           "(1, 1, 4, 900.25), (9, 1, 5, 1)");
        QRandomGenerator random(7);
        QStringList calendar;
        for (int day = 0; day < 400; ++day)
            for (int type = 1; type <= 5; ++type)
                if (random.bounded(3) == 0)
                    calendar << QStringLiteral("('%1', %2)").arg(D(1, 1).addDays(day).toString(Qt::ISODate)).arg(type);
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES " + calendar.join(", "));

        for (int i = 0; i < 120; ++i) {
            const QDate od = D(1, 1).addDays(random.bounded(-5, 400));
            const QDate dO = i == 0 ? od.addDays(364) : od.addDays(random.bounded(-1, 40));
            double slow = 0;
            bool slowFlag = false;
            for (QDate den = od; den <= dO; den = den.addDays(1)) {
                const QVariant cena = dayPrice(den);
                slow += cena.toDouble();
                slowFlag = slowFlag || !cena.isValid();
            }
            const RozpisCeny fast = RozpisCeny::Nacti(1, 5, od, dO);
            QVERIFY2(fast.cena() == slow && fast.chybiCena() == slowFlag,
                     qPrintable(QStringLiteral("%1..%2: %3/%4 vs %5/%6").arg(od.toString(Qt::ISODate), dO.toString(Qt::ISODate))
                                    .arg(fast.cena()).arg(fast.chybiCena()).arg(slow).arg(slowFlag)));
        }

        // A tie at different prices: the database picks one row.
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (6, 'f', -1), (7, 'g', -1)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 6, 500), (1, 1, 7, 600)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2030-01-01', 6), ('2030-01-01', 7)");
        const RozpisCeny tie = RozpisCeny::Nacti(1, 5, QDate(2030, 1, 1), QDate(2030, 1, 1));
        QVERIFY(QList<double>({500, 600}).contains(tie.cena()));
        QVERIFY(!tie.chybiCena());
    }

    void collisions_data()
    {
        QTest::addColumn<int>("pokoj");
        QTest::addColumn<QDate>("od");
        QTest::addColumn<QDate>("dO");
        QTest::addColumn<bool>("kolize");
        // room 5 is taken from 1 to 3 May
        QTest::newRow("shares the last day") << 5 << D(5, 3) << D(5, 5) << true;
        QTest::newRow("shares the first day") << 5 << D(4, 28) << D(5, 1) << true;
        QTest::newRow("the day after") << 5 << D(5, 4) << D(5, 5) << false;
        QTest::newRow("the day before") << 5 << D(4, 25) << D(4, 30) << false;
        QTest::newRow("enclosed by the stay") << 5 << D(5, 2) << D(5, 2) << true;
        QTest::newRow("begins before, encloses it") << 5 << D(4, 1) << D(5, 10) << true;
        QTest::newRow("another room") << 6 << D(5, 1) << D(5, 3) << false;
        QTest::newRow("no room") << 0 << D(6, 1) << D(6, 3) << true;
        QTest::newRow("last day before first") << 7 << D(6, 3) << D(6, 1) << true;
    }
    void collisions()
    {
        QFETCH(int, pokoj);
        QFETCH(QDate, od);
        QFETCH(QDate, dO);
        QFETCH(bool, kolize);
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (2, 'B')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1), (6, '106', 1), (7, '107', 1)");
        stored(1, 1, D(5, 1), D(5, 3), 5);
        const Objednavka o(2, 0, D(4, 1), od, dO, pokoj, 500);
        TMojeQuery q;
        QCOMPARE(o.JeKolize(q), kolize);
        QCOMPARE(o.Zarezervuj(), !kolize);
        QCOMPARE(reservations().size(), kolize ? 1 : 2);
        QCOMPARE(TestDatabase::value("SELECT @@autocommit").toInt(), 1);
        tablesAreFree();
    }

    void freeRoomSearch()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (4, '104', 1), (3, '103', 1), (1, '101', 1), "
                           "(2, '102', 1), (8, '108', 2)");
        stored(1, 1, D(5, 1), D(5, 3), 1);    // ends inside
        stored(1, 2, D(5, 5), D(5, 9), 2);    // begins inside
        stored(1, 3, D(4, 1), D(6, 1), 3);    // encloses
        stored(1, 4, D(5, 10), D(5, 12), 4);  // after
        TMojeQuery q;
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 1, D(5, 3), D(5, 5)), 4);
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 1, D(7, 1), D(7, 2)), 1);
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 2, D(5, 1), D(5, 1)), 8);
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 1, D(7, 2), D(7, 1)), 0);   // no day

        const Objednavka found(3, D(4, 1), D(5, 3), D(5, 5), 0, 1);
        QCOMPARE(found.pokoj_id, 4);
        QCOMPARE(found.cena, 0.0);   // priced for room 0: the caller sets the price
        QVERIFY(found.chybi_cena);

        stored(1, 5, D(5, 4), D(5, 4), 4);
        const Objednavka none(3, D(4, 1), D(5, 3), D(5, 5), 0, 1);
        QCOMPARE(none.pokoj_id, 0);
        QVERIFY(none.JeKolize(q));
        QVERIFY(!none.Zarezervuj());
        QCOMPARE(reservations().size(), 5);
    }

    void numbering()
    {
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (7, 'G')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1)");
        Objednavka o(7, D(4, 1), D(5, 1), D(5, 2), 5, 0);
        o.cena = 1500.5;
        QVERIFY(o.Zarezervuj());
        QCOMPARE(o.cislo_objednavky, 0);   // the number lives in the table only
        o.od_kdy = o.do_kdy = D(5, 3);
        QVERIFY(o.Zarezervuj());
        QCOMPARE(reservations(), (QStringList{"7|1|2024-04-01|2024-05-01|2024-05-02|5|1500.5",
                                              "7|2|2024-04-01|2024-05-03|2024-05-03|5|1500.5"}));

        // A number is never given again: a desk still showing the deleted
        // reservation must not reach another guest's stay by it.
        Objednavka::SmazObjednavku(2);
        o.od_kdy = o.do_kdy = D(5, 4);
        QVERIFY(o.Zarezervuj());
        QCOMPARE(TestDatabase::value("SELECT MAX(cislo_objednavky) FROM objednavky_pokoje_tab").toInt(), 3);
        o.od_kdy = o.do_kdy = D(5, 5);
        o.cislo_objednavky = 40;                // a number of 1 or more is used as it is
        QVERIFY(o.Zarezervuj());
        QCOMPARE(TestDatabase::value("SELECT MAX(cislo_objednavky) FROM objednavky_pokoje_tab").toInt(), 40);
    }

    void noReservationForAMissingClientOrRoom()
    {
        // deleted at another desk after the stay was built
        const Objednavka o(7, 0, D(4, 1), D(5, 1), D(5, 2), 5, 100);
        QCOMPARE(o.ZarezervujKlientovi(), VysledekRezervace::KlientSmazan);
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (7, 'G')");
        QCOMPARE(o.ZarezervujKlientovi(), VysledekRezervace::PokojSmazan);
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1)");
        QCOMPARE(o.ZarezervujKlientovi("106"), VysledekRezervace::PokojSmazan);   // the id went to another room
        QCOMPARE(reservations(), QStringList());
        tablesAreFree();
        QCOMPARE(o.ZarezervujKlientovi("105"), VysledekRezervace::Ulozena);
    }

    void failedStoreWritesNothingAndUnlocks()
    {
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (7, 'G')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1)");
        Objednavka o(7, 0, D(4, 1), D(5, 1), D(5, 2), 5, 1e20);   // beyond the price column
        QVERIFY_THROWS_EXCEPTION(DatabaseError, o.Zarezervuj());
        QCOMPARE(reservations(), QStringList());
        QCOMPARE(TestDatabase::value("SELECT @@autocommit").toInt(), 1);
        tablesAreFree();
    }

    void storeInsideTheCallersLock()
    {
        const QStringList lock = SqlObjednavky::lockBooking(7, 5);
        const Objednavka o(7, 0, D(4, 1), D(5, 1), D(5, 2), 5, 100);
        TestDatabase::db().save(lock, [&](TMojeQuery &q) {
            QVERIFY(!o.JeKolize(q));
            QVERIFY(o.Zarezervuj(q));
            QVERIFY(!o.Zarezervuj(q));   // now it collides with itself
            q.exec("INSERT INTO klienti_tab SET klient_id = \"7\", jmeno = \"X\"");
        });
        QCOMPARE(reservations().size(), 1);

        // the caller fails later on: it rolls the stored row back
        TestDatabase::clearTables();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, TestDatabase::db().save(lock, [&](TMojeQuery &q) {
            QVERIFY(o.Zarezervuj(q));
            q.exec("INSERT INTO neexistujici_tab SET a = 1");
        }));
        QCOMPARE(reservations(), QStringList());
        tablesAreFree();
    }

    void reservationsOfClient()
    {
        stored(2, 4, D(5, 1), D(5, 3), 5);
        stored(1, 7, D(6, 1), D(6, 2), 5);
        stored(2, 9, D(7, 1), D(7, 5), 6);
        stored(2, 9, D(7, 2), D(7, 6), 7);   // one number, two rooms
        Objednavky list;
        list.NactiProKlienta(2);
        QCOMPARE(list.Pocet(), 3);
        QStringList lines{"stale"};
        list.Vypis(lines);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.contains("4") && lines.count("9") == 2);
        QCOMPARE(list.NajdiOd(4), D(5, 1));
        QCOMPARE(list.NajdiDo(4), D(5, 3));
        QVERIFY(list.NajdiOd(7).isNull());
        QVERIFY(list.NajdiDo(7).isNull());
        const Objednavka &first = list.prvky().front();
        QCOMPARE(first.klient_id, 2);
        QCOMPARE(first.datum_objednavky, D(1, 15));
        QCOMPARE(first.cena, 900.0);

        Objednavka::SmazObjednavku(9);   // every row of the number
        list.NactiProKlienta(2);
        QCOMPARE(list.Pocet(), 1);
        list.NactiProKlienta(3);
        QCOMPARE(list.Pocet(), 0);
    }
};

QTEST_GUILESS_MAIN(TestObjednavky)
#include "test_objednavky.moc"
