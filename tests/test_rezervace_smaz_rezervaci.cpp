// The delete-reservation dialog, offscreen against the real server: the
// chosen client's reservations and their days, deleting one (every row of
// it) or keeping it, two clients of one name, the client with id 0, a number
// given again to someone else meanwhile, the keyboard, and the main window's
// grid redrawn however the dialog was closed.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "app/ObsazenostGrid.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "model/Objednavky.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using namespace GuiTest;

namespace {
QStringList storedNumbers()
{
    return TestDatabase::rows("SELECT klient_id, cislo_objednavky, pokoj_id FROM objednavky_pokoje_tab "
                              "ORDER BY cislo_objednavky, pokoj_id");
}

const QString confirmation = QStringLiteral("Opravdu chcete rezervaci trvale smazat?|Varování");
} // namespace

class TestRezervaceSmazRezervaci : public QObject
{
    Q_OBJECT

    std::unique_ptr<TRezervaceSmazRezervaci> m_dialog;

    void inDialog(const std::function<void(TRezervaceSmazRezervaci *)> &act) { inModal(*m_dialog, act); }

private slots:
    void initTestCase()
    {
        setUpDatabase();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        // Client 0 is the first guest the web import stored; two are named alike.
        TestDatabase::insertClients("(0, 1, 'Host z webu'), (4, 2, 'Jan Novák'), (5, 2, 'Eva Malá'), (6, 2, 'Jan Novák')");
        // Reservation 17 holds two rooms.
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES "
                           "(4, 3, '2024-04-01', '2024-05-01', '2024-05-03', 1, 900), "
                           "(4, 17, '2024-04-02', '2024-06-10', '2024-06-14', 1, 900), "
                           "(4, 17, '2024-04-02', '2024-06-10', '2024-06-14', 2, 900), "
                           "(6, 20, '2024-04-03', '2024-07-01', '2024-07-01', 1, 900), "
                           "(0, 5, '2024-04-04', '2024-08-01', '2024-08-02', 2, 900)");
        m_dialog = std::make_unique<TRezervaceSmazRezervaci>();
    }
    void cleanup() { m_dialog.reset(); }

    void deletingOneReservationOfTheClient_data()
    {
        QTest::addColumn<int>("client");   // line of KlientComboBox
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("line");     // the line deleted
        QTest::addColumn<QString>("od");
        QTest::addColumn<QString>("dO");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("stored");
        const QStringList all{"4|3|1", "0|5|2", "4|17|1", "4|17|2", "6|20|1"};
        QTest::newRow("every row of the number")
            << 1 << QStringList{"3", "17", "17"} << 2 << "2024-06-10" << "2024-06-14" << int(QMessageBox::Ok)
            << QStringList{"3"} << QStringList{"4|3|1", "0|5|2", "6|20|1"};
        QTest::newRow("Cancel keeps it")
            << 1 << QStringList{"3", "17", "17"} << 0 << "2024-05-01" << "2024-05-03" << int(QMessageBox::Cancel)
            << QStringList{"3", "17", "17"} << all;
        QTest::newRow("two of one name: the one picked")
            << 3 << QStringList{"20"} << 0 << "2024-07-01" << "2024-07-01" << int(QMessageBox::Ok)
            << QStringList() << QStringList{"4|3|1", "0|5|2", "4|17|1", "4|17|2"};
        QTest::newRow("client 0") << 0 << QStringList{"5"} << 0 << "2024-08-01" << "2024-08-02"
                                  << int(QMessageBox::Ok) << QStringList() << QStringList{"4|3|1", "4|17|1", "4|17|2", "6|20|1"};
    }
    void deletingOneReservationOfTheClient()
    {
        QFETCH(int, client);
        QFETCH(QStringList, listed);
        QFETCH(int, line);
        QFETCH(QString, od);
        QFETCH(QString, dO);
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        QFETCH(QStringList, stored);
        inDialog([&](TRezervaceSmazRezervaci *d) {
            auto *klient = control<QComboBox>(d, "KlientComboBox");
            auto *rezervace = control<QListWidget>(d, "RezervaceListBox");
            auto *odLabel = control<QLabel>(d, "OdLabel");
            auto *doLabel = control<QLabel>(d, "DoLabel");
            auto *smaz = control<QPushButton>(d, "SmazRezervaciButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("RezervaceSmazRezervaci"));
            QCOMPARE(lines(klient), (QStringList{"Host z webu", "Jan Novák [klient č. 4]", "Eva Malá",
                                                 "Jan Novák [klient č. 6]"}));
            QCOMPARE(klient->currentIndex(), -1);
            QVERIFY(!control<QPushButton>(d, "StornoButton")->isEnabled());
            click(smaz);   // nothing chosen: nothing happens
            chooseLine(klient, client);
            QCOMPARE(lines(rezervace), listed);
            QCOMPARE(selectedLines(rezervace), QStringList());
            QCOMPARE(odLabel->text(), QString());
            clickLine(rezervace, line);
            QCOMPARE(odLabel->text(), od);
            QCOMPARE(doLabel->text(), dO);
            MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
            click(smaz);
            QCOMPARE(lines(rezervace), left);
            const bool kept = answer != QMessageBox::Ok;
            QCOMPARE(selectedLines(rezervace), kept ? QStringList{listed[line]} : QStringList());
            QCOMPARE(odLabel->text(), kept ? od : QString());
            QCOMPARE(doLabel->text(), kept ? dO : QString());
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(messages(), QStringList{confirmation});
        QCOMPARE(MessageBox::history()[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(storedNumbers(), stored);
    }

    void anotherStayIsNeverDeletedInstead()
    {
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES (5, 21, '2024-04-05', '2024-09-01', '2024-09-01', 2, 900)");
        TestDatabase::exec("INSERT INTO ciselne_rady_tab VALUES ('objednavka', 21)");   // as the desk numbered it
        inDialog([](TRezervaceSmazRezervaci *d) {
            auto *rezervace = control<QListWidget>(d, "RezervaceListBox");
            chooseLine(control<QComboBox>(d, "KlientComboBox"), 2);
            QCOMPARE(lines(rezervace), QStringList{"21"});
            clickLine(rezervace, 0);
            // Meanwhile 21 is cancelled at another desk and the next stay
            // stored: its number, the highest, is not given again.
            TestDatabase::exec("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky = 21");
            TestDatabase::exec("INSERT INTO pokoje_tab VALUES (2, '102', 1)");
            QVERIFY(Objednavka(6, 0, QDate(2024, 4, 6), QDate(2024, 9, 5), QDate(2024, 9, 5), 2, 900).Zarezervuj());
            click(control<QPushButton>(d, "SmazRezervaciButton"));
            QCOMPARE(lines(rezervace), QStringList());
        });
        QCOMPARE(TestDatabase::rows("SELECT cislo_objednavky, klient_id FROM objednavky_pokoje_tab WHERE klient_id = 6 "
                                    "ORDER BY 1"),
                 (QStringList{"20|6", "22|6"}));
        QCOMPARE(messages().last(), QStringLiteral("Rezervace 21 už neexistuje, mezitím ji smazala jiná recepce.|Chyba"));
    }

    void byKeyboard()
    {
        inDialog([](TRezervaceSmazRezervaci *d) {
            auto *klient = control<QComboBox>(d, "KlientComboBox");
            auto *rezervace = control<QListWidget>(d, "RezervaceListBox");
            auto *od = control<QLabel>(d, "OdLabel");
            QTRY_VERIFY(klient->hasFocus());   // once the dialog is the active window
            QTest::keyClick(klient, Qt::Key_Down);
            QTest::keyClick(klient, Qt::Key_Down);
            QCOMPARE(lines(rezervace), (QStringList{"3", "17", "17"}));
            QTest::keyClick(klient, Qt::Key_Tab);
            QVERIFY(rezervace->hasFocus());
            QTest::keyClick(rezervace, Qt::Key_Down);
            QCOMPARE(selectedLines(rezervace), QStringList{"17"});
            QCOMPARE(od->text(), QStringLiteral("2024-06-10"));
            QTest::keyClick(rezervace, Qt::Key_Up);
            QCOMPARE(od->text(), QStringLiteral("2024-05-01"));
            QTest::keyClick(rezervace, Qt::Key_Tab);
            auto *smaz = control<QPushButton>(d, "SmazRezervaciButton");
            QVERIFY(smaz->hasFocus());
            QTest::keyClick(smaz, Qt::Key_Space);
            QCOMPARE(lines(rezervace), (QStringList{"17", "17"}));
            // another client: another list, no days shown
            QTest::keyClick(rezervace, Qt::Key_Down);
            QVERIFY(!od->text().isEmpty());
            QTest::keyClick(klient, Qt::Key_Down);
            QCOMPARE(lines(rezervace), QStringList());
            QCOMPARE(od->text(), QString());
            QTest::keyClick(klient, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(messages(), QStringList{confirmation});
        QCOMPARE(storedNumbers(), (QStringList{"0|5|2", "4|17|1", "4|17|2", "6|20|1"}));
    }

    void aCheckedInReservationIsKept_data()
    {
        QTest::addColumn<QString>("prijezd");   // the arrival row: reservation, room, first day, departure
        QTest::addColumn<QStringList>("stored");
        const QStringList all{"4|3|1", "0|5|2", "4|17|1", "4|17|2", "6|20|1"};
        QTest::newRow("one of its rooms checked in") << "17, 2, '2024-06-10', '2024-06-10 14:00', NULL" << all;
        QTest::newRow("checked out") << "17, 1, '2024-06-10', '2024-06-10 14:00', '2024-06-15 10:00'" << all;
        QTest::newRow("another reservation checked in")
            << "3, 1, '2024-05-01', '2024-05-01 14:00', NULL" << QStringList{"4|3|1", "0|5|2", "6|20|1"};
    }
    void aCheckedInReservationIsKept()
    {
        QFETCH(QString, prijezd);
        QFETCH(QStringList, stored);
        TestDatabase::exec("INSERT INTO prijezdy_tab VALUES (" + prijezd + ")");
        QString refused;
        try {
            Objednavka::SmazObjednavku(17, 4);
        } catch (const DatabaseError &e) {
            refused = e.text();
        }
        const bool kept = stored.size() == 5;
        QCOMPARE(refused.startsWith("Rezervaci s ubytovanými hosty nelze smazat;"), kept);
        QCOMPARE(storedNumbers(), stored);
    }

    void theGridIsRedrawnHoweverTheDialogCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("title-bar close") << "close";
        QTest::newRow("Escape") << "Escape";
    }
    void theGridIsRedrawnHoweverTheDialogCloses()
    {
        QFETCH(QString, how);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (5, 30, '%1', '%1', '%1', 1, 900)").arg(today));
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1)");
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        QVERIFY(form.grid()->vrstvy()[0].obsazenost[0][0]);
        auto *menu = form.findChild<QAction *>("SmazRezervaci");
        QVERIFY(menu && menu->isEnabled());
        bool closed = false;
        inModal<TRezervaceSmazRezervaci>([&] {
            menu->trigger();   // the dialog opens from the event loop
            QTRY_VERIFY(closed);
        }, [&](TRezervaceSmazRezervaci *d) {
            auto *rezervace = control<QListWidget>(d, "RezervaceListBox");
            chooseLine(control<QComboBox>(d, "KlientComboBox"), 2);
            clickLine(rezervace, 0);
            click(control<QPushButton>(d, "SmazRezervaciButton"));
            if (how == "OK")
                click(control<QPushButton>(d, "OKButton"));
            else if (how == "close")
                d->close();
            else
                QTest::keyClick(rezervace, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
            closed = true;
        });
        QVERIFY(!form.grid()->vrstvy()[0].obsazenost[0][0]);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestRezervaceSmazRezervaci test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_rezervace_smaz_rezervaci.moc"
