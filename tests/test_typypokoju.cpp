// Room types: identifiers, lookups by name, the in-use refusal and the save
// with the prices of removed types, against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "model/TypyPokoju.h"

#include <QtTest>

namespace {
QStringList prices()
{
    return TestDatabase::rows("SELECT typ_pokoje_id, typ_klienta_id, typ_dne_id, cena FROM ceny_pokoje_tab "
                              "ORDER BY typ_pokoje_id, typ_klienta_id, typ_dne_id");
}

QStringList types()
{
    return TestDatabase::rows("SELECT * FROM typy_pokoju_tab ORDER BY typ_pokoje_id");
}
} // namespace

class TestTypyPokoju : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void emptyTable()
    {
        TypyPokoju t;
        QCOMPARE(vypis(t), QStringList());
        QCOMPARE(t.NoveId(), 1);
        QCOMPARE(t.NajdiId(""), -1);
    }

    void newIdFillsGapsButNotFreedOnes()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2), "
                           "(4, 'Apartmá', 4)");
        TypyPokoju t;
        QCOMPARE(t.NoveId(), 3);
        QVERIFY(t.Odstran("Jednolůžkový"));
        QCOMPARE(t.NoveId(), 3);   // 1 still has its prices in the table
        t.Pridej("Nový", 3);
        t.Pridej("Druhý", 2);
        QCOMPARE(t.NajdiId("Nový"), 3);
        QCOMPARE(t.NajdiId("Druhý"), 5);
        t.Odstran("Nový");   // never stored, yet prices may have been set under it
        QCOMPARE(t.NoveId(), 6);
        QCOMPARE(vypis(t), (QStringList{"Dvoulůžkový", "Apartmá", "Druhý"}));
        t.Uloz();
        QCOMPARE(t.NoveId(), 1);   // the save deleted the prices of 1 and 3
        t.Pridej("Po uložení", 1);
        QCOMPARE(t.NajdiId("Po uložení"), 1);
    }

    void lookupsAreExactAndTakeTheFirst()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Pokoj', 1), (2, 'Suite', 3), (3, 'Pokoj', 2)");
        TypyPokoju t;
        QCOMPARE(t.NajdiId("Pokoj"), 1);
        QCOMPARE(t.NajdiId("pokoj"), -1);
        QCOMPARE(t.NajdiId("Suite "), -1);
        QVERIFY(t.Odstran("Pokoj"));
        QCOMPARE(t.NajdiId("Pokoj"), 3);   // only the first went
        QVERIFY(t.Odstran("neni"));
        QCOMPARE(t.size(), std::size_t(2));
    }

    void typeOfAStoredRoomIsNotRemoved()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Pokoj', 1), (2, 'Pokoj', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (7, '101', 1)");
        TypyPokoju t;
        QVERIFY(t.JePouzit(1));
        QVERIFY(!t.JePouzit(2));
        QVERIFY(!t.Odstran("Pokoj"));   // the first of the name is in use; the second stays too
        QCOMPARE(t.prvky(), (std::vector<TypPokoje>{{1, "Pokoj", 1}, {2, "Pokoj", 2}}));
        TestDatabase::exec("DELETE FROM pokoje_tab");   // the stored rooms decide, not any in memory
        QVERIFY(t.Odstran("Pokoj"));
        QCOMPARE(t.prvky(), (std::vector<TypPokoje>{{2, "Pokoj", 2}}));
    }

    void removedTypeTakesItsPrices()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2), (3, 'C', 3)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (2, 1, 1, 200), (2, 2, 3, 250), "
                           "(3, 1, 1, 300), (9, 1, 1, 900)");
        TypyPokoju t;
        QVERIFY(t.Odstran("B"));
        t.Pridej("Apartmá \"Lípa\" C:\\", 4);   // 4: 2 is freed since the load
        t.Pridej("E", 2);
        QCOMPARE(t.NajdiId("E"), 5);
        // E is priced while it is still unsaved in the dialog
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (5, 1, 1, 500)");
        t.Uloz();
        QCOMPARE(types(), (QStringList{"1|A|1", "3|C|3", "4|Apartmá \"Lípa\" C:\\|4", "5|E|2"}));
        QCOMPARE(prices(), (QStringList{"1|1|1|100", "3|1|1|300", "5|1|1|500"}));

        TypyPokoju reloaded;
        QCOMPARE(reloaded.prvky(), t.prvky());
    }

    void savingNoTypesRemovesAllPrices()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (8, 1, 1, 800)");
        TypyPokoju t;
        QVERIFY(t.Odstran("A"));
        t.Uloz();
        QCOMPARE(types(), QStringList());
        QCOMPARE(prices(), QStringList());
    }

    void failedSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (2, 1, 1, 200)");
        TypyPokoju t;
        QVERIFY(t.Odstran("B"));
        t.Pridej(QString(300, 'x'), 1);   // longer than the column
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.Uloz());
        QCOMPARE(types(), (QStringList{"1|A|1", "2|B|2"}));
        QCOMPARE(prices(), (QStringList{"1|1|1|100", "2|1|1|200"}));
        QCOMPARE(t.NoveId(), 4);   // 2 is still not free
    }
};

QTEST_GUILESS_MAIN(TestTypyPokoju)
#include "test_typypokoju.moc"
