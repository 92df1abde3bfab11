// A whole hotel set up and booked through the real windows, from an empty
// database: the day types with their calendar, a room type with its price,
// a room, a group, a client and a reservation, each through its menu item;
// the main window shows the new group, the room and the stay at once.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministraceSkupinyPokoju.h"
#include "admin/TAdministraceTypyDni.h"
#include "admin/TAdministraceTypyPokoju.h"
#include "admin/TAdministracePokoje.h"
#include "admin/TDefinovaniCen.h"
#include "admin/TNastaveniDnuUTypuDne.h"
#include "app/ObsazenostGrid.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"
#include "gui/DisplayFormat.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

using namespace GuiTest;

namespace {
QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QLatin1String(name));
}

QListWidget *list(QWidget *dialog, const char *name)
{
    return dialog->findChild<QListWidget *>(QLatin1String(name));
}

QLineEdit *edit(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(QLatin1String(name));
}
} // namespace

class TestNovyHotel : public QObject
{
    Q_OBJECT

    std::unique_ptr<Recepce> m_recepce;   // outlives the window, as in the application
    std::unique_ptr<TVitranaForm> m_form;

    /** Opens the dialog of a menu item and acts in it. */
    template <class Dialog>
    void menu(const char *item, const std::function<void(Dialog *)> &act)
    {
        QAction *action = m_form->findChild<QAction *>(QLatin1String(item));
        QVERIFY2(action && action->isEnabled(), item);
        inModal<Dialog>([action] { action->trigger(); }, act);
    }

private slots:
    void initTestCase()
    {
        setUpDatabase();
        TestDatabase::clearTables();
        // What an empty hotel holds: the client types and their forms.
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host z webu'), (2, 'Individuální host')");
        TestDatabase::exec("INSERT INTO klient_zobrazit_tab (typ_klienta_id, jmeno, telefon, email, stat) "
                           "VALUES (1, 1, 2, 3, 4), (2, 1, 2, 0, 0)");
        m_recepce = TestDatabase::openDesk();
        m_form = std::make_unique<TVitranaForm>(m_recepce.get());
        m_form->createDialogs();
        m_form->show();
    }
    void cleanupTestCase()
    {
        m_form.reset();
        m_recepce.reset();
        TestDatabase::tearDown();
    }

    void aHotelFromNothingToItsFirstGuest()
    {
        auto *tabs = m_form->findChild<QTabBar *>("ObsazenostPokojuTabControl");
        QCOMPARE(tabs->count(), 0);
        const QDate today = QDate::currentDate();

        menu<TAdministraceTypyDni>("MenuAdministraceTypyDni", [&](TAdministraceTypyDni *d) {
            type(edit(d, "NovyTypDneEdit"), "Každý den");
            pressEnter(edit(d, "NovyTypDneEdit"));
            clickLine(list(d, "TypyDniListBox"), 0);
            inModal<TNastaveniDnuUTypuDne>([&] { click(button(d, "PriradDnyVybranemuTypuButton")); },
                                           [&](TNastaveniDnuUTypuDne *k) {
                                               QListWidget *dny = list(k, "PridejDnyCheckListBox");
                                               for (int i = 0; i < dny->count(); ++i)
                                                   dny->item(i)->setCheckState(Qt::Checked);
                                               k->findChild<QDateEdit *>("DoDateTimePicker")->setDate(today.addDays(30));
                                               click(button(k, "PridejDnyButton"));
                                               QCOMPARE(list(k, "VypisDniListBox")->count(), 31);
                                               click(button(k, "OKButton"));
                                           });
            click(button(d, "OKButton"));
        });
        menu<TAdministraceTypyPokoju>("MenuAdministraceTypyPokoju", [&](TAdministraceTypyPokoju *d) {
            type(edit(d, "NovyTypEdit"), "Dvoulůžkový");
            type(edit(d, "PocetLuzekEdit"), "2");
            click(button(d, "PridejButton"));
            clickLine(list(d, "TypyPokojuListBox"), 0);
            // Priced before the type itself is saved: the prices wait for it.
            inModal<TDefinovaniCen>([&] { click(button(d, "NadefinujCenyButton")); }, [&](TDefinovaniCen *c) {
                clickLine(list(c, "TypyDniListBox"), 0);
                clickLine(list(c, "TypyKlientuListBox"), 1);
                type(edit(c, "CenaEdit"), "1500,50");
                click(button(c, "NastavCenuButton"));
                click(button(c, "OKButton"));
            });
            click(button(d, "OKButton"));
        });
        menu<TAdministracePokoje>("MenuAdministracePokoje", [&](TAdministracePokoje *d) {
            type(edit(d, "NovyPokojEdit"), "101");
            clickLine(list(d, "TypyPokojuListBox"), 0);
            click(button(d, "PridejPokojButton"));
            click(button(d, "OKButton"));
        });
        menu<TAdministraceSkupinyPokoju>("MenuAdministraceSkupinyPokoju", [&](TAdministraceSkupinyPokoju *d) {
            type(edit(d, "NovaSkupinaEdit"), "Přízemí");
            click(button(d, "PridejSkupinuButton"));
            clickLine(list(d, "SkupinyPokojuListBox"), 0);
            selectLines(list(d, "VsechnyPokojeListBox"), {0});
            click(button(d, "PridejPokojeButton"));
            click(button(d, "OKButton"));
        });
        // The main window picked the group up without a restart.
        QCOMPARE(tabs->count(), 1);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Přízemí"));
        QCOMPARE(m_form->grid()->vrstvy().at(0).cislaPokoju, QStringList{"101"});

        menu<TPridaniKlienta>("MenuKlientiNovyKlient", [&](TPridaniKlienta *d) {
            chooseLine(d->findChild<QComboBox *>("TypKlientaComboBox"), 1);
            QList<QLineEdit *> fields = d->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly);
            QCOMPARE(fields.size(), 2);
            std::sort(fields.begin(), fields.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
            type(fields[0], "Eva Malá");
            click(button(d, "PridejButton"));
        });
        menu<TNovaRezervace>("MenuRezervaceNovaRezervace", [&](TNovaRezervace *d) {
            auto *klient = d->findChild<QComboBox *>("KlientComboBox");
            klient->hidePopup();
            klient->setCurrentIndex(klient->findText("Eva Malá"));
            d->findChild<QComboBox *>("PokojComboBox")->setCurrentIndex(0);
            d->findChild<QDateEdit *>("DoDateTimePicker")->setDate(today.addDays(3));
            d->findChild<QDateEdit *>("OdDateTimePicker")->setDate(today.addDays(1));
            QCOMPARE(d->findChild<QLabel *>("CenaLabel")->text(), DisplayFormat::price(4501.5));
            QCOMPARE(d->findChild<QLabel *>("VolnyLabel")->text(), QStringLiteral("Ano"));
            QVERIFY(button(d, "OKButton")->isEnabled());
            click(button(d, "OKButton"));
        });
        QCOMPARE(TestDatabase::rows("SELECT od_kdy, do_kdy, cena FROM objednavky_pokoje_tab"),
                 QStringList{today.addDays(1).toString(Qt::ISODate) + '|' + today.addDays(3).toString(Qt::ISODate)
                             + "|4501.5"});
        const auto &grid = m_form->grid()->vrstvy().at(0).obsazenost[0];
        QVERIFY(!grid[0] && grid[1] && grid[2] && grid[3] && !grid[4]);
        QCOMPARE(messages(), QStringList());
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestNovyHotel test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_novy_hotel.moc"
