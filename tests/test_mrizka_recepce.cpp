// The occupancy grid as the receptionist works from it, in the main window
// offscreen: a red square's tooltip names the reservation, a double-click on
// a green one opens the new reservation for that room and day, and the grid
// is drawn again however the new reservation dialog was closed.

#include "GuiTestSupport.h"
#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "app/ObsazenostGrid.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TNovaRezervace.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>

using namespace GuiTest;
using namespace RecepceTest;

class TestMrizkaRecepce : public QObject
{
    Q_OBJECT

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
        MessageBox::clearHistory();
        TestDatabase::clearTables();
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
        m_form = std::make_unique<TVitranaForm>(TestDatabase::config(), false);
        m_form->createDialogs();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

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
        // A red square opens nothing (should it, the dialog is closed again).
        bool opened = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                opened = true, d->reject();
        });
        guard.start(500);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, square("101", 3));
        guard.stop();
        QVERIFY(!opened);
        QVERIFY(!red("101", 5));
        inModal<TNovaRezervace>([&] { QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, square("101", 5)); },
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
        inModal<TNovaRezervace>([&] { m_form->findChild<QAction *>("MenuRezervaceNovaRezervace")->trigger(); },
                                [](TNovaRezervace *d) {
                                    QCOMPARE(d->findChild<QComboBox *>("PokojComboBox")->currentIndex(), -1);
                                    QCOMPARE(d->findChild<QDateEdit *>("OdDateTimePicker")->date(), den(0));
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
        inModal<TNovaRezervace>([&] { m_form->findChild<QAction *>("MenuRezervaceNovaRezervace")->trigger(); },
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
