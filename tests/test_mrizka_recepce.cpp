// The occupancy grid as the receptionist works from it, in the main window
// offscreen: a red square's tooltip names the reservation, a double-click on
// a green one (or Enter on its cell, reached by the keyboard) opens the new
// reservation for that room and day, and the grid is drawn again however the
// new reservation dialog was closed.

#include "GuiTestSupport.h"
#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "app/ObsazenostGrid.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPrijezdHosta.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QToolTip>

using namespace GuiTest;
using namespace RecepceTest;

namespace {
/** As inModal, for a press whose dialog opens from the event loop: waits until that opening has run. */
template <class Dialog>
void inModalLater(const std::function<void()> &press, const std::function<void(Dialog *)> &act)
{
    bool ran = false;
    inModal<Dialog>(
        [&] {
            press();
            QTRY_VERIFY_WITH_TIMEOUT(ran, 10000);
        },
        [&](Dialog *d) {
            ran = true;
            act(d);
        });
}

/** The press opens no modal dialog (one that does is closed again at once). */
void opensNoDialog(const std::function<void()> &press)
{
    bool opened = false;
    QTimer guard;
    guard.setInterval(5);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            opened = true, d->reject();
    });
    guard.start();
    press();
    // An opening the press queued runs before this.
    bool after = false;
    QTimer::singleShot(0, [&] { after = true; });
    QTRY_VERIFY_WITH_TIMEOUT(after, 10000);
    QVERIFY2(!opened, "a dialog opened");
}

void checkBooking(TNovaRezervace *d, const QString &room, const QDate &day)
{
    CONTROL(QComboBox, pokoj, d, "PokojComboBox");
    QCOMPARE(pokoj->currentText(), room);
    QCOMPARE(d->findChild<QDateEdit *>("OdDateTimePicker")->date(), day);
    QCOMPARE(d->findChild<QDateEdit *>("DoDateTimePicker")->date(), day);
}
} // namespace

class TestMrizkaRecepce : public QObject
{
    Q_OBJECT

    std::unique_ptr<Recepce> m_recepce;   // outlives the window, as in the application
    std::unique_ptr<TVitranaForm> m_form;

