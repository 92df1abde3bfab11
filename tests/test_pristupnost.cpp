// The desk as assistive technology sees it: every control the keyboard
// reaches is named by its caption, and a menu item or button that opens a
// modal dialog answers its caller before the dialog is closed.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "app/TLoginDialog.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "gui/TDialog.h"

#include <QAccessible>
#include <QAction>
#include <QListWidget>
#include <QPushButton>

using namespace GuiTest;

namespace {
/** Whether a control the keyboard reaches is a part of another (a spin box's edit field, a view's viewport). */
bool partOfAControl(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *w = widget->parentWidget(); w && w != window; w = w->parentWidget())
        if (w->focusPolicy() != Qt::NoFocus)
            return true;
    return false;
}

/** The controls of the window that the keyboard reaches and a screen reader would call by role alone. */
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window)
            || partOfAControl(w, window))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    }
    unnamed.sort();
    return unnamed;
}

/**
 * Presses and checks that the press returned before the dialog of that
 * object name was shown (it is closed again at once).
 */
void pressReturnsFirst(const std::function<void()> &press, const QString &dialog)
{
    bool returned = false;
    bool returnedFirst = false;
    bool shown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible() || modal->objectName() != dialog)
            return;
        poll.stop();
        shown = true;
        returnedFirst = returned;
        modal->reject();
    });
    poll.start();
    press();
    returned = true;
    QTRY_VERIFY2_WITH_TIMEOUT(shown, qPrintable(dialog + " did not open"), 10000);
    QVERIFY2(returnedFirst, "the press waited until the dialog was closed");
}
} // namespace

class TestPristupnost : public QObject
{
    Q_OBJECT

    std::unique_ptr<Recepce> m_recepce;   // outlives the window, as in the application
    std::unique_ptr<TVitranaForm> m_form;

