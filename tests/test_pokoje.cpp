// Rooms and room groups: identifiers, lookups by name, member lists and
// the saves, against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "model/Pokoje.h"
#include "model/SkupinyPokoju.h"

#include <QtTest>

namespace {
Pokoje rooms(std::initializer_list<Pokoj> list)
{
    return Pokoje(std::vector<Pokoj>(list));
}
} // namespace

class TestPokoje : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void emptyTable()
    {
        Pokoje p;
        QCOMPARE(vypis(p), QStringList());
        p.Pridej("101", 1);
        QCOMPARE(p.NajdiId("101"), 1);
    }

    void newIdFillsGaps()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (4, '104', 2)");
        Pokoje p;
        p.Pridej("103", 2);
        QCOMPARE(p.NajdiId("103"), 3);
        p.Odstran("101");
        p.Pridej("105", 2);
        QCOMPARE(p.NajdiId("105"), 1);
        QCOMPARE(vypis(p), (QStringList{"102", "104", "103", "105"}));   // load order, then additions
    }

    void lookupsAreExactAndTakeTheFirst()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, 'A1', 3), (3, '101', 2)");
        Pokoje p;
        QCOMPARE(p.NajdiPokoj("101"), (Pokoj{1, "101", 1}));
        QCOMPARE(p.NajdiPokoj("a1"), Pokoj{});
        QCOMPARE(p.NajdiPokoj("a1").pokoj_id, -1);
        QCOMPARE(p.NajdiId("A1 "), -1);
        p.Odstran("101");
        QCOMPARE(p.NajdiPokoj("101"), (Pokoj{3, "101", 2}));   // only the first went
        p.Odstran("neni");
        QCOMPARE(p.size(), std::size_t(2));
    }

    void roomsSave()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2), (2, 2), (1, 7)");
        Pokoje p;
        p.Odstran("102");
        p.Pridej("Apartmá \"Lípa\"", 4);   // takes the freed id 2
        p.Odstran("103");
        p.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id"),
                 (QStringList{"1|101|1", "2|Apartmá \"Lípa\"|4"}));
        // Links of rooms that are gone are gone too (room 7 never existed);
        // room 2 is a new room and must not inherit the old room 2's groups.
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab"), QStringList{"1|1"});

    }

    void failedRoomsSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2)");
        Pokoje p;
        p.Odstran("102");
        p.Pridej(QString(300, 'x'), 1);   // longer than the column
        QVERIFY_THROWS_EXCEPTION(DatabaseError, p.Uloz());
        QCOMPARE(TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id"),
                 (QStringList{"1|101|1", "2|102|1"}));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab").toInt(), 2);
    }

    void membersComeFromTheJoin()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 2)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí'), (2, 'Prázdná')");
        // room 9 does not exist: its link row is not a member
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 3), (1, 9), (1, 1)");
        SkupinyPokoju s;
        QStringList l;
        s.Vypis(l);
        QCOMPARE(l, (QStringList{"Přízemí", "Prázdná"}));
        s.VypisPokoje("Přízemí", l);
        QCOMPARE(l.size(), 2);
        QVERIFY(l.contains("101") && l.contains("103"));
        s.VypisPokoje("Prázdná", l);
        QCOMPARE(l, QStringList());

        // the next groups save drops the dead link row
        s.Uloz();
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab WHERE pokoj_id = 9").toInt(), 0);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab").toInt(), 2);
    }

    void addingMembers()
    {
        SkupinaPokoju g(1, "A", rooms({{1, "101", 1}}));
        g.PridejPokoje(rooms({{1, "101", 1}}));
        QCOMPARE(g.clenove.size(), std::size_t(1));
        g.PridejPokoje(rooms({{1, "101", 1}, {2, "102", 1}}));
        QStringList l;
        g.VypisPokoje(l);
        QCOMPARE(l, (QStringList{"101", "102"}));
        g.OdeberPokoje(rooms({{1, "jiné číslo", 1}, {5, "105", 1}}));   // by id, unknown ids ignored
        g.VypisPokoje(l);
        QCOMPARE(l, QStringList{"102"});
    }

    void groupsByName()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Dvojče'), (3, 'Dvojče')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (3, 2)");
        SkupinyPokoju s;
        QStringList l;
        s.VypisPokoje("Dvojče", l);
        QCOMPARE(l, QStringList{"102"});   // the last group of the name wins

        s.PridejPokojeDoSkupiny("Dvojče", rooms({{2, "102", 1}}));
        QCOMPARE(s.prvky()[0].clenove.size(), std::size_t(2));
        QCOMPARE(s.prvky()[1].clenove.size(), std::size_t(1));
        s.OdeberPokojeZeSkupiny("Dvojče", rooms({{2, "102", 1}}));
        QCOMPARE(s.prvky()[0].clenove.size(), std::size_t(1));
        QCOMPARE(s.prvky()[1].clenove.size(), std::size_t(0));

        s.Pridej("Nová");
        QCOMPARE(s.prvky().back().skupina_pokoju_id, 2);
        s.Odstran("Dvojče");
        QCOMPARE(s.prvky().size(), std::size_t(2));
        QCOMPARE(s.prvky()[0].skupina_pokoju_id, 3);
    }

    void groupsSave()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Stará')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (2, 3)");
        SkupinyPokoju s;
        s.Odstran("Stará");
        s.Pridej("Nová \"skupina\"");
        s.PridejPokojeDoSkupiny("Nová \"skupina\"", rooms({{2, "102", 1}, {1, "101", 1}}));
        s.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_tab"), QStringList{"1|Nová \"skupina\""});
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab ORDER BY pokoj_id"),
                 (QStringList{"1|1", "1|2"}));

        SkupinyPokoju reloaded;
        QStringList l;
        reloaded.VypisPokoje("Nová \"skupina\"", l);
        QCOMPARE(l.size(), 2);
    }

    void savingNoGroupsEmptiesBothTables()
    {
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'A'), (2, 'B')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (2, 1)");
        SkupinyPokoju s;
        s.Odstran("A");
        s.Odstran("B");
        s.Uloz();
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_tab").toInt(), 0);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPokoje)
#include "test_pokoje.moc"
