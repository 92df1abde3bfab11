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
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

using namespace GuiTest;

namespace {
struct Controls
{
    QListWidget *skupiny = nullptr;
    QListWidget *clenove = nullptr;
    QListWidget *vsechny = nullptr;
    QLineEdit *nova = nullptr;
    QPushButton *pridejSkupinu = nullptr;
    QPushButton *odstranSkupinu = nullptr;
    QPushButton *pridejPokoje = nullptr;
    QPushButton *odeberPokoje = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *storno = nullptr;
};

void find(TAdministraceSkupinyPokoju *d, Controls &c)
{
    CONTROL(QListWidget, skupiny, d, "SkupinyPokojuListBox");
    CONTROL(QListWidget, clenove, d, "PokojeVeSkupineListBox");
    CONTROL(QListWidget, vsechny, d, "VsechnyPokojeListBox");
    CONTROL(QLineEdit, nova, d, "NovaSkupinaEdit");
    CONTROL(QPushButton, pridejSkupinu, d, "PridejSkupinuButton");
    CONTROL(QPushButton, odstranSkupinu, d, "OdstranSkupinuButton");
    CONTROL(QPushButton, pridejPokoje, d, "PridejPokojeButton");
    CONTROL(QPushButton, odeberPokoje, d, "OdeberPokojeButton");
    CONTROL(QPushButton, ok, d, "OKButton");
    CONTROL(QPushButton, storno, d, "StornoButton");
    c = {skupiny, clenove, vsechny, nova, pridejSkupinu, odstranSkupinu, pridejPokoje, odeberPokoje, ok, storno};
}

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

    void inDialog(const std::function<void(TAdministraceSkupinyPokoju *, const Controls &)> &act)
    {
        inModal<TAdministraceSkupinyPokoju, Controls>([this] { m_dialog->ukaz(); }, &find, act);
    }

private slots:
    void initTestCase()
    {
        TestDatabase::setUp();
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        MessageBox::clearHistory();
        TestDatabase::clearTables();
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
        inDialog([&](TAdministraceSkupinyPokoju *d, const Controls &c) {
            QCOMPARE(d->windowTitle(), QStringLiteral("AdministraceSkupinyPokoju"));
            QCOMPARE(lines(c.skupiny), (QStringList{"Přízemí", "Patro"}));
            QCOMPARE(lines(c.vsechny), (QStringList{"101", "102", "201", "202"}));
            QCOMPARE(lines(c.clenove), QStringList());
            auto add = [&] { byEnter ? pressEnter(c.nova) : click(c.pridejSkupinu); };
            add();   // empty name: nothing
            QCOMPARE(c.skupiny->count(), 2);
            type(c.nova, "Apartmá");
            add();
            QCOMPARE(lines(c.skupiny), (QStringList{"Přízemí", "Patro", "Apartmá"}));
            QCOMPARE(c.nova->text(), QString());
            QVERIFY(selectedLines(c.skupiny).isEmpty());
            QVERIFY(d->isVisible());   // Enter did not close the dialog
            clickLine(c.skupiny, 2);
            selectLines(c.vsechny, {1, 3});
            click(c.pridejPokoje);
            QCOMPARE(lines(c.clenove), (QStringList{"102", "202"}));
            click(c.ok);
        });
        QCOMPARE(storedGroups(), (QStringList{"1|Přízemí", "2|Patro", "3|Apartmá"}));
        QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2", "2|3", "3|2", "3|4"}));
    }

