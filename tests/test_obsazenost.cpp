// Occupancy over a span: the one-statement read must give exactly what
// asking once per room and day gives.

#include "TestDatabase.h"

#include "db/TMojeQuery.h"
#include "model/Obsazenost.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
const QDate F(2026, 3, 1);   // first day of the span in these tests

void stay(int pokoj, int od, int dO)
{
    // days relative to F
    static int number = 0;
    TestDatabase::exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (1, %1, '2026-01-01', '%2', '%3', %4, 100)")
                           .arg(++number)
                           .arg(F.addDays(od).toString(Qt::ISODate), F.addDays(dO).toString(Qt::ISODate))
                           .arg(pokoj));
}

QString picture(const MapaObsazenosti &m)
{
    QStringList rows;
    for (const auto &row : m) {
        QString r;
        for (bool b : row)
            r += b ? u'X' : u'.';
        rows << r;
    }
    return rows.join(u'/');
}

/** The reference: one question per room and day, whether a stay covers it. */
MapaObsazenosti perDay(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni)
{
    MapaObsazenosti mapa;
    for (const Pokoj &p : pokoje.prvky()) {
        std::vector<bool> row;
        for (QDate day = prvni; day <= posledni; day = day.addDays(1))
            row.push_back(TestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM objednavky_pokoje_tab WHERE "
                                                             "pokoj_id = %1 AND od_kdy <= '%2' AND do_kdy >= '%2'")
                                                  .arg(p.pokoj_id)
                                                  .arg(day.toString(Qt::ISODate)))
                              .toInt()
                          > 0);
        mapa.push_back(row);
    }
    return mapa;
}
} // namespace

class TestObsazenost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void fastReadEqualsPerDayRead()
    {
        stay(1, -5, 1);     // begins before the span
        stay(1, 5, 5);      // one day
        stay(2, 8, 20);     // ends after the span
        stay(3, -3, 12);    // encloses the span
        stay(4, 2, 4);      // the 3rd to the 5th
        stay(5, 20, 25);    // after the span
        stay(5, -9, -1);    // before the span, ends the day before
        stay(6, 0, 0);      // first day only
        stay(6, 9, 9);      // last day only
        stay(99, 0, 9);     // a room not asked about
        const Pokoje rooms(std::vector<Pokoj>{
            {1, "101", 1}, {2, "102", 1}, {3, "103", 1}, {4, "104", 1},
            {5, "105", 1}, {6, "106", 1}, {7, "107", 1}, {4, "104", 1}});   // 104 listed twice
        const QDate last = F.addDays(9);

        const qint64 before = TMojeQuery::statementsSent();
        const MapaObsazenosti fast = nactiObsazenost(rooms, F, last);
        QCOMPARE(TMojeQuery::statementsSent() - before, 1);
        const MapaObsazenosti reference = perDay(rooms, F, last);

        QCOMPARE(picture(fast), picture(reference));
        QCOMPARE(picture(reference), QStringLiteral("XX...X..../........XX/XXXXXXXXXX/..XXX...../"
                                                 "........../X........X/........../..XXX....."));
    }

    void fastReadEqualsPerDayReadOnRandomHistory_data()
    {
        QTest::addColumn<int>("roomCount");
        QTest::addColumn<int>("spans");
        QTest::addColumn<int>("longestSpan");
        QTest::newRow("a group, room by room") << 8 << 12 << 30;
        QTest::newRow("more rooms than are read room by room") << 160 << 2 << 8;
    }
    void fastReadEqualsPerDayReadOnRandomHistory()
    {
        QFETCH(int, roomCount);
        QFETCH(int, spans);
        QFETCH(int, longestSpan);
        // Years of stays before the span, dense ones around it, some whose
        // last day lies before their first (they cover no day), some of
        // rooms not asked about.
        QRandomGenerator random(11);
        QStringList stays;
        for (int n = 0; n < 1500; ++n) {
            const int od = n < 500 ? random.bounded(-1500, -20) : random.bounded(-20, 70);
            const int dO = od + (random.bounded(5) == 0 ? -random.bounded(1, 3) : random.bounded(0, 6));
            stays << QStringLiteral("(1, %1, '2026-01-01', '%2', '%3', %4, 100)")
                         .arg(n).arg(F.addDays(od).toString(Qt::ISODate), F.addDays(dO).toString(Qt::ISODate))
                         .arg(1 + random.bounded(roomCount + 2));
        }
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES " + stays.join(", "));
        std::vector<Pokoj> list;
        for (int room = 1; room <= roomCount; ++room)
            list.push_back({room, QString::number(100 + room), 1});
        const Pokoje rooms(list);
        for (int i = 0; i < spans; ++i) {
            const QDate first = F.addDays(random.bounded(-25, 60));
            const QDate last = first.addDays(random.bounded(0, longestSpan));
            QCOMPARE(picture(nactiObsazenost(rooms, first, last)), picture(perDay(rooms, first, last)));
        }
    }

    void emptyCases()
    {
        stay(1, 0, 3);
        const Pokoje one(std::vector<Pokoj>{{1, "101", 1}});
        QCOMPARE(picture(nactiObsazenost(one, F, F)), QStringLiteral("X"));
        QCOMPARE(nactiObsazenost(one, F, F.addDays(-1))[0].size(), std::size_t(0));
        QCOMPARE(nactiObsazenost(Pokoje(std::vector<Pokoj>{}), F, F.addDays(5)).size(), std::size_t(0));
    }
};

QTEST_GUILESS_MAIN(TestObsazenost)
#include "test_obsazenost.moc"
