// The rooms dialog, offscreen against the real server: adding and removing
// rooms, numbers that exist already, a room's type changed in place, what OK
// writes and what Storno and the title-bar close leave, new rooms kept off
// the ids of booked rooms, the question before removing rooms with coming
// guests, a failed save, a save another desk overtook, and the main window
// picking up the saved rooms.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministracePokoje.h"
#include "app/ObsazenostGrid.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLineEdit>
#include <QPushButton>

using namespace GuiTest;

namespace {
QString day(int offset)
{
    return QDate::currentDate().addDays(offset).toString(Qt::ISODate);
}

QStringList storedRooms()
{
    return TestDatabase::rows("SELECT * FROM pokoje_tab ORDER BY pokoj_id");
}

void add(QWidget *d, const QString &cislo, int typ)
{
    type(control<QLineEdit>(d, "NovyPokojEdit"), cislo);
    clickLine(control<QListWidget>(d, "TypyPokojuListBox"), typ);
    click(control<QPushButton>(d, "PridejPokojButton"));
}
} // namespace

class TestAdministracePokoje : public QObject
{
    Q_OBJECT

    std::unique_ptr<TAdministracePokoje> m_dialog;

    void inDialog(const std::function<void(TAdministracePokoje *)> &act) { inModal(*m_dialog, act); }

private slots:
    void initTestCase()
    {
        setUpDatabase();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 2)");
        m_dialog = std::make_unique<TAdministracePokoje>();
    }
    void cleanup() { m_dialog.reset(); }

    void addingNeedsANumberAndAType()
    {
        inDialog([](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            auto *novy = control<QLineEdit>(d, "NovyPokojEdit");
            auto *pridej = control<QPushButton>(d, "PridejPokojButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("AdministracePokoje"));
            QCOMPARE(lines(pokoje), (QStringList{"101", "102"}));
            QCOMPARE(lines(typy), (QStringList{"Jednolůžkový", "Dvoulůžkový"}));
            type(novy, "103");
            click(pridej);   // no type selected
            QCOMPARE(lines(pokoje), (QStringList{"101", "102"}));
            novy->clear();
            clickLine(typy, 0);
            click(pridej);   // no number
            QCOMPARE(lines(pokoje), (QStringList{"101", "102"}));

            add(d, "103", 1);
            QCOMPARE(lines(pokoje), (QStringList{"101", "102", "103"}));
            QCOMPARE(novy->text(), QStringLiteral("103"));   // the number stays
            QVERIFY(selectedLines(typy).isEmpty());           // the type does not
            click(pridej);
            QCOMPARE(pokoje->count(), 3);
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedRooms(), (QStringList{"1|101|1", "2|102|2", "3|103|2"}));
        QCOMPARE(messages(), QStringList());
    }

    void addingRefusesANumberThatExists_data()
    {
        QTest::addColumn<QString>("cislo");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("in the list") << "101" << true << QStringList{"1|101|1", "3|201|1"};
        QTest::newRow("added by another desk") << "201" << true << QStringList{"1|101|1", "3|201|1"};
        // 102 was removed in this opening: it comes back as the same room, of the type chosen.
        QTest::newRow("removed here") << "102" << false << QStringList{"1|101|1", "2|102|1", "3|201|1"};
    }
    void addingRefusesANumberThatExists()
    {
        QFETCH(QString, cislo);
        QFETCH(bool, refused);
        QFETCH(QStringList, stored);
        inDialog([&](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            selectLines(pokoje, {1});
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            TestDatabase::exec("INSERT INTO pokoje_tab VALUES (3, '201', 1)");   // another desk
            add(d, cislo, 0);
            QCOMPARE(lines(pokoje), refused ? QStringList{"101"} : (QStringList{"101", cislo}));
            QCOMPARE(control<QLineEdit>(d, "NovyPokojEdit")->text(), cislo);   // to be corrected
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(messages(), refused ? QStringList{QString("Pokoj „%1“ už existuje.|Chyba").arg(cislo)} : QStringList());
        QCOMPARE(storedRooms(), stored);
    }

    void changingTheTypeKeepsTheRoom()
    {
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 1, '%1', '%1', '%2', 1, 100)")
                               .arg(day(0), day(3)));
        inDialog([](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            auto *zmenTyp = control<QPushButton>(d, "ZmenTypPokojeButton");
            clickLine(pokoje, 1);
            QCOMPARE(selectedLines(typy), QStringList{"Dvoulůžkový"});   // the room's type shows
            clickLine(pokoje, 0);
            QCOMPARE(selectedLines(typy), QStringList{"Jednolůžkový"});
            click(zmenTyp);   // the same type: nothing changes
            clickLine(typy, 1);
            click(zmenTyp);
            QCOMPARE(lines(pokoje), (QStringList{"101", "102"}));
            QCOMPARE(selectedLines(pokoje), QStringList{"101"});
            pokoje->clearSelection();
            clickLine(typy, 0);
            click(zmenTyp);   // no room selected
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedRooms(), (QStringList{"1|101|2", "2|102|2"}));
        QCOMPARE(TestDatabase::value("SELECT pokoj_id FROM objednavky_pokoje_tab").toInt(), 1);
        QCOMPARE(messages(), QStringList());
    }

    void removingTakesTheSelectedRooms()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (3, '101', 2), (4, '104', 1)");
        inDialog([](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            QCOMPARE(lines(pokoje), (QStringList{"101", "102", "101", "104"}));
            selectLines(pokoje, {2, 3});   // the second line 101 is the second room 101
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            QCOMPARE(lines(pokoje), (QStringList{"101", "102"}));
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));   // nothing selected after the refresh
            QCOMPARE(pokoje->count(), 2);
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedRooms(), (QStringList{"1|101|1", "2|102|2"}));
    }

    void aSaveAnotherDeskOvertookIsRefusedAndReloaded()
    {
        inDialog([](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            selectLines(pokoje, {1});
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            add(d, "103", 0);
            // Another desk gives 102 another type and adds a room of its own.
            auto other = TestDatabase::openAnother();
            TMojeQuery q(*other);
            q.exec("UPDATE pokoje_tab SET typ_pokoje_id = 1 WHERE pokoj_id = 2");
            q.exec("INSERT INTO pokoje_tab VALUES (3, '201', 1)");
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            verifyDatabaseErrorShown("Nepodařilo se uložit pokoje.", "Pokoj „102“ mezitím změnila jiná recepce.", "");
            QCOMPARE(storedRooms(), (QStringList{"1|101|1", "2|102|1", "3|201|1"}));
            // The other desk's rooms show; this opening's new room stays, its removal of 102 does not.
            QCOMPARE(lines(pokoje), (QStringList{"101", "102", "201", "103"}));
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedRooms(), (QStringList{"1|101|1", "2|102|1", "3|201|1", "4|103|1"}));
    }

    void newRoomsKeepOffTheIdsOfBookedRooms()
    {
        // Room 3 was removed long ago but its guests' reservations remain.
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 1, '%1', '%1', '%1', 3, 100)").arg(day(-400)));
        inDialog([](TAdministracePokoje *d) {
            selectLines(control<QListWidget>(d, "NadefinovanePokojeListBox"), {1});
            // Room 2 stays a room while the new ids are chosen.
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            add(d, "201", 0);
            add(d, "202", 0);
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedRooms(), (QStringList{"1|101|1", "4|201|1", "5|202|1"}));
    }

    // Blanks at the ends would make a second room that looks like the first in every list.
    void blanksAtTheEndsAreTrimmed_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("stored");
        const QStringList before{"1|101|1", "2|102|2"};
        QTest::newRow("the number of a room there") << " 101" << QStringList{"Pokoj „101“ už existuje.|Chyba"} << before;
        QTest::newRow("a new number") << "103 " << QStringList() << (before + QStringList{"3|103|1"});
        QTest::newRow("blanks only") << "   " << QStringList{"Číslo pokoje nesmí být prázdné.|Chyba"} << before;
    }
    void blanksAtTheEndsAreTrimmed()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, stored);
        inDialog([&](TAdministracePokoje *d) {
            add(d, typed, 0);
            QCOMPARE(messages(), boxes);
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedRooms(), stored);
    }

    void aRoomBookedMeanwhileIsNotRemoved()
    {
        inDialog([](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            selectLines(pokoje, {1});
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            add(d, "201", 0);
            // Another desk books room 102 before this one saves: the removal
            // was asked about a room without guests, so it is refused and
            // the room comes back, to be asked about again.
            auto other = TestDatabase::openAnother();
            TMojeQuery q(*other);
            q.exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 7, '%1', '%1', '%1', 2, 100)").arg(day(1)));
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY2(messages().join('\n').contains("Pokoj „102“ mezitím jiná recepce zarezervovala"),
                     qPrintable(messages().join('\n')));
            QCOMPARE(storedRooms(), (QStringList{"1|101|1", "2|102|2"}));
            QCOMPARE(lines(pokoje), (QStringList{"101", "102", "201"}));
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedRooms(), (QStringList{"1|101|1", "2|102|2", "3|201|1"}));
    }

    void removingRoomsWithComingGuestsAsksFirst_data()
    {
        QTest::addColumn<int>("lastDay");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("left");
        const QStringList asked{
            "Vybrané pokoje mají rezervace na dnešek nebo pozdější dny (počet: 2).\nOpravdu je chcete odstranit?|Varování"};
        QTest::newRow("past stays: no question") << -1 << 0 << QStringList() << QStringList{"102"};
        QTest::newRow("stay ending today, OK") << 0 << int(QMessageBox::Ok) << asked << QStringList{"102"};
        QTest::newRow("coming stay, Cancel") << 5 << int(QMessageBox::Cancel) << asked
                                             << QStringList{"101", "102", "103"};
    }
    void removingRoomsWithComingGuestsAsksFirst()
    {
        QFETCH(int, lastDay);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, left);
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (3, '103', 1)");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 1, '%1', '%2', '%3', 1, 100), "
                                   "(1, 2, '%1', '%2', '%3', 3, 100), (1, 3, '%1', '%1', '%1', 3, 100)")
                               .arg(day(-30), day(lastDay - 2), day(lastDay)));
        if (answer)
            MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        inDialog([&](TAdministracePokoje *d) {
            auto *pokoje = control<QListWidget>(d, "NadefinovanePokojeListBox");
            selectLines(pokoje, {0, 2});
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            QCOMPARE(lines(pokoje), left);
        });
        QCOMPARE(GuiTest::messages(), messages);
    }

    void theMainWindowShowsSavedRoomsAtOnce()
    {
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2)");
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, (QStringList{"101", "102"}));
        auto *menu = form.findChild<QAction *>("MenuAdministracePokoje");
        QVERIFY(menu && menu->isEnabled());
        inModal<TAdministracePokoje>([&] { menu->trigger(); }, [](TAdministracePokoje *d) {
            selectLines(control<QListWidget>(d, "NadefinovanePokojeListBox"), {0});
            click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, QStringList{"102"});
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestAdministracePokoje test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_administrace_pokoje.moc"