    void movingRoomsInAndOut()
    {
        inDialog([](TAdministraceSkupinyPokoju *, const Controls &c) {
            selectLines(c.vsechny, {0, 2});
            click(c.pridejPokoje);   // no group selected
            click(c.odeberPokoje);
            QCOMPARE(lines(c.clenove), QStringList());
            clickLine(c.skupiny, 0);
            QCOMPARE(lines(c.clenove), (QStringList{"101", "102"}));
            selectLines(c.vsechny, {0, 2});
            click(c.pridejPokoje);   // 101 is a member already
            QCOMPARE(lines(c.clenove), (QStringList{"101", "102", "201"}));
            QCOMPARE(selectedLines(c.vsechny), (QStringList{"101", "201"}));
            click(c.pridejPokoje);   // twice changes nothing
            QCOMPARE(lines(c.clenove), (QStringList{"101", "102", "201"}));
            selectLines(c.clenove, {0, 1});
            click(c.odeberPokoje);
            QCOMPARE(lines(c.clenove), QStringList{"201"});
            clickLine(c.skupiny, 1);
            QCOMPARE(lines(c.clenove), QStringList{"201"});
            click(c.ok);
        });
        QCOMPARE(storedLinks(), (QStringList{"1|3", "2|3"}));
    }

    void removingAGroup()
    {
        inDialog([](TAdministraceSkupinyPokoju *, const Controls &c) {
            type(c.nova, "rozepsáno");
            click(c.odstranSkupinu);   // nothing selected: only the edit box empties
            QCOMPARE(c.skupiny->count(), 2);
            QCOMPARE(c.nova->text(), QString());
            clickLine(c.skupiny, 0);
            click(c.odstranSkupinu);
            QCOMPARE(lines(c.skupiny), QStringList{"Patro"});
            QCOMPARE(lines(c.clenove), QStringList());
            // A new group starts empty: it never takes over the removed group's rooms.
            type(c.nova, "Nová");
            click(c.pridejSkupinu);
            clickLine(c.skupiny, 1);
            QCOMPARE(lines(c.clenove), QStringList());
            click(c.ok);
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
        inDialog([&](TAdministraceSkupinyPokoju *, const Controls &c) {
            clickLine(c.skupiny, 1);
            click(c.odstranSkupinu);
            TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (3, 'Sklep')");   // another desk
            type(c.nova, nazev);
            pressEnter(c.nova);
            QCOMPARE(lines(c.skupiny), refused ? QStringList{"Přízemí"} : (QStringList{"Přízemí", nazev}));
            QCOMPARE(c.nova->text(), refused ? nazev : QString());
            click(c.ok);
        });
        QCOMPARE(messages(),
                 refused ? QStringList{QString("Skupina pokojů „%1“ už existuje.|Chyba").arg(nazev)} : QStringList());
        QCOMPARE(storedGroups(), stored);
    }

    void sameNamedGroupsAreToldApartByPosition()
    {
        TestDatabase::exec("UPDATE skupiny_pokoju_tab SET nazev_skupiny_pokoju = 'Přízemí' WHERE skupina_pokoju_id = 2");
        inDialog([](TAdministraceSkupinyPokoju *, const Controls &c) {
            clickLine(c.skupiny, 1);
            QCOMPARE(lines(c.clenove), QStringList{"201"});
            selectLines(c.vsechny, {3});
            click(c.pridejPokoje);
            QCOMPARE(lines(c.clenove), (QStringList{"201", "202"}));
            selectLines(c.clenove, {0});
            click(c.odeberPokoje);
            click(c.odstranSkupinu);
            QCOMPARE(lines(c.skupiny), QStringList{"Přízemí"});
            clickLine(c.skupiny, 0);
            QCOMPARE(lines(c.clenove), (QStringList{"101", "102"}));
            click(c.ok);
        });
        QCOMPARE(storedGroups(), QStringList{"1|Přízemí"});
        QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2"}));
    }

    void aSaveAnotherDeskOvertookIsRefusedAndReloaded()
    {
        inDialog([](TAdministraceSkupinyPokoju *d, const Controls &c) {
            clickLine(c.skupiny, 0);
            selectLines(c.vsechny, {3});
            click(c.pridejPokoje);
            selectLines(c.clenove, {0});
            click(c.odeberPokoje);
            // Another desk removes room 202 and adds a group.
            auto other = TestDatabase::openAnother();
            TMojeQuery q(*other);
            q.exec("DELETE FROM pokoje_tab WHERE pokoj_id = 4");
            q.exec("INSERT INTO skupiny_pokoju_tab VALUES (3, 'Sklep')");
            click(c.ok);
            QVERIFY(d->isVisible());
            verifyDatabaseErrorShown("Nepodařilo se uložit skupiny pokojů.",
                                     "Pokoj „202“ mezitím odstranila jiná recepce.", "");
            QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2", "2|3"}));
            QCOMPARE(lines(c.skupiny), (QStringList{"Přízemí", "Patro", "Sklep"}));
            QCOMPARE(lines(c.vsechny), (QStringList{"101", "102", "201"}));
            clickLine(c.skupiny, 0);
            QCOMPARE(lines(c.clenove), QStringList{"102"});   // the removal of 101 stays
            click(c.ok);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedGroups(), (QStringList{"1|Přízemí", "2|Patro", "3|Sklep"}));
        QCOMPARE(storedLinks(), (QStringList{"1|2", "2|3"}));
    }

    void closingWithoutOkWritesNothing_data() { addClosingRows(); }
    void closingWithoutOkWritesNothing()
    {
        QFETCH(QString, how);
        inDialog([&](TAdministraceSkupinyPokoju *d, const Controls &c) {
            clickLine(c.skupiny, 0);
            click(c.odstranSkupinu);
            type(c.nova, "Jiná");
            click(c.pridejSkupinu);
            closeWithoutOk(d, c.storno, how);
        });
        QCOMPARE(storedGroups(), (QStringList{"1|Přízemí", "2|Patro"}));
        QCOMPARE(storedLinks(), (QStringList{"1|1", "1|2", "2|3"}));
    }

    void aFailedSaveKeepsTheDialogAndTheTables()
    {
        TestDatabase::exec("SET SESSION lock_wait_timeout = 1");
        auto other = TestDatabase::openAnother();
        TMojeQuery q(*other);
        inDialog([&](TAdministraceSkupinyPokoju *d, const Controls &c) {
            type(c.nova, "Apartmá");
            click(c.pridejSkupinu);
            q.exec("LOCK TABLES skupiny_pokoju_propojeni_tab WRITE");
            click(c.ok);
            QVERIFY(d->isVisible());
            verifyLockTimeoutShown("Nepodařilo se uložit skupiny pokojů.");
            QCOMPARE(lines(c.skupiny), (QStringList{"Přízemí", "Patro", "Apartmá"}));
            q.exec("UNLOCK TABLES");
        });
        TestDatabase::exec("SET SESSION lock_wait_timeout = DEFAULT");
        QCOMPARE(storedGroups(), (QStringList{"1|Přízemí", "2|Patro"}));
    }

    void theMainWindowShowsASavedGroupAtOnce()
    {
        TVitranaForm form(TestDatabase::config(), false);
        form.createDialogs();
        form.show();
        auto *tabs = form.findChild<QTabBar *>("ObsazenostPokojuTabControl");
        tabs->setCurrentIndex(1);
        QCOMPARE(tabs->count(), 2);
        inModal<TAdministraceSkupinyPokoju>([&] { form.findChild<QAction *>("MenuAdministraceSkupinyPokoju")->trigger(); },
                                            [](TAdministraceSkupinyPokoju *d) {
                                                Controls c;
                                                find(d, c);
                                                type(c.nova, "Apartmá");
                                                click(c.pridejSkupinu);
                                                clickLine(c.skupiny, 1);
                                                selectLines(c.vsechny, {3});
                                                click(c.pridejPokoje);
                                                click(c.ok);
                                            });
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(2), QStringLiteral("Apartmá"));
        QCOMPARE(tabs->currentIndex(), 1);   // the group shown before stays shown
        QCOMPARE(form.grid()->vrstvy()[0].cislaPokoju, (QStringList{"201", "202"}));
    }
    void theTabOfAGroupShowsThatGroup()
    {
        TestDatabase::exec("UPDATE skupiny_pokoju_tab SET nazev_skupiny_pokoju = 'Přízemí' WHERE skupina_pokoju_id = 2");
        TVitranaForm form(TestDatabase::config(), false);
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
                                                Controls c;
                                                find(d, c);
                                                clickLine(c.skupiny, 0);
                                                selectLines(c.vsechny, {3});
                                                click(c.pridejPokoje);
                                                click(c.ok);
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
