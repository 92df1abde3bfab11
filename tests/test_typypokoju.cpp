// Room types: lookups by name, removal by row and the in-use refusal, the
// ids a save chooses, what it writes and what a refused save leaves,
// against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "model/CenyPokoju.h"
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

QStringList names(const TypyPokoju &t)
{
    QStringList l;
    t.Vypis(l);
    return l;
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
        QCOMPARE(t.NajdiId(""), -1);
        QVERIFY(jeDocasneId(t.Pridej("Nový", 1)));
    }

    void newIdsAreFreeInTypesPricesAndRooms()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2), (4, 'D', 4)");
        // Left over: a price of no type, a room of no type.
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (3, 1, 1, 300)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 5)");
        TypyPokoju t;
        QVERIFY(t.Odstran(0));   // 1 is not passed on in the same save
        t.Pridej("E", 1);
        t.Pridej("F", 2);
        t.Uloz();
        QCOMPARE(types(), (QStringList{"2|B|2", "4|D|4", "6|E|1", "7|F|2"}));
        QCOMPARE(TypyPokoju().prvky(), t.prvky());
        t.Pridej("G", 3);
        t.Uloz();
        QCOMPARE(TypyPokoju().NajdiId("G"), 1);   // free by now
    }

    void lookupsAreExactAndRemovalIsByRow()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Pokoj', 1), (2, 'Suite', 3), (3, 'Pokoj', 2)");
        TypyPokoju t;
        QCOMPARE(t.NajdiId("Pokoj"), 1);
        QCOMPARE(t.NajdiId("pokoj"), -1);
        QCOMPARE(t.NajdiId("Suite "), -1);
        QVERIFY(t.Odstran(2));   // the second "Pokoj", not the first
        QCOMPARE(t.prvky(), (std::vector<TypPokoje>{{1, "Pokoj", 1}, {2, "Suite", 3}}));
        QVERIFY(t.Odstran(7));
        QCOMPARE(names(t), (QStringList{"Pokoj", "Suite"}));
    }

    void typeOfAStoredRoomIsNotRemoved()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Pokoj', 1), (2, 'Pokoj', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (7, '101', 1)");
        TypyPokoju t;
        QVERIFY(t.JePouzit(1));
        QVERIFY(!t.JePouzit(2));
        QVERIFY(!t.Odstran(0));
        QCOMPARE(t.prvky(), (std::vector<TypPokoje>{{1, "Pokoj", 1}, {2, "Pokoj", 2}}));
        TestDatabase::exec("DELETE FROM pokoje_tab");   // the stored rooms decide, not any in memory
        QVERIFY(t.Odstran(0));
        QCOMPARE(t.prvky(), (std::vector<TypPokoje>{{2, "Pokoj", 2}}));
    }

    void saveWritesOnlyItsChangesWithTheNewTypesPrices()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2), (3, 'C', 3)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (2, 1, 1, 200), (2, 2, 3, 250), "
                           "(3, 1, 1, 300), (9, 1, 1, 900)");
        TypyPokoju t;
        QVERIFY(t.Odstran(1));
        const int d = t.Pridej("D", 4);
        const int e = t.Pridej("Apartmá \"Lípa\" C:\\", 2);
        QVERIFY(t.Odstran(2));   // D: never stored
        const int f = t.Pridej("F", 1);
        QVERIFY(d != e && e != f);
        t.Uloz({{d, 1, 1, 500}, {f, 2, 1, 600.5}, {f, 1, 1, 601}});
        QCOMPARE(types(), (QStringList{"1|A|1", "3|C|3", "4|Apartmá \"Lípa\" C:\\|2", "5|F|1"}));
        // B's prices went with it; the price of no type (9) is another desk's business.
        QCOMPARE(prices(), (QStringList{"1|1|1|100", "3|1|1|300", "5|1|1|601", "5|2|1|600.5", "9|1|1|900"}));
        QCOMPARE(TypyPokoju().prvky(), t.prvky());
    }

    void refusedSaveThenReloadKeepsWhatStillApplies()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2), (3, 'C', 3), (4, 'D', 4)");
        TypyPokoju t;
        QVERIFY(t.Odstran(0));
        QVERIFY(t.Odstran(0));   // B
        QVERIFY(t.Odstran(1));   // D
        t.Pridej("E", 5);
        t.Pridej("F", 6);
        // Another desk: a room of B, a type F of its own, D changed.
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '201', 2)");
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (5, 'F', 1)");
        TestDatabase::exec("UPDATE typy_pokoju_tab SET pocet_luzek = 5 WHERE typ_pokoje_id = 4");
        const QStringList before = types();
        try {
            t.Uloz();
            QFAIL("saved over another desk's changes");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Conflict);
            QVERIFY2(e.text().startsWith("Typ pokoje „D“ mezitím změnila jiná recepce."), qPrintable(e.text()));
        }
        QCOMPARE(types(), before);
        t.obnov();
        QCOMPARE(names(t), (QStringList{"B", "C", "D", "F", "E"}));
        t.Uloz();
        QCOMPARE(types(), (QStringList{"2|B|2", "3|C|3", "4|D|5", "5|F|1", "6|E|5"}));
    }

    void failedSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (2, 1, 1, 200)");
        TypyPokoju t;
        QVERIFY(t.Odstran(1));
        const int novy = t.Pridej(QString(300, 'x'), 1);   // longer than the column
        QVERIFY_THROWS_EXCEPTION(DatabaseError, t.Uloz({{novy, 1, 1, 50}}));
        QCOMPARE(types(), (QStringList{"1|A|1", "2|B|2"}));
        QCOMPARE(prices(), (QStringList{"1|1|1|100", "2|1|1|200"}));
        QCOMPARE(t.prvky().back().typ_pokoje_id, novy);   // still to be saved
        QCOMPARE(t.zmeny().odstranene.size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestTypyPokoju)
#include "test_typypokoju.moc"
