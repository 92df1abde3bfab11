// The painted occupancy grid: painting only the exposed part must give the
// same pixels as painting it whole, whichever part a window shows; assistive
// tools see it as a table of rooms and days.

#include "TestDatabase.h"

#include "app/ObsazenostGrid.h"
#include "model/SkupinyPokoju.h"

#include <QAccessible>
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

/** Rooms 101 and 102 of "Přízemí" from Sunday 1 March 2026; reservation 4 holds 102 on the 3rd and 4th. */
void drawSmallGrid(ObsazenostGrid &grid, int days = 5)
{
    TestDatabase::clearTables();
    TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host')");
    TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan Novák')");
    TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2)");
    TestDatabase::exec(
        "INSERT INTO objednavky_pokoje_tab VALUES (1, 4, '2026-01-01', '2026-03-03', '2026-03-04', 2, 900)");
    grid.vyprazdni();
    grid.ZobrazObsazenost(SkupinyPokoju(), "Přízemí", QDate(2026, 3, 1), QDate(2026, 3, days));
}
} // namespace

class TestObsazenostGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        TestDatabase::setUp();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }

    void aCellSaysItsRoomDayAndState_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clientGone");
        QTest::newRow("free") << 0 << 0 << "101, neděle 1. března 2026, volný" << false;
        QTest::newRow("reserved, first night")
            << 1 << 2 << "102, úterý 3. března 2026, obsazený, rezervace 4, Jan Novák" << false;
        QTest::newRow("reserved, last night")
            << 1 << 3 << "102, středa 4. března 2026, obsazený, rezervace 4, Jan Novák" << false;
        QTest::newRow("the day after") << 1 << 4 << "102, čtvrtek 5. března 2026, volný" << false;
        QTest::newRow("client deleted")
            << 1 << 2 << "102, úterý 3. března 2026, obsazený, rezervace 4, (smazaný)" << true;
    }
    void aCellSaysItsRoomDayAndState()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(bool, clientGone);
        ObsazenostGrid grid;
        drawSmallGrid(grid);
        if (clientGone)   // after drawing: a cell is read when asked
            TestDatabase::exec("DELETE FROM klienti_tab");
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&grid);
        QVERIFY(iface && iface->tableInterface());
        QAccessibleInterface *cell = iface->tableInterface()->cellAt(row, column);
        QVERIFY(cell);
        QCOMPARE(cell->role(), QAccessible::Cell);
        QCOMPARE(cell->text(QAccessible::Name), text);
        QVERIFY(cell->tableCellInterface());
        QCOMPARE(cell->tableCellInterface()->rowIndex(), row);
        QCOMPARE(cell->tableCellInterface()->columnIndex(), column);
        QCOMPARE(cell->tableCellInterface()->rowHeaderCells().value(0)->text(QAccessible::Name), row ? "102" : "101");
        QCOMPARE(cell->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
                 text.section(", ", 1, 1));
    }

    void theGridIsATableOfRoomsAndDays()
    {
        ObsazenostGrid grid;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&grid);
        QVERIFY(iface);
        QAccessibleTableInterface *table = iface->tableInterface();
        QVERIFY2(table, "the grid is a table on the accessibility bus");
        QCOMPARE(iface->role(), QAccessible::Table);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Obsazenost pokojů"));
        QCOMPARE(iface->childCount(), 0);
        drawSmallGrid(grid);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->rowDescription(1), QStringLiteral("102"));
        QCOMPARE(table->columnDescription(0), QStringLiteral("neděle 1. března 2026"));
        QCOMPARE(table->cellAt(2, 0), nullptr);
        QCOMPARE(table->cellAt(0, 5), nullptr);

        // Children as an item view's: the corner and the day headers, then each room's number and days.
        QCOMPARE(iface->childCount(), 3 * 6);
        QStringList roles;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface *child = iface->child(i);
            QVERIFY(child);
            QCOMPARE(iface->indexOfChild(child), i);
            QCOMPARE(child->parent(), iface);
            if (i % 6 == 0 || i < 6)
                roles << QString(child->role() == QAccessible::ColumnHeader ? "column header"
                                 : child->role() == QAccessible::RowHeader  ? "row header"
                                                                            : "other")
                             + ": " + child->text(QAccessible::Name);
        }
        QCOMPARE(roles, (QStringList{"column header: Pokoj", "column header: neděle 1. března 2026",
                                     "column header: pondělí 2. března 2026", "column header: úterý 3. března 2026",
                                     "column header: středa 4. března 2026", "column header: čtvrtek 5. března 2026",
                                     "row header: 101", "row header: 102"}));
        QCOMPARE(iface->child(2 * 6 + 3), table->cellAt(1, 2));
        QCOMPARE(iface->focusChild(), table->cellAt(0, 0));   // the cursor's cell

        // Drawn again for fewer days: the table shrinks and cells beyond it are gone.
        QAccessibleInterface *last = table->cellAt(1, 4);
        drawSmallGrid(grid, 2);
        QCOMPARE(table->columnCount(), 2);
        QCOMPARE(iface->childCount(), 3 * 3);
        QVERIFY(!last->isValid());
        QCOMPARE(table->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("102, pondělí 2. března 2026, volný"));
        grid.vyprazdni();
        QCOMPARE(iface->childCount(), 0);
        QCOMPARE(table->cellAt(0, 0), nullptr);
    }

    // Over the small grid: 101 dirty and out of order on the 2nd and 3rd,
    // reservation 4 checked in, reservation 5 of 101 on the 5th checked out.
    void statesByColourAndText_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("text");
        QTest::newRow("free") << 0 << 0 << QColor(0, 255, 0) << "101, neděle 1. března 2026, volný";
        QTest::newRow("out of order") << 0 << 1 << QColor(128, 128, 128)
                                      << "101, pondělí 2. března 2026, mimo provoz, Oprava topení";
        QTest::newRow("reserved and checked in")
            << 1 << 3 << QColor(0, 70, 220) << "102, středa 4. března 2026, ubytovaný, rezervace 4, Jan Novák";
        QTest::newRow("checked out, still reserved")
            << 0 << 4 << QColor(255, 0, 0) << "101, čtvrtek 5. března 2026, obsazený, rezervace 5, Jan Novák";
    }
    void statesByColourAndText()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QColor, colour);
        QFETCH(QString, text);
        ObsazenostGrid grid;
        drawSmallGrid(grid);
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES (1, 5, '2026-01-01', '2026-03-05', '2026-03-05', 1, 900)");
        TestDatabase::exec("INSERT INTO prijezdy_tab VALUES (4, 2, '2026-03-03', '2026-03-03 14:00:00', NULL), "
                           "(5, 1, '2026-03-05', '2026-03-05 14:00:00', '2026-03-06 09:00:00')");
        TestDatabase::exec("INSERT INTO mimo_provoz_tab VALUES (1, 1, '2026-03-02', '2026-03-03', 'Oprava topení')");
        TestDatabase::exec("INSERT INTO stav_pokoju_tab VALUES (1, 1), (2, 2)");
        grid.vyprazdni();
        grid.ZobrazObsazenost(SkupinyPokoju(), "Přízemí", QDate(2026, 3, 1), QDate(2026, 3, 5));
        grid.resize(grid.velikostObsahu());
        QCOMPARE(paint(grid, {grid.rect()}).pixelColor(ObsazenostGrid::ctverec(row, column).center()), colour);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&grid);
        QCOMPARE(iface->tableInterface()->cellAt(row, column)->text(QAccessible::Name), text);
        // The room's housekeeping status in its header.
        QCOMPARE(iface->tableInterface()->rowDescription(0), QStringLiteral("101, špinavý"));
        QCOMPARE(iface->tableInterface()->rowDescription(1), QStringLiteral("102, zkontrolovaný"));
        QCOMPARE(grid.toolTipAt(ObsazenostGrid::ctverec(0, 2).center()), QStringLiteral("Mimo provoz: Oprava topení"));
    }

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

    void headersFollowTheFontLocaleAndSpan_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("a larger font") << "font";
        QTest::newRow("another locale") << "locale";
        QTest::newRow("another span") << "span";
    }
    void headersFollowTheFontLocaleAndSpan()
    {
        // The headers are laid out once: a grid painted before the change
        // must paint as one that never saw the old font, locale or span.
        QFETCH(QString, change);
        const QLocale czech;
        struct Restore
        {
            QLocale locale;
            ~Restore() { QLocale::setDefault(locale); }
        } restore{czech};
        const auto apply = [&](ObsazenostGrid &grid) {
            if (change == "font") {
                QFont bigger = grid.font();
                bigger.setPointSizeF(bigger.pointSizeF() * 1.5);
                grid.setFont(bigger);
            } else if (change == "span") {
                grid.vyprazdni();
                grid.ZobrazObsazenost(SkupinyPokoju(), "Přízemí", QDate(2026, 4, 6), QDate(2026, 4, 19));
            }
        };
        ObsazenostGrid shown;
        drawSmallGrid(shown, 14);
        shown.resize(shown.velikostObsahu());
        const QImage old = paint(shown, {shown.rect()});
        if (change == "locale")
            QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        apply(shown);

        ObsazenostGrid fresh;
        drawSmallGrid(fresh, 14);
        apply(fresh);
        fresh.resize(shown.size());
        const QImage now = paint(shown, {shown.rect()});
        QVERIFY(now != old);
        QVERIFY(now == paint(fresh, {fresh.rect()}));
    }
};

QTEST_MAIN(TestObsazenostGrid)
#include "test_obsazenostgrid.moc"
