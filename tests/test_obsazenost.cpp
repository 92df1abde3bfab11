// Occupancy over a span: the one-statement read must give exactly what
// asking once per room and day gives.

#include "TestDatabase.h"

#include "db/TMojeQuery.h"
#include "model/Obsazenost.h"

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
        const MapaObsazenosti perDay = nactiObsazenostPoDnech(rooms, F, last);
        QCOMPARE(TMojeQuery::statementsSent() - before, 1 + 8 * 10);

        QCOMPARE(picture(fast), picture(perDay));
        QCOMPARE(picture(perDay), QStringLiteral("XX...X..../........XX/XXXXXXXXXX/..XXX...../"
                                                 "........../X........X/........../..XXX....."));
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
