// Rooms and room groups: identifiers chosen at the save, lookups, removal
// by position, member lists, the saves and the reload after a refused one,
// against the server.

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
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1)");
        Pokoje p;
        QCOMPARE(vypis(p), QStringList());
        p.Pridej("101", 1);
        QVERIFY(jeDocasneId(p.NajdiId("101")));   // the save gives the real one
        p.Uloz();
        QCOMPARE(p.NajdiId("101"), 1);
    }

    void newIdsComeFromTheTableAtTheSave()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (4, '104', 2)");
        Pokoje p;
        p.Pridej("103", 2);
        p.Odstran(0);   // 101: its id is not given out in the same save
        p.Pridej("105", 2);
        QCOMPARE(vypis(p), (QStringList{"102", "104", "103", "105"}));   // load order, then additions
        p.Uloz();
        QCOMPARE(p.NajdiId("103"), 3);
        QCOMPARE(p.NajdiId("105"), 5);
        p.Pridej("106", 1);
        p.Uloz();
        QCOMPARE(p.NajdiId("106"), 1);   // free now: no room, guest or group link has it
    }

    void lookupsAreExactAndRemovalIsByPosition()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, 'A1', 3), (3, '101', 2)");
        Pokoje p;
        QCOMPARE(p.NajdiPokoj("101"), (Pokoj{1, "101", 1}));
        QCOMPARE(p.NajdiPokoj("a1"), Pokoj{});
        QCOMPARE(p.NajdiId("A1 "), -1);
        p.Odstran(2);   // the second 101, not the first
        QCOMPARE(p.prvky(), (std::vector<Pokoj>{{1, "101", 1}, {2, "A1", 3}}));
        p.Odstran(5);
        p.Odstran(-1);
        QCOMPARE(p.size(), std::size_t(2));
    }

    void numberTaken_data()
    {
        QTest::addColumn<QString>("cislo");
        QTest::addColumn<bool>("taken");
        QTest::newRow("in the list") << "101" << true;
        QTest::newRow("added here") << "301" << true;
        QTest::newRow("only in the table") << "201" << true;
        QTest::newRow("removed here: comes back") << "102" << false;
        QTest::newRow("another case") << "a1" << false;
        QTest::newRow("trailing space") << "101 " << false;
        QTest::newRow("new") << "103" << false;
    }
    void numberTaken()
    {
        QFETCH(QString, cislo);
        QFETCH(bool, taken);
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, 'A1', 1)");
        Pokoje p;
        p.Odstran(1);
        p.Pridej("301", 1);
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (4, '201', 1)");   // another desk's
        QCOMPARE(p.numberTaken(cislo), taken);
    }

    void roomsSave()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (4, 'B', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2), (2, 2), (1, 7)");
        Pokoje p;
        p.Odstran(1);
        p.Pridej("Apartmá \"Lípa\"", 4);
        p.Odstran(1);
        p.ZmenTyp(0, 4);
        p.Uloz();
        // Id 4: 2 and 3 were still rooms under the lock, 7 still has a group link.
        QCOMPARE(TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id"),
                 (QStringList{"1|101|4", "4|Apartmá \"Lípa\"|4"}));
        // The removed rooms' links go with them; the rest stay.
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab ORDER BY skupina_pokoju_id, pokoj_id"),
                 (QStringList{"1|1", "1|7"}));
        QCOMPARE(p.prvky().back().pokoj_id, 4);

        // Saved, the copy is the new starting point: saving again writes nothing.
        TestDatabase::exec("UPDATE pokoje_tab SET typ_pokoje_id = 1 WHERE pokoj_id = 4");
        p.Uloz();
        QCOMPARE(TestDatabase::value("SELECT typ_pokoje_id FROM pokoje_tab WHERE pokoj_id = 4").toInt(), 1);
    }

    void failedRoomsSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2)");
        Pokoje p;
        p.Odstran(1);
        p.Pridej(QString(300, 'x'), 1);   // longer than the column
        QVERIFY_THROWS_EXCEPTION(DatabaseError, p.Uloz());
        QCOMPARE(TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id"),
                 (QStringList{"1|101|1", "2|102|1"}));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab").toInt(), 2);
    }

    void reloadKeepsWhatStillApplies()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        Pokoje p;
        p.Odstran(0);        // 101: still as loaded, stays removed
        p.ZmenTyp(0, 2);     // 102: another desk removes it, it is gone
        p.Pridej("201", 1);  // another desk adds 201: ours is dropped
        p.Pridej("202", 1);
        TestDatabase::exec("DELETE FROM pokoje_tab WHERE pokoj_id = 2");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (4, '201', 2)");
        p.reloadKeepingChanges();
        QCOMPARE(vypis(p), (QStringList{"103", "201", "202"}));
        QCOMPARE(p.prvky()[1], (Pokoj{4, "201", 2}));
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
        s.VypisPokoje(0, l);
        QCOMPARE(l.size(), 2);
        QVERIFY(l.contains("101") && l.contains("103"));
        s.VypisPokoje(1, l);
        QCOMPARE(l, QStringList());
        s.VypisPokoje(2, l);
        QCOMPARE(l, QStringList());

        // A save writes only its own changes: the dead link row stays (no new room takes id 9).
        s.PridejPokojeDoSkupiny(1, rooms({{2, "102", 1}}));
        s.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab ORDER BY skupina_pokoju_id, pokoj_id"),
                 (QStringList{"1|1", "1|3", "1|9", "2|2"}));
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

    void groupsByPosition()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Dvojče'), (3, 'Dvojče')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (3, 2)");
        SkupinyPokoju s;
        QStringList l;
        s.VypisPokoje(0, l);
        QCOMPARE(l, QStringList{"101"});
        s.VypisPokoje(1, l);
        QCOMPARE(l, QStringList{"102"});

        s.PridejPokojeDoSkupiny(1, rooms({{1, "101", 1}}));
        QCOMPARE(s.prvky()[0].clenove.size(), std::size_t(1));
        QCOMPARE(s.prvky()[1].clenove.size(), std::size_t(2));
        s.OdeberPokojeZeSkupiny(1, rooms({{2, "102", 1}}));
        QCOMPARE(s.prvky()[1].clenove.prvky(), (std::vector<Pokoj>{{1, "101", 1}}));

        s.Pridej("Nová");
        QVERIFY(jeDocasneId(s.prvky().back().skupina_pokoju_id));
        QCOMPARE(s.prvky().back().clenove.size(), std::size_t(0));
        s.Odstran(1);   // the second Dvojče
        QCOMPARE(s.prvky().size(), std::size_t(2));
        QCOMPARE(s.prvky()[0].skupina_pokoju_id, 1);
    }

    void groupNameTaken_data()
    {
        QTest::addColumn<QString>("nazev");
        QTest::addColumn<bool>("taken");
        QTest::newRow("in the list") << "Přízemí" << true;
        QTest::newRow("added here") << "Nová" << true;
        QTest::newRow("only in the table") << "Sklep" << true;
        QTest::newRow("removed here") << "Patro" << false;
        QTest::newRow("another case") << "přízemí" << false;
        QTest::newRow("new") << "Podkroví" << false;
    }
    void groupNameTaken()
    {
        QFETCH(QString, nazev);
        QFETCH(bool, taken);
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí'), (2, 'Patro')");
        SkupinyPokoju s;
        s.Odstran(1);
        s.Pridej("Nová");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (3, 'Sklep')");   // another desk's
        QCOMPARE(s.nameTaken(nazev), taken);
    }

    void groupsSave()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Stará')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (2, 3)");
        SkupinyPokoju s;
        s.Odstran(0);
        s.Pridej("Nová \"skupina\"");
        s.PridejPokojeDoSkupiny(0, rooms({{2, "102", 1}, {1, "101", 1}}));
        s.Uloz();
        // Id 3: 1 was still a group under the lock, 2 still has a link row.
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_tab"), QStringList{"3|Nová \"skupina\""});
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab ORDER BY skupina_pokoju_id, pokoj_id"),
                 (QStringList{"2|3", "3|1", "3|2"}));
        QCOMPARE(s.prvky()[0].skupina_pokoju_id, 3);

        SkupinyPokoju reloaded;
        QStringList l;
        reloaded.VypisPokoje(0, l);
        QCOMPARE(l.size(), 2);
    }

    void groupsReloadKeepsWhatStillApplies()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'A'), (2, 'B')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1)");
        SkupinyPokoju s;
        s.PridejPokojeDoSkupiny(0, rooms({{2, "102", 1}, {3, "103", 1}}));
        s.OdeberPokojeZeSkupiny(0, rooms({{1, "101", 1}}));
        s.Odstran(1);
        s.Pridej("C");
        s.PridejPokojeDoSkupiny(1, rooms({{2, "102", 1}, {3, "103", 1}}));
        s.Pridej("D");
        // Another desk: room 103 gone, group D added.
        TestDatabase::exec("DELETE FROM pokoje_tab WHERE pokoj_id = 3");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (3, 'D')");
        s.reloadKeepingChanges();
        QStringList l;
        s.Vypis(l);
        QCOMPARE(l, (QStringList{"A", "D", "C"}));
        s.VypisPokoje(0, l);
        QCOMPARE(l, QStringList{"102"});
        s.VypisPokoje(2, l);
        QCOMPARE(l, QStringList{"102"});
        s.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab ORDER BY skupina_pokoju_id, pokoj_id"),
                 (QStringList{"1|2", "4|2"}));
    }

    void savingNoGroupsEmptiesBothTables()
    {
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'A'), (2, 'B')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (2, 1)");
        SkupinyPokoju s;
        s.Odstran(0);
        s.Odstran(0);
        s.Uloz();
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_tab").toInt(), 0);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM skupiny_pokoju_propojeni_tab").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPokoje)
#include "test_pokoje.moc"
