// Day types and the day-type calendar: identifiers, the save with the
// prices and dates of removed types, the dates of new types, the order of
// priority, and the calendar's whole days and list lines, against the server.

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

        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES "
                           "(1, 'Všední'), (2, 'Víkend'), (4, 'Víkend')");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 2, 900)");
        TypyDnu t;
        QCOMPARE(t.NajdiId("Víkend"), 2);
        QCOMPARE(t.NajdiId("víkend"), -1);
        QCOMPARE(t.NajdiId("Víkend "), -1);
        QVERIFY(t.nazevObsazen("Víkend"));
        QVERIFY(!t.nazevObsazen("víkend"));
        t.Odstran(2);   // by row: the second Víkend, priced or not
        t.Odstran(3);
        t.Odstran(-1);
        QCOMPARE(t.NajdiId("Víkend"), 2);
        QVERIFY(t.nazevObsazen("Víkend"));
        t.Odstran(1);
        QVERIFY(!t.nazevObsazen("Víkend"));   // both go at the save
        const int svatek = t.Pridej("Svátek");
        const int sezona = t.Pridej("Sezóna");
        QVERIFY(jeDocasneId(svatek) && jeDocasneId(sezona) && svatek != sezona);
        QCOMPARE(t.NajdiId("Sezóna"), sezona);
        QCOMPARE(vypis(t), (QStringList{"Všední", "Svátek", "Sezóna"}));

        // New ids under the lock, past the removed types' (still stored then).
        t.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT * FROM typy_dnu_tab ORDER BY poradi"),
                 (QStringList{"1|Všední|100", "3|Svátek|101", "5|Sezóna|102"}));   // new types below the stored
        QCOMPARE(t.NajdiId("Sezóna"), 5);
        QCOMPARE(priceDayTypes(), QStringList());
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
        t.Odstran(1);
        const int sezona = t.Pridej("Sezóna \"léto\"");
        t.nastavDnyNovehoTypu(sezona, {QDate(2025, 7, 1)});
        t.Uloz();

        // Loaded by poradi (Svátek, Všední), which they keep; the new type below them.
        // Rows of type 7, which is no type, are left alone, and 7 is no new type's id.
        QCOMPARE(TestDatabase::rows("SELECT * FROM typy_dnu_tab ORDER BY typ_dne_id"),
                 (QStringList{"1|Všední|7", "3|Svátek|1", "4|Sezóna \"léto\"|8"}));
        QCOMPARE(priceDayTypes(), (QStringList{"1", "3", "7"}));
        QCOMPARE(dates(), (QStringList{"1|2025-01-06", "3|2025-01-01", "4|2025-07-01", "7|2025-01-07"}));

        TypyDnu reloaded;
        QCOMPARE(reloaded.prvky(), (std::vector<TypDne>{{3, "Svátek"}, {1, "Všední"}, {4, "Sezóna \"léto\""}}));
        for (int i = 0; i < 3; ++i)
            reloaded.Odstran(0);
        reloaded.Uloz();
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM typy_dnu_tab").toInt(), 0);
        QCOMPARE(priceDayTypes(), QStringList{"7"});
        QCOMPARE(dates(), QStringList{"7|2025-01-07"});
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

    void newTypesTakeNoIdThatRowsStillUse()
    {
        // Dates and a price left by types long gone: a new type must not take them over.
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'A')");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 2), ('2025-01-02', 1)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 3, 100)");
        TypyDnu t;
        t.Pridej("B");
        t.Uloz();
        QCOMPARE(t.NajdiId("B"), 4);
        QCOMPARE(dates(), (QStringList{"1|2025-01-02", "2|2025-01-01"}));
        QCOMPARE(priceDayTypes(), QStringList{"3"});
    }

    void theDatesOfNewTypesGoWithThem()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'A', 1)");
        TypyDnu t;
        const int b = t.Pridej("B");
        const int c = t.Pridej("C");
        t.nastavDnyNovehoTypu(b, {QDate(2025, 1, 1)});
        t.nastavDnyNovehoTypu(c, {QDate(2025, 2, 1), QDate(2025, 2, 2)});
        t.nastavDnyNovehoTypu(1, {QDate(2025, 3, 1)});   // a stored type's dates are the calendar's
        QCOMPARE(t.dnyNovehoTypu(c).size(), std::size_t(2));

        // The calendar of a type not stored yet holds its dates and writes nothing.
        KalendarTypuDne k(c, "C", t.dnyNovehoTypu(c));
        k.PridejDen(QDate(2025, 2, 3));
        k.Uloz();
        QCOMPARE(dates(), QStringList());
        t.nastavDnyNovehoTypu(c, k.dny());

        t.Odstran(1);   // B and its dates
        QCOMPARE(t.dnyNovehoTypu(b), std::set<QDate>());
        t.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT * FROM typy_dnu_tab ORDER BY poradi"), (QStringList{"1|A|1", "2|C|2"}));
        QCOMPARE(dates(), (QStringList{"2|2025-02-01", "2|2025-02-02", "2|2025-02-03"}));
    }

    void failedSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'A'), (2, 'B')");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (1, 1, 2, 200)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-01-01', 1), ('2025-01-02', 2)");
        TypyDnu t;
        t.Odstran(1);
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
                           "('2025-02-01', 2)");
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
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'A', 1), (2, 'B', 2)");
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
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'A', 1)");
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