    QWidget *okno(const QString &name)
    {
        if (name == m_form->objectName())
            return m_form.get();
        return m_form->findChild<QDialog *>(name, Qt::FindDirectChildrenOnly);
    }

private slots:
    void initTestCase()
    {
        setUpDatabase();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední den', 20)");
        TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
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

    void everyControlIsNamedByItsCaption_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");   // one control and the name it is given
        QTest::addColumn<QString>("name");
        QTest::newRow("main window") << "VitranaForm" << "DoDateTimePicker" << "Do:";
        QTest::newRow("login") << "LoginDialog" << "PasswordEdit" << "Password:";
        QTest::newRow("about") << "AboutBox" << "OKButton" << "OK";
        QTest::newRow("rooms") << "AdministracePokoje" << "TypyPokojuListBox" << "Typ nového pokoje";
        QTest::newRow("room groups") << "AdministraceSkupinyPokoju" << "NovaSkupinaEdit" << "Nová skupina:";
        QTest::newRow("room types") << "AdministraceTypyPokoju" << "PocetLuzekEdit" << "Počet lůžek na pokoji:";
        QTest::newRow("day types") << "AdministraceTypyDni" << "PosunTypDneNahoruButton" << "Posuň typ dne nahoru";
        QTest::newRow("web") << "AdministraceSpolupraceSWebem" << "OdpovedServeruMemo" << "Odpověď serveru:";
        // The windows of other areas, listed so that none is left out.
        QTest::newRow("prices") << "DefinovaniCen" << "" << "";
        QTest::newRow("day-type calendar") << "NastaveniDnuUTypuDne" << "" << "";
        QTest::newRow("new client") << "PridaniKlienta" << "" << "";
        QTest::newRow("new reservation") << "NovaRezervace" << "" << "";
        QTest::newRow("edit client") << "KlientiUpravUdaje" << "" << "";
        QTest::newRow("delete reservation") << "RezervaceSmazRezervaci" << "" << "";
        QTest::newRow("arrivals and departures") << "PrijezdyAOdjezdy" << "" << "";
        QTest::newRow("check-in") << "PrijezdHosta" << "" << "";
        QTest::newRow("check-out") << "OdjezdHosta" << "" << "";
        QTest::newRow("reports") << "Prehledy" << "" << "";
        QTest::newRow("history of changes") << "HistorieZmen" << "" << "";
        QTest::newRow("hotel particulars") << "UdajeOHotelu" << "IcoEdit" << "IČO:";
        QTest::newRow("room status") << "StavPokoju" << "PokojeTable" << "Pokoje a jejich stav";
        QTest::newRow("foreigners' book") << "DomovniKniha" << "OdDatePicker" << "Příjezdy od";
    }
    void everyControlIsNamedByItsCaption()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        TLoginDialog login(QStringLiteral("vitrana"), QStringLiteral("recepce"));
        QWidget *w = window == login.objectName() ? &login : okno(window);
        QVERIFY2(w, qPrintable(window));
        const QStringList unnamed = unnamedControls(w);
        QVERIFY2(unnamed.isEmpty(), qPrintable("said by role alone: " + unnamed.join(", ")));
        if (!control.isEmpty()) {
            auto *c = w->findChild<QWidget *>(control);
            QVERIFY2(c, qPrintable(control));
            QCOMPARE(QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name), name);
        }
    }

    void aPressReturnsBeforeItsDialogIsClosed_data()
    {
        QTest::addColumn<QString>("opener");   // a menu item, or a dialog's button
        QTest::addColumn<QString>("list");     // the dialog's list whose first line the button acts on
        QTest::addColumn<QString>("dialog");
        QTest::newRow("new client") << "MenuKlientiNovyKlient" << "" << "PridaniKlienta";
        QTest::newRow("edit client") << "MenuKlientiUpravUdaje" << "" << "KlientiUpravUdaje";
        QTest::newRow("new reservation") << "MenuRezervaceNovaRezervace" << "" << "NovaRezervace";
        QTest::newRow("delete reservation") << "SmazRezervaci" << "" << "RezervaceSmazRezervaci";
        QTest::newRow("rooms") << "MenuAdministracePokoje" << "" << "AdministracePokoje";
        QTest::newRow("room types") << "MenuAdministraceTypyPokoju" << "" << "AdministraceTypyPokoju";
        QTest::newRow("room groups") << "MenuAdministraceSkupinyPokoju" << "" << "AdministraceSkupinyPokoju";
        QTest::newRow("day types") << "MenuAdministraceTypyDni" << "" << "AdministraceTypyDni";
        QTest::newRow("web") << "SpolupraceSWebem" << "" << "AdministraceSpolupraceSWebem";
        QTest::newRow("about") << "OAplikaci" << "" << "AboutBox";
        QTest::newRow("arrivals and departures") << "MenuRezervacePrijezdyAOdjezdy" << "" << "PrijezdyAOdjezdy";
        QTest::newRow("check-in") << "MenuRezervacePrijezdHosta" << "" << "PrijezdHosta";
        QTest::newRow("check-out") << "MenuRezervaceOdjezdHosta" << "" << "OdjezdHosta";
        QTest::newRow("reports") << "MenuAdministracePrehledy" << "" << "Prehledy";
        QTest::newRow("history of changes") << "MenuAdministraceHistorieZmen" << "" << "HistorieZmen";
        QTest::newRow("hotel particulars") << "MenuAdministraceUdajeOHotelu" << "" << "UdajeOHotelu";
        QTest::newRow("room status") << "MenuUklidStavPokoju" << "" << "StavPokoju";
        QTest::newRow("foreigners' book") << "MenuKnihyDomovniKniha" << "" << "DomovniKniha";
        QTest::newRow("prices of a room type") << "AdministraceTypyPokoju/NadefinujCenyButton"
                                               << "TypyPokojuListBox" << "DefinovaniCen";
        QTest::newRow("calendar of a day type") << "AdministraceTypyDni/PriradDnyVybranemuTypuButton"
                                                << "TypyDniListBox" << "NastaveniDnuUTypuDne";
    }
    void aPressReturnsBeforeItsDialogIsClosed()
    {
        QFETCH(QString, opener);
        QFETCH(QString, list);
        QFETCH(QString, dialog);
        if (!opener.contains(u'/')) {
            auto *item = m_form->findChild<QAction *>(opener);
            QVERIFY2(item && item->isEnabled(), qPrintable(opener));
            pressReturnsFirst([item] { item->trigger(); }, dialog);
            return;
        }
        auto *owner = qobject_cast<TDialog *>(okno(opener.section(u'/', 0, 0)));
        QVERIFY(owner);
        inModal<QDialog>([owner] { owner->ukaz(); }, [&](QDialog *d) {
            auto *lines = d->findChild<QListWidget *>(list);
            auto *button = d->findChild<QPushButton *>(opener.section(u'/', 1));
            QVERIFY(lines && button);
            clickLine(lines, 0);
            pressReturnsFirst([button] { click(button); }, dialog);
            QVERIFY(d->isVisible());   // back in the dialog that opened it
        });
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestPristupnost test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_pristupnost.moc"