    ObsazenostGrid *grid() { return m_form->grid(); }
    int row(const char *cisloPokoje) { return grid()->vrstvy()[0].cislaPokoju.indexOf(cisloPokoje); }
    QPoint square(const char *cisloPokoje, int day) { return ObsazenostGrid::ctverec(row(cisloPokoje), day).center(); }
    bool red(const char *cisloPokoje, int day) { return grid()->vrstvy()[0].obsazenost[row(cisloPokoje)][day]; }
    QString hover(const QPoint &at) { return grid()->toolTipAt(at); }

private slots:
    void initTestCase() { RecepceTest::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan Novák')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
        // Room 102, booked like 101, is not in the group.
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 3), (1, 1)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední den', 20)");
        QStringList kalendar;
        for (int d = 0; d < 30; ++d)
            kalendar << QString("('%1', 1)").arg(sql(d));
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES " + kalendar.join(", "));
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000)");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 4, '%1', '%2', '%3', 1, 2700.5), "
                                   "(1, 5, '%1', '%2', '%3', 2, 2700.5)")
                               .arg(sql(-3), sql(2), sql(4)));
        m_recepce = TestDatabase::openDesk();
        m_form = std::make_unique<TVitranaForm>(m_recepce.get());
        m_form->createDialogs();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup()
    {
        m_form.reset();
        m_recepce.reset();
    }

    void redSquaresNameTheirReservation()
    {
        QVERIFY(red("101", 3));
        QHelpEvent event(QEvent::ToolTip, square("101", 3), grid()->viewport()->mapToGlobal(square("101", 3)));
        QApplication::sendEvent(grid()->viewport(), &event);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), hover(square("101", 3)));
        QCOMPARE(hover(square("101", 3)), "Rezervace 4\nKlient: Jan Novák\nOd: " + ukaz(2) + "\nDo: " + ukaz(4)
                                          + "\nCena: 2700,5");
        QCOMPARE(hover(square("101", 2)), hover(square("101", 4)));
        QCOMPARE(hover(square("101", 5)), QString());                            // green
        QCOMPARE(hover(square("103", 3)), QString());                            // room 103 is free
        QCOMPARE(hover(square("101", 3) + QPoint(10, 0)), QString());            // between squares
        // A reservation whose client is gone still shows.
        TestDatabase::exec("DELETE FROM klienti_tab");
        QVERIFY(hover(square("101", 3)).contains("Klient: (smazaný)\n"));
    }

    void doubleClickingAGreenSquareBooksThatRoomAndDay()
    {
        // A red square opens nothing.
        opensNoDialog([&] { QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, square("101", 3)); });
        QVERIFY(!red("101", 5));
        inModalLater<TNovaRezervace>([&] { QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, square("101", 5)); },
                                     [](TNovaRezervace *d) {
                                         CONTROL(QComboBox, klient, d, "KlientComboBox");
                                         CONTROL(QComboBox, pokoj, d, "PokojComboBox");
                                         CONTROL(QLabel, cena, d, "CenaLabel");
                                         QCOMPARE(klient->currentIndex(), -1);
                                         QCOMPARE(pokoj->currentText(), QStringLiteral("101"));
                                         QCOMPARE(d->findChild<QDateEdit *>("OdDateTimePicker")->date(), den(5));
                                         QCOMPARE(d->findChild<QDateEdit *>("DoDateTimePicker")->date(), den(5));
                                         QCOMPARE(cena->text(), QStringLiteral("Nesprávně zadané údaje."));
                                         klient->hidePopup();
                                         klient->setCurrentIndex(0);
                                         QCOMPARE(cena->text(), QStringLiteral("1000"));
                                         click(d->findChild<QPushButton *>("OKButton"));
                                     });
        QCOMPARE(TestDatabase::rows(QString("SELECT pokoj_id FROM objednavky_pokoje_tab WHERE od_kdy = '%1' AND do_kdy = '%1'")
                                        .arg(sql(5))),
                 QStringList{"1"});
        QVERIFY(red("101", 5));
        // The menu opens it afresh: no room, today.
        inModalLater<TNovaRezervace>([&] { m_form->findChild<QAction *>("MenuRezervaceNovaRezervace")->trigger(); },
                                     [](TNovaRezervace *d) {
                                         QCOMPARE(d->findChild<QComboBox *>("PokojComboBox")->currentIndex(), -1);
                                         QCOMPARE(d->findChild<QDateEdit *>("OdDateTimePicker")->date(), den(0));
                                     });
    }

    void theKeyboardMovesACellCursor_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QList<int>>("keys");   // Qt::Key, with Ctrl added as Qt::ControlModifier
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("day");
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("right twice, down") << 30 << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down} << 1 << 2;
        QTest::newRow("left and up stop at the first cell") << 30 << QList<int>{Qt::Key_Left, Qt::Key_Up} << 0 << 0;
        QTest::newRow("down stops at the last room")
            << 30 << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down} << 1 << 0;
        QTest::newRow("End, then Home") << 30 << QList<int>{Qt::Key_End, Qt::Key_Down, Qt::Key_Home} << 1 << 0;
        QTest::newRow("End of a long span scrolls") << 60 << QList<int>{Qt::Key_End} << 0 << 59;
        QTest::newRow("Ctrl+End, Ctrl+Home")
            << 60 << QList<int>{ctrl | Qt::Key_End, Qt::Key_Left, ctrl | Qt::Key_Home} << 0 << 0;
        QTest::newRow("Ctrl+End") << 60 << QList<int>{ctrl | Qt::Key_End, Qt::Key_Left} << 1 << 58;
    }
    void theKeyboardMovesACellCursor()
    {
        QFETCH(int, days);
        QFETCH(QList<int>, keys);
        QFETCH(int, row);
        QFETCH(int, day);
        if (days != 30) {
            MessageBox::setNextAnswer(QMessageBox::Ok);
            m_form->findChild<QDateTimeEdit *>("DoDateTimePicker")->setDate(den(days - 1));
            click(m_form->findChild<QPushButton *>("ZobrazButton"));
            QCOMPARE(grid()->pocetDnu(), days);
        }
        // Tab from the group tabs reaches the grid.
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        CONTROL(QTabBar, tabs, m_form.get(), "ObsazenostPokojuTabControl");
        tabs->setFocus();
        QTest::keyClick(tabs, Qt::Key_Tab);
        QVERIFY(grid()->hasFocus());
        for (int key : keys)
            QTest::keyClick(grid(), Qt::Key(key & ~int(Qt::KeyboardModifierMask)),
                            Qt::KeyboardModifiers(key & int(Qt::KeyboardModifierMask)));
        QCOMPARE(grid()->kurzor(), (ObsazenostGrid::Bunka{row, day}));
        // In view, beside the room numbers that stay.
        const QRect cell = grid()->obdelnikNaObrazovce(grid()->kurzor());
        const QRect view(grid()->viewport()->mapToGlobal(QPoint(ObsazenostGrid::sloupecX, 0)),
                         grid()->viewport()->rect().adjusted(ObsazenostGrid::sloupecX, 0, 0, 0).size());
        QVERIFY2(view.contains(cell), qPrintable(QStringLiteral("cell at %1, %2").arg(cell.x()).arg(cell.y())));
        QCOMPARE(grid()->horizontalScrollBar()->value() > 0, day > 30);
        // A black ring inside the square, its colour still showing.
        const QImage shown = grid()->viewport()->grab().toImage();
        const QPoint at = grid()->viewport()->mapFromGlobal(cell.topLeft());
        QCOMPARE(shown.pixelColor(at), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(at + QPoint(8, 8)),
                 grid()->vrstvy()[0].obsazenost[row][day] ? QColor(255, 0, 0) : QColor(0, 255, 0));
        // A screen reader's focus is on the cursor's cell.
        QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(grid())->focusChild();
        QVERIFY(focus && focus->tableCellInterface());
        QCOMPARE(focus->tableCellInterface()->rowIndex(), row);
        QCOMPARE(focus->tableCellInterface()->columnIndex(), day);
        QVERIFY(focus->state().focused);
        QCOMPARE(focus->text(QAccessible::Name).section(", ", 0, 0), grid()->cisloPokoje(row));
        QVERIFY(!grid()->cisloPokoje(row).isEmpty());
    }

    void enterOnAFreeCellBooksItAndOnAReservedOneTellsWhose()
    {
        grid()->setFocus();
        QCOMPARE(grid()->kurzor(), (ObsazenostGrid::Bunka{0, 0}));
        // To 101's 4th day, reserved.
        for (int r = 0; r < row("101"); ++r)
            QTest::keyClick(grid(), Qt::Key_Down);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right})
            QTest::keyClick(grid(), key);
        opensNoDialog([&] { QTest::keyClick(grid(), Qt::Key_Return); });
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), hover(square("101", 3)));
        QTest::keyClick(grid(), Qt::Key_Right);
        QTest::keyClick(grid(), Qt::Key_Right);
        inModalLater<TNovaRezervace>([&] { QTest::keyClick(grid(), Qt::Key_Enter); },
                                          [](TNovaRezervace *d) { checkBooking(d, "101", den(5)); });
        // Drawn again, the cursor is where it was.
        QCOMPARE(grid()->kurzor(), (ObsazenostGrid::Bunka{row("101"), 5}));
        // An assistive tool presses the cell's action instead.
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid());
        QAccessibleInterface *cell = table->tableInterface()->cellAt(row("103"), 7);
        QVERIFY(cell->actionInterface());
        QVERIFY(!table->tableInterface()->cellAt(row("101"), 3)->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        inModalLater<TNovaRezervace>(
            [&] { cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); },
            [](TNovaRezervace *d) { checkBooking(d, "103", den(7)); });
        QCOMPARE(grid()->kurzor(), (ObsazenostGrid::Bunka{row("103"), 7}));
    }

    void pOnAReservedCellOpensItsArrival()
    {
        grid()->setFocus();
        for (int r = 0; r < row("101"); ++r)
            QTest::keyClick(grid(), Qt::Key_Down);
        QTest::keyClick(grid(), Qt::Key_Right);
        opensNoDialog([&] { QTest::keyClick(grid(), Qt::Key_P); });   // a free square: nothing arrives
        QTest::keyClick(grid(), Qt::Key_Right);
        QTest::keyClick(grid(), Qt::Key_Right);
        inModalLater<TPrijezdHosta>([&] { QTest::keyClick(grid(), Qt::Key_P); }, [](TPrijezdHosta *d) {
            // Reservation 4 in room 101, chosen among the stays the window lists.
            const QString pobyt = d->findChild<QComboBox *>("PobytComboBox")->currentText();
            QVERIFY2(pobyt.contains("4") && pobyt.contains("101"), qPrintable(pobyt));
            d->reject();
        });
    }

    void theGridIsDrawnAgainHoweverTheDialogCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Storno") << "Storno";
        QTest::newRow("Escape") << "Escape";
    }
    void theGridIsDrawnAgainHoweverTheDialogCloses()
    {
        QFETCH(QString, how);
        QVERIFY(!red("103", 7));
        inModalLater<TNovaRezervace>([&] { m_form->findChild<QAction *>("MenuRezervaceNovaRezervace")->trigger(); },
                                     [&](TNovaRezervace *d) {
                                         auto *klient = d->findChild<QComboBox *>("KlientComboBox");
                                         klient->hidePopup();
                                         klient->setCurrentIndex(0);
                                         d->findChild<QComboBox *>("PokojComboBox")->setCurrentIndex(2);   // 103
                                         d->findChild<QDateEdit *>("DoDateTimePicker")->setDate(den(7));
                                         d->findChild<QDateEdit *>("OdDateTimePicker")->setDate(den(7));
                                         if (how == "OK") {
                                             click(d->findChild<QPushButton *>("OKButton"));
                                             return;
                                         }
                                         // Another desk books it meanwhile.
                                         auto other = TestDatabase::openAnother();
                                         TMojeQuery(*other).exec(
                                             QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 9, '%1', '%1', '%1', 3, 0)")
                                                 .arg(sql(7)));
                                         if (how == "Storno")
                                             click(d->findChild<QPushButton *>("StornoButton"));
                                         else
                                             QTest::keyClick(d->findChild<QComboBox *>("PokojComboBox"), Qt::Key_Escape);
                                     });
        QVERIFY(red("103", 7));
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestMrizkaRecepce test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_mrizka_recepce.moc"
