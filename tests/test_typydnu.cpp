// Day types and the day-type calendar: identifiers, the save with the
// prices and dates of removed types, the order of priority, and the
// calendar's whole days and list lines, against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "model/KalendarTypuDne.h"
#include "model/TypyDnu.h"

#include <QtTest>

namespace {
QStringList dates()
{
    return TestDatabase::rows("SELECT typ_dne_id, datum FROM kalendar_typy_dnu_tab ORDER BY typ_dne_id, datum");
}

QStringList priceDayTypes()
{
    return TestDatabase::rows("SELECT typ_dne_id FROM ceny_pokoje_tab ORDER BY typ_dne_id");
}
} // namespace

class TestTypyDnu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void idsAndLookups()
    {
        TypyDnu empty;
        QCOMPARE(vypis(empty), QStringList());
        QCOMPARE(empty.NoveId(), 1);

        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES "
                           "(1, 'Všední'), (2, 'Víkend'), (4, 'Víkend')");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 2, 900)");
        TypyDnu t;
        QCOMPARE(t.NajdiId("Víkend"), 2);
        QCOMPARE(t.NajdiId("víkend"), -1);
        QCOMPARE(t.NajdiId("Víkend "), -1);
        QCOMPARE(t.NoveId(), 3);
        t.Odstran("Víkend");   // never refused, priced or not
        t.Odstran("neni");
        QCOMPARE(t.NajdiId("Víkend"), 4);
        t.Pridej("Svátek");
        QCOMPARE(t.NajdiId("Svátek"), 3);   // 2 is freed since the load: not given out
        t.Pridej("Sezóna");
        QCOMPARE(t.NajdiId("Sezóna"), 5);
        QCOMPARE(vypis(t), (QStringList{"Všední", "Víkend", "Svátek", "Sezóna"}));
    }

    void removedTypeTakesItsPricesAndDates()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne, poradi) VALUES "
                           "(1, 'Všední', 7), (2, 'Víkend', 3), (3, 'Svátek', 1)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (1, 1, 2, 200), (2, 1, 3, 300), "
                           "(1, 1, 7, 700), (1, 2, 2, 250)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 3), ('2025-01-04', 2), "
                           "('2025-01-06', 1), ('2025-01-07', 7)");
        TypyDnu t;
        t.Odstran("Víkend");
        t.Pridej("Sezóna \"léto\"");
        // The calendar dialog stores the new type's dates before the day types are saved.
        KalendarTypuDne k(t.NajdiId("Sezóna \"léto\""));
        QCOMPARE(k.typDneId(), 4);
        k.PridejDen(QDate(2025, 7, 1));
        k.Uloz();
        t.Uloz();

        // Loaded by poradi (Svátek, Všední), the new type last; poradi is the place.
        QCOMPARE(TestDatabase::rows("SELECT * FROM typy_dnu_tab ORDER BY typ_dne_id"),
                 (QStringList{"1|Všední|2", "3|Svátek|1", "4|Sezóna \"léto\"|3"}));
        QCOMPARE(priceDayTypes(), (QStringList{"1", "3"}));
        QCOMPARE(dates(), (QStringList{"1|2025-01-06", "3|2025-01-01", "4|2025-07-01"}));
        QCOMPARE(t.NoveId(), 2);

        TypyDnu reloaded;
        QCOMPARE(reloaded.prvky(), (std::vector<TypDne>{{3, "Svátek"}, {1, "Všední"}, {4, "Sezóna \"léto\""}}));
        reloaded.Odstran("Všední");
        reloaded.Odstran("Svátek");
        reloaded.Odstran("Sezóna \"léto\"");
        reloaded.Uloz();
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM typy_dnu_tab").toInt(), 0);
        QCOMPARE(priceDayTypes(), QStringList());
        QCOMPARE(dates(), QStringList());
    }

    void theListOrderIsThePriority()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne, poradi) VALUES "
                           "(1, 'A', 20), (2, 'B', 10), (3, 'C', 20), (4, 'D', -5)");
        TypyDnu t;
        QCOMPARE(vypis(t), (QStringList{"D", "B", "A", "C"}));   // equal poradi in the order read
        QVERIFY(!t.Posun(0, -1));
        QVERIFY(!t.Posun(3, 1));
        QVERIFY(t.Posun(3, -1));
        QVERIFY(t.Posun(0, 1));
        t.Pridej("E");
        QCOMPARE(vypis(t), (QStringList{"B", "D", "C", "A", "E"}));
        t.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT nazev_typu_dne, poradi FROM typy_dnu_tab ORDER BY poradi"),
                 (QStringList{"B|1", "D|2", "C|3", "A|4", "E|5"}));
        QCOMPARE(vypis(TypyDnu()), (QStringList{"B", "D", "C", "A", "E"}));
    }

    void newTypesKeepOffIdsThatRowsStillUse()
    {
        // Dates stored for a type that was then dropped unsaved, and a stray price.
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'A')");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 2), ('2025-01-02', 1)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 3, 100)");
        TypyDnu t;
        t.Pridej("B");
        QCOMPARE(t.NajdiId("B"), 4);
        t.Uloz();   // takes the leftovers away, so their ids are free again
        QCOMPARE(dates(), QStringList{"1|2025-01-02"});
        QCOMPARE(priceDayTypes(), QStringList());
        QCOMPARE(t.NoveId(), 2);
    }

    void failedSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'A'), (2, 'B')");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (1, 1, 2, 200)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 1), ('2025-01-02', 2)");
        TypyDnu t;
        t.Odstran("B");
        t.Pridej(QString(300, 'x'));   // longer than the column
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.Uloz());
        QCOMPARE(TestDatabase::rows("SELECT typ_dne_id, nazev_typu_dne FROM typy_dnu_tab ORDER BY typ_dne_id"),
                 (QStringList{"1|A", "2|B"}));
        QCOMPARE(priceDayTypes(), (QStringList{"1", "2"}));
        QCOMPARE(dates(), (QStringList{"1|2025-01-01", "2|2025-01-02"}));
    }

    void calendarHoldsWholeDaysAscending()
    {
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-03-01', 1), ('2024-12-31', 1), "
                           "('2025-03-01', 1), ('2025-02-01', 2)");
        KalendarTypuDne k(1);
        k.PridejDen(QDateTime(QDate(2025, 1, 15), QTime(23, 59)));
        k.PridejDen(QDate(2025, 1, 15));
        k.PridejDen(QDate(2025, 3, 1));
        k.PridejDen(QDate());
        QCOMPARE(k.dny(), (std::set<QDate>{QDate(2024, 12, 31), QDate(2025, 1, 15), QDate(2025, 3, 1)}));

        KalendarTypuDne empty(5);
        QCOMPARE(vypis(empty), QStringList());
    }

    void listedLinesParseBack_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("C") << "C" << QStringList{"31 Dec 1999", "5 Jan 2025", "31 Dec 2099"};
        QTest::newRow("two-digit year dd.MM.yy") << "cs_CZ" << QStringList{"31.12.1999", "05.01.2025", "31.12.2099"};
        QTest::newRow("two-digit year M/d/yy") << "en_US" << QStringList{"12/31/1999", "1/5/2025", "12/31/2099"};
        QTest::newRow("dd/MM/yyyy") << "en_GB" << QStringList{"31/12/1999", "05/01/2025", "31/12/2099"};
        QTest::newRow("spaced d. M. yyyy") << "sk_SK" << QStringList{"31. 12. 1999", "5. 1. 2025", "31. 12. 2099"};
        QTest::newRow("quoted suffix") << "bg_BG" << QStringList{"31.12.1999 г.", "5.01.2025 г.", "31.12.2099 г."};
    }

    void listedLinesParseBack()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, lines);
        QLocale::setDefault(QLocale(locale));
        KalendarTypuDne k(1);
        for (const QDate &d : {QDate(2099, 12, 31), QDate(2025, 1, 5), QDate(1999, 12, 31)})
            k.PridejDen(d);
        QCOMPARE(vypis(k), lines);
        for (const QString &junk : {QString(), QString("nesmysl"), QString("31.13.2025")}) {
            k.OdstranDen(junk);
            QCOMPARE(k.dny().size(), std::size_t(3));
        }
        k.OdstranDen(lines[2]);
        k.OdstranDen(lines[1]);
        QCOMPARE(k.dny(), std::set<QDate>{QDate(1999, 12, 31)});
    }

    void calendarSaveReplacesOnlyItsType()
    {
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 1), ('2025-01-02', 1), "
                           "('2025-01-02', 2)");
        KalendarTypuDne k(1);
        k.OdstranDen(vypis(k)[0]);
        k.PridejDen(QDate(2024, 6, 1));
        k.Uloz();
        QCOMPARE(dates(), (QStringList{"1|2024-06-01", "1|2025-01-02", "2|2025-01-02"}));

        KalendarTypuDne emptied(2);
        emptied.OdstranDen(vypis(emptied)[0]);
        emptied.Uloz();
        QCOMPARE(dates(), (QStringList{"1|2024-06-01", "1|2025-01-02"}));
    }

    void failedCalendarSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 1), ('2025-01-02', 2)");
        KalendarTypuDne k(1);
        k.PridejDen(QDate(2025, 1, 3));
        k.PridejDen(QDate(10000, 1, 1));   // beyond the column's range: the last insert fails
        QVERIFY_THROWS_EXCEPTION(DatabaseError, k.Uloz());
        QCOMPARE(dates(), (QStringList{"1|2025-01-01", "2|2025-01-02"}));
    }
};

QTEST_GUILESS_MAIN(TestTypyDnu)
#include "test_typydnu.moc"
