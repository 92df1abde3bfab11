// The painted occupancy grid: painting only the exposed part must give the
// same pixels as painting it whole, whichever part a window shows.

#include "TestDatabase.h"

#include "app/ObsazenostGrid.h"
#include "model/SkupinyPokoju.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
QImage paint(ObsazenostGrid &grid, const QList<QRect> &parts)
{
    QImage image(grid.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (const QRect &part : parts)
        grid.render(&image, part.topLeft(), QRegion(part));
    return image;
}
} // namespace

class TestObsazenostGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }

    void exposedPartsPaintAsTheWhole_data()
    {
        QTest::addColumn<QSize>("part");
        QTest::newRow("window-sized") << QSize(737, 460);
        QTest::newRow("odd strips") << QSize(93, 57);
        QTest::newRow("a column and a half") << QSize(31, 1000);
        QTest::newRow("single pixels across a corner") << QSize(1, 1);
    }
    void exposedPartsPaintAsTheWhole()
    {
        QFETCH(QSize, part);
        TestDatabase::clearTables();
        // Two groups of one name drawn over each other, a room number
        // longer than its column, Sundays, random stays.
        QRandomGenerator random(3);
        QStringList rooms, links, stays;
        for (int room = 1; room <= 40; ++room) {
            rooms << QStringLiteral("(%1, '%2', 1)").arg(room).arg(room == 7 ? QString(50, u'8') : QString::number(100 + room));
            links << QStringLiteral("(%1, %2)").arg(room % 2 + 1).arg(room);
        }
        const QDate first(2026, 3, 1);
        for (int n = 0; n < 300; ++n) {
            const QDate od = first.addDays(random.bounded(-10, 70));
            stays << QStringLiteral("(1, %1, '2026-01-01', '%2', '%3', %4, 100)")
                         .arg(n).arg(od.toString(Qt::ISODate), od.addDays(random.bounded(5)).toString(Qt::ISODate))
                         .arg(1 + random.bounded(40));
        }
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES " + rooms.join(", "));
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Vše'), (2, 'Vše')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES " + links.join(", "));
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES " + stays.join(", "));

        ObsazenostGrid grid;
        grid.ZobrazObsazenost(SkupinyPokoju(), "Vše", first, first.addDays(59));
        grid.resize(grid.velikostObsahu());   // all of it in view, nothing to scroll
        QCOMPARE(grid.vrstvy().size(), std::size_t(2));
        const QImage whole = paint(grid, {grid.rect()});

        QList<QRect> parts;
        if (part == QSize(1, 1)) {
            // the pixels around the corner of a header label and a square
            for (int y = 30; y < 50; ++y)
                for (int x = 60; x < 140; ++x)
                    parts << QRect(x, y, 1, 1);
            const QImage pixels = paint(grid, parts);
            QCOMPARE(pixels.copy(60, 30, 80, 20), whole.copy(60, 30, 80, 20));
            return;
        }
        for (int y = 0; y < grid.height(); y += part.height())
            for (int x = 0; x < grid.width(); x += part.width())
                parts << QRect(QPoint(x, y), part);
        QVERIFY(paint(grid, parts) == whole);
    }
};

QTEST_MAIN(TestObsazenostGrid)
#include "test_obsazenostgrid.moc"
