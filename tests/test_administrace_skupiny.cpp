// The room groups dialog, offscreen against the real server: groups added
// by the button and by Enter, names that exist already, groups of one name
// told apart, rooms moved in and out of the selected group, what OK writes
// and what Storno and the title-bar close leave, a failed save, a save
// another desk overtook, and the main window showing a saved group as a tab
// at once.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministraceSkupinyPokoju.h"
#include "app/ObsazenostGrid.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

using namespace GuiTest;

namespace {
QStringList storedGroups()
{
    return TestDatabase::rows("SELECT * FROM skupiny_pokoju_tab ORDER BY skupina_pokoju_id");
}

QStringList storedLinks()
{
    return TestDatabase::rows("SELECT * FROM skupiny_pokoju_propojeni_tab ORDER BY skupina_pokoju_id, pokoj_id");
}
} // namespace

class TestAdministraceSkupiny : public QObject
{
    Q_OBJECT

    std::unique_ptr<TAdministraceSkupinyPokoju> m_dialog;

    void inDialog(const std::function<void(TAdministraceSkupinyPokoju *)> &act) { inModal(*m_dialog, act); }

private slots:
    void initTestCase()
    {
        setUpDatabase();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '201', 2), (4, '202', 2)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí'), (2, 'Patro')");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2), (2, 3)");
        m_dialog = std::make_unique<TAdministraceSkupinyPokoju>();
    }
    void cleanup() { m_dialog.reset(); }

    void addingGroups_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("Přidej") << false;
        QTest::newRow("Enter") << true;
    }
    void addingGroups()
    {
        QFETCH(bool, byEnter);
        inDialog([&](TAdministraceSkupinyPokoju *d) {
            auto *skupiny = control<QListWidget>(d, "SkupinyPokojuListBox");
            auto *clenove = control<QListWidget>(d, "PokojeVeSkupineListBox");
            auto *vsechny = control<QListWidget>(d, "VsechnyPokojeListBox");
            auto *nova = control<QLineEdit>(d, "NovaSkupinaEdit");
            QCOMPARE(d->windowTitle(), QStringLiteral("AdministraceSkupinyPokoju"));
            QCOMPARE(lines(skupiny), (QStringList{"Přízemí", "Patro"}));
            QCOMPARE(lines(vsechny), (QStringList{"101", "102", "201", "202"}));
            QCOMPARE(lines(clenove), QStringList());
            auto add = [&] { byEnter ? pressEnter(nova) : click(control<QPushButton>(d, "PridejSkupinuButton")); };
            add();   // empty name: nothing
            QCOMPARE(skupiny->count(), 2);
            type(nova, "Apartmá");
            add();
            QCOMPARE(lines(skupiny), (QStringList{"Přízemí", "Patro", "Apartmá"}));
            QCOMPARE(nova->text(), QString());
            QVERIFY(selectedLines(skupiny).isEmpty());
            QVERIFY(d->isVisible());   // Enter did not close the dialog
            clickLine(skupiny, 2);
            selectLines(vsechny, {1, 3});
            click(control<QPushButton>(d, "PridejPokojeButton"));
            QCOMPARE(lines(clenove), (QStringList{"102", "202"}));
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedGroups(), (QStringList{"1|Přízemí", "2|Patro", "3|Apartmá"}));
        QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2", "2|3", "3|2", "3|4"}));
    }

    void movingRoomsInAndOut()
    {
        inDialog([](TAdministraceSkupinyPokoju *d) {
            auto *skupiny = control<QListWidget>(d, "SkupinyPokojuListBox");
            auto *clenove = control<QListWidget>(d, "PokojeVeSkupineListBox");
            auto *vsechny = control<QListWidget>(d, "VsechnyPokojeListBox");
            auto *pridejPokoje = control<QPushButton>(d, "PridejPokojeButton");
            selectLines(vsechny, {0, 2});
            click(pridejPokoje);   // no group selected
            click(control<QPushButton>(d, "OdeberPokojeButton"));
            QCOMPARE(lines(clenove), QStringList());
            clickLine(skupiny, 0);
            QCOMPARE(lines(clenove), (QStringList{"101", "102"}));
            selectLines(vsechny, {0, 2});
            click(pridejPokoje);   // 101 is a member already
            QCOMPARE(lines(clenove), (QStringList{"101", "102", "201"}));
            QCOMPARE(selectedLines(vsechny), (QStringList{"101", "201"}));
            click(pridejPokoje);   // twice changes nothing
            QCOMPARE(lines(clenove), (QStringList{"101", "102", "201"}));
            selectLines(clenove, {0, 1});
            click(control<QPushButton>(d, "OdeberPokojeButton"));
            QCOMPARE(lines(clenove), QStringList{"201"});
            clickLine(skupiny, 1);
            QCOMPARE(lines(clenove), QStringList{"201"});
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedLinks(), (QStringList{"1|3", "2|3"}));
    }

    void removingAGroup()
    {
        inDialog([](TAdministraceSkupinyPokoju *d) {
            auto *skupiny = control<QListWidget>(d, "SkupinyPokojuListBox");
            auto *clenove = control<QListWidget>(d, "PokojeVeSkupineListBox");
            auto *nova = control<QLineEdit>(d, "NovaSkupinaEdit");
            type(nova, "rozepsáno");
            click(control<QPushButton>(d, "OdstranSkupinuButton"));   // nothing selected: only the edit box empties
            QCOMPARE(skupiny->count(), 2);
            QCOMPARE(nova->text(), QString());
            clickLine(skupiny, 0);
            click(control<QPushButton>(d, "OdstranSkupinuButton"));
            QCOMPARE(lines(skupiny), QStringList{"Patro"});
            QCOMPARE(lines(clenove), QStringList());
            // A new group starts empty: it never takes over the removed group's rooms.
            type(nova, "Nová");
            click(control<QPushButton>(d, "PridejSkupinuButton"));
            clickLine(skupiny, 1);
            QCOMPARE(lines(clenove), QStringList());
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedGroups(), (QStringList{"2|Patro", "3|Nová"}));
        QCOMPARE(storedLinks(), QStringList{"2|3"});
    }

    void addingRefusesANameThatExists_data()
    {
        QTest::addColumn<QString>("nazev");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("in the list") << "Přízemí" << true << QStringList{"1|Přízemí", "3|Sklep"};
        QTest::newRow("added by another desk") << "Sklep" << true << QStringList{"1|Přízemí", "3|Sklep"};
        QTest::newRow("removed here") << "Patro" << false << QStringList{"1|Přízemí", "3|Sklep", "4|Patro"};
    }
    void addingRefusesANameThatExists()
    {
        QFETCH(QString, nazev);
        QFETCH(bool, refused);
        QFETCH(QStringList, stored);
        inDialog([&](TAdministraceSkupinyPokoju *d) {
            auto *skupiny = control<QListWidget>(d, "SkupinyPokojuListBox");
            auto *nova = control<QLineEdit>(d, "NovaSkupinaEdit");
            clickLine(skupiny, 1);
            click(control<QPushButton>(d, "OdstranSkupinuButton"));
            TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (3, 'Sklep')");   // another desk
            type(nova, nazev);
            pressEnter(nova);
            QCOMPARE(lines(skupiny), refused ? QStringList{"Přízemí"} : (QStringList{"Přízemí", nazev}));
            QCOMPARE(nova->text(), refused ? nazev : QString());
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(messages(),
                 refused ? QStringList{QString("Skupina pokojů „%1“ už existuje.|Chyba").arg(nazev)} : QStringList());
        QCOMPARE(storedGroups(), stored);
    }

    void sameNamedGroupsAreToldApartByPosition()
    {
        TestDatabase::exec("UPDATE skupiny_pokoju_tab SET nazev_skupiny_pokoju = 'Přízemí' WHERE skupina_pokoju_id = 2");
        inDialog([](TAdministraceSkupinyPokoju *d) {
            auto *skupiny = control<QListWidget>(d, "SkupinyPokojuListBox");
            auto *clenove = control<QListWidget>(d, "PokojeVeSkupineListBox");
            clickLine(skupiny, 1);
            QCOMPARE(lines(clenove), QStringList{"201"});
            selectLines(control<QListWidget>(d, "VsechnyPokojeListBox"), {3});
            click(control<QPushButton>(d, "PridejPokojeButton"));
            QCOMPARE(lines(clenove), (QStringList{"201", "202"}));
            selectLines(clenove, {0});
            click(control<QPushButton>(d, "OdeberPokojeButton"));
            click(control<QPushButton>(d, "OdstranSkupinuButton"));
            QCOMPARE(lines(skupiny), QStringList{"Přízemí"});
            clickLine(skupiny, 0);
            QCOMPARE(lines(clenove), (QStringList{"101", "102"}));
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedGroups(), QStringList{"1|Přízemí"});
        QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2"}));
    }

    void aSaveAnotherDeskOvertookIsRefusedAndReloaded()
    {
        inDialog([](TAdministraceSkupinyPokoju *d) {
            auto *skupiny = control<QListWidget>(d, "SkupinyPokojuListBox");
            auto *clenove = control<QListWidget>(d, "PokojeVeSkupineListBox");
            auto *vsechny = control<QListWidget>(d, "VsechnyPokojeListBox");
            clickLine(skupiny, 0);
            selectLines(vsechny, {3});
            click(control<QPushButton>(d, "PridejPokojeButton"));
            selectLines(clenove, {0});
            click(control<QPushButton>(d, "OdeberPokojeButton"));
            // Another desk removes room 202 and adds a group.
            auto other = TestDatabase::openAnother();
            TMojeQuery q(*other);
            q.exec("DELETE FROM pokoje_tab WHERE pokoj_id = 4");
            q.exec("INSERT INTO skupiny_pokoju_tab VALUES (3, 'Sklep')");
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            verifyDatabaseErrorShown("Nepodařilo se uložit skupiny pokojů.",
                                     "Pokoj „202“ mezitím odstranila jiná recepce.", "");
            QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2", "2|3"}));
            QCOMPARE(lines(skupiny), (QStringList{"Přízemí", "Patro", "Sklep"}));
            QCOMPARE(lines(vsechny), (QStringList{"101", "102", "201"}));
            clickLine(skupiny, 0);
            QCOMPARE(lines(clenove), QStringList{"102"});   // the removal of 101 stays
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedGroups(), (QStringList{"1|Přízemí", "2|Patro", "3|Sklep"}));
        QCOMPARE(storedLinks(), (QStringList{"1|2", "2|3"}));
    }

    void theMainWindowShowsASavedGroupAtOnce()
    {
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        auto *tabs = form.findChild<QTabBar *>("ObsazenostPokojuTabControl");
        tabs->setCurrentIndex(1);
        QCOMPARE(tabs->count(), 2);
        inModal<TAdministraceSkupinyPokoju>([&] { form.findChild<QAction *>("MenuAdministraceSkupinyPokoju")->trigger(); },
                                            [](TAdministraceSkupinyPokoju *d) {
                                                type(control<QLineEdit>(d, "NovaSkupinaEdit"), "Apartmá");
                                                click(control<QPushButton>(d, "PridejSkupinuButton"));
                                                clickLine(control<QListWidget>(d, "SkupinyPokojuListBox"), 1);
                                                selectLines(control<QListWidget>(d, "VsechnyPokojeListBox"), {3});
                                                click(control<QPushButton>(d, "PridejPokojeButton"));
                                                click(control<QPushButton>(d, "OKButton"));
                                            });
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(2), QStringLiteral("Apartmá"));
        QCOMPARE(tabs->currentIndex(), 1);   // the group shown before stays shown
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, (QStringList{"201", "202"}));
    }
    void theTabOfAGroupShowsThatGroup()
    {
        TestDatabase::exec("UPDATE skupiny_pokoju_tab SET nazev_skupiny_pokoju = 'Přízemí' WHERE skupina_pokoju_id = 2");
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        auto *tabs = form.findChild<QTabBar *>("ObsazenostPokojuTabControl");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(form.grid()->vrstvy().size(), std::size_t(1));
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, (QStringList{"101", "102"}));
        tabs->setCurrentIndex(1);
        QCOMPARE(form.grid()->vrstvy().size(), std::size_t(1));
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, QStringList{"201"});
        // After a save the tabs are filled again: the second group stays shown, not the first of its name.
        inModal<TAdministraceSkupinyPokoju>([&] { form.findChild<QAction *>("MenuAdministraceSkupinyPokoju")->trigger(); },
                                            [](TAdministraceSkupinyPokoju *d) {
                                                clickLine(control<QListWidget>(d, "SkupinyPokojuListBox"), 0);
                                                selectLines(control<QListWidget>(d, "VsechnyPokojeListBox"), {3});
                                                click(control<QPushButton>(d, "PridejPokojeButton"));
                                                click(control<QPushButton>(d, "OKButton"));
                                            });
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, QStringList{"201"});
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestAdministraceSkupiny test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_administrace_skupiny.moc"
