// The new reservation dialog, offscreen against the real server: what the
// labels and OK show for each kind of input, the one of two clients of one
// name that was picked, a store refused after the live test (and the export started all the
// same), the tooltips, and working it without a mouse. Also finding a client
// by typing in every client list, and the lists that drop down by themselves.

#include "GuiTestSupport.h"
#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "app/VitranaApplication.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TKlientiUpravUdaje.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "gui/DisplayFormat.h"
#include "model/Klienti.h"
#include "web/TAdministraceSpolupraceSWebem.h"
#include "web/engine/SpolupraceSWebem.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>

using namespace GuiTest;
using namespace RecepceTest;

namespace {
QStringList storedReservations()
{
    return TestDatabase::rows("SELECT klient_id, cislo_objednavky, od_kdy, do_kdy, pokoj_id, cena "
                              "FROM objednavky_pokoje_tab ORDER BY cislo_objednavky");
}

/** Picks the lines (-1: none) and the days as a receptionist would, the client's list closed first. */
void choose(QWidget *d, int klient, int pokoj, int od, int dO)
{
    auto *klientBox = control<QComboBox>(d, "KlientComboBox");
    klientBox->hidePopup();
    klientBox->setCurrentIndex(klient);
    control<QComboBox>(d, "PokojComboBox")->setCurrentIndex(pokoj);
    control<QDateEdit>(d, "OdDateTimePicker")->setDate(den(od));
    control<QDateEdit>(d, "DoDateTimePicker")->setDate(den(dO));
}

/** Where the window system would send a key: the open list, else the dialog's focused control. */
QWidget *keyReceiver(QWidget *dialog)
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return dialog->focusWidget() ? dialog->focusWidget() : dialog;
}

void press(QWidget *dialog, Qt::Key key)
{
    QTest::keyClick(keyReceiver(dialog), key);
}

/** Types as a user does, each key to where it would go (Czech letters too). */
void typeKeys(QWidget *dialog, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(keyReceiver(dialog), char(c.unicode()));
        else   // QTest maps only ASCII to keys
            QTest::sendKeyEvent(QTest::Click, keyReceiver(dialog), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The object name of the control that has the focus (a date picker's inner edit counts as the picker).
QString focused(QWidget *dialog)
{
    QWidget *w = dialog->focusWidget();
    return w && w->objectName().startsWith("qt_") ? w->parentWidget()->objectName() : w ? w->objectName() : "";
}
/**
 * Presses Tab until another control has the focus (a date picker takes Tab
 * from its day to its month and year first) and names it.
 */
QString tabToNextControl(QWidget *dialog)
{
    const QString from = focused(dialog);
    for (int i = 0; i < 4 && focused(dialog) == from; ++i)
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    if (focused(dialog) == from)
        QTest::qFail(qPrintable("Tab does not leave " + from), __FILE__, __LINE__);
    return focused(dialog);
}
} // namespace

class TestNovaRezervace : public QObject
{
    Q_OBJECT

    std::unique_ptr<TNovaRezervace> m_dialog;
    std::unique_ptr<SpolupraceSWebem> m_engine;
    std::unique_ptr<TAdministraceSpolupraceSWebem> m_web;

    void inDialog(const std::function<void(TNovaRezervace *)> &act) { inModal(*m_dialog, act); }

private slots:
    void initTestCase() { RecepceTest::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host'), (2, 'Firma')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES "
                           "(1, 1, 'Jan Novák'), (2, 2, 'Marie Svobodová')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '201', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední den', 20), (2, 'Víkend', 20), (3, 'Svátek', 10)");
        // Days 0 to 40 are weekdays but day 20, which the calendar lacks; day 3
        // is a holiday too (its lower poradi wins), day 10 a weekend.
        QStringList kalendar;
        for (int d = 0; d <= 40; ++d)
            if (d != 20)
                kalendar << QString("('%1', %2)").arg(sql(d)).arg(d == 10 ? 2 : 1);
        kalendar << QString("('%1', 3)").arg(sql(3));
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES " + kalendar.join(", "));
        // Room type 2 has no weekend price; client type 2 no holiday price.
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (1, 1, 2, 1200), (1, 1, 3, 1500.5), "
                           "(1, 2, 1, 800), (1, 2, 2, 900), (2, 1, 1, 2000)");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (2, 7, '%1', '%2', '%3', 2, 3000), "
                                   "(2, 8, '%1', '%4', '%5', 2, 2000)")
                               .arg(sql(-1), sql(5), sql(7), sql(11), sql(12)));
        m_engine = std::make_unique<SpolupraceSWebem>(0);
        m_web = std::make_unique<TAdministraceSpolupraceSWebem>(m_engine.get());
        // Nothing listens there: an export started waits for a connection.
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_web->findChild<QLineEdit *>("AdresaEdit")->setText(QString("127.0.0.1:%1").arg(probe.serverPort()));
        m_dialog = std::make_unique<TNovaRezervace>();
        m_dialog->setSpolupraceSWebem(m_web->spoluprace());
    }
    void cleanup()
    {
        m_dialog.reset();
        m_web.reset();
        m_engine.reset();
    }

    void labelsAndOk_data()
    {
        QTest::addColumn<int>("klient");
        QTest::addColumn<int>("pokoj");
        QTest::addColumn<int>("od");
        QTest::addColumn<int>("dO");
        QTest::addColumn<QString>("cena");
        QTest::addColumn<QString>("volny");
        QTest::addColumn<bool>("ok");
        const QString invalid = "Nesprávně zadané údaje.";
        const QString unpriced = "Cena není pro vybrané hodnoty definována.";
        QTest::newRow("just opened") << -1 << -1 << 0 << 0 << invalid << "" << false;
        QTest::newRow("one-day stay") << 0 << 0 << 1 << 1 << "1000" << "Ano" << true;
        QTest::newRow("holiday: fractional price, Czech separator") << 0 << 0 << 2 << 4 << "3500,5" << "Ano" << true;
        QTest::newRow("client type's own prices") << 1 << 0 << 2 << 4 << "2400" << "Ano" << true;
        QTest::newRow("last day before first") << 0 << 0 << 2 << 1 << invalid << "" << false;
        QTest::newRow("no client") << -1 << 0 << 1 << 1 << invalid << "" << false;
        QTest::newRow("no room") << 0 << -1 << 1 << 1 << invalid << "" << false;
        QTest::newRow("unpriced night, free room") << 0 << 2 << 9 << 11 << unpriced << "Ano" << false;
        QTest::newRow("night not in the calendar") << 0 << 2 << 19 << 21 << unpriced << "Ano" << false;
        QTest::newRow("priced room taken on its last day") << 0 << 1 << 7 << 8 << "2000" << "Ne" << false;
        QTest::newRow("priced room, stay enclosing a stored one") << 0 << 1 << 4 << 8 << "5000" << "Ne" << false;
        QTest::newRow("priced room, stay inside a stored one") << 0 << 1 << 6 << 6 << "1000" << "Ne" << false;
        QTest::newRow("the day after a stay is free") << 0 << 1 << 8 << 9 << "2000" << "Ano" << true;
    }
    void labelsAndOk()
    {
        QFETCH(int, klient);
        QFETCH(int, pokoj);
        QFETCH(int, od);
        QFETCH(int, dO);
        QFETCH(QString, cena);
        QFETCH(QString, volny);
        QFETCH(bool, ok);
        inDialog([&](TNovaRezervace *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Nová rezervace"));
            QCOMPARE(control<QComboBox>(d, "KlientComboBox")->currentIndex(), -1);
            QCOMPARE(control<QComboBox>(d, "PokojComboBox")->currentIndex(), -1);
            QCOMPARE(control<QDateEdit>(d, "OdDateTimePicker")->date(), den(0));
            QCOMPARE(control<QDateEdit>(d, "DoDateTimePicker")->date(), den(0));
            choose(d, klient, pokoj, od, dO);
            QCOMPARE(control<QLabel>(d, "CenaLabel")->text(), cena);
            QCOMPARE(control<QLabel>(d, "VolnyLabel")->text(), volny);
            QCOMPARE(control<QPushButton>(d, "OKButton")->isEnabled(), ok);
        });
    }

    void theClientPickedIsBooked()
    {
        // Two clients of one name: the line picked is booked, at its own client type's prices.
        // Client 0 is real (the first web guest): "not found" must not stand for it.
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (9, 1, 'Eva Malá')");
        TestDatabase::exec("UPDATE klienti_tab SET klient_id = 0 WHERE klient_id = 9");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (5, 2, 'Eva Malá')");
        inDialog([](TNovaRezervace *d) {
            auto *klient = control<QComboBox>(d, "KlientComboBox");
            const int second = klient->findText("Eva Malá (Firma)");
            QVERIFY(second > 0);
            QCOMPARE(klient->findText("Eva Malá (Host)"), 0);
            choose(d, second, 0, 2, 4);
            QCOMPARE(control<QLabel>(d, "CenaLabel")->text(), QStringLiteral("2400"));   // client type 2's prices
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedReservations().last(), QString("5|9|%1|%2|1|2400").arg(sql(2), sql(4)));
    }

    void refusedOrFailedStores_data()
    {
        QTest::addColumn<QString>("otherDesk");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("staysOpen");
        const QString refused = "Rezervaci nebylo možné uložit.\n";
        QTest::newRow("nothing in the way") << "SELECT 1" << "" << true << false;
        QTest::newRow("a collision stored meanwhile")
            << QString("INSERT INTO objednavky_pokoje_tab VALUES (2, 20, '%1', '%2', '%2', 1, 1000)").arg(sql(0), sql(2))
            << refused + "Pokoj 101 mezitím na některou z vybraných nocí zarezervovala jiná recepce.|Chyba" << false
            << true;
        QTest::newRow("the client deleted meanwhile") << "DELETE FROM klienti_tab WHERE klient_id = 1"
                                                      << refused + "Klient byl mezitím smazán.|Chyba" << false << true;
        QTest::newRow("the room removed meanwhile") << "DELETE FROM pokoje_tab WHERE pokoj_id = 1"
                                                    << refused + "Pokoj 101 mezitím odstranila jiná recepce.|Chyba" << false << true;
        QTest::newRow("the room's id given to another room meanwhile")
            << "UPDATE pokoje_tab SET cislo_pokoje = '109' WHERE pokoj_id = 1"
            << refused + "Pokoj 101 mezitím odstranila jiná recepce.|Chyba" << false << true;
        QTest::newRow("reservations held past the lock wait") << "LOCK TABLES objednavky_pokoje_tab WRITE"
                                                              << "Nepodařilo se uložit rezervaci.\nTabulky právě používá jiná recepce" << false << true;
    }
    void refusedOrFailedStores()
    {
        QFETCH(QString, otherDesk);
        QFETCH(QString, message);
        QFETCH(bool, stored);
        QFETCH(bool, staysOpen);
        TestDatabase::exec("SET SESSION lock_wait_timeout = 1");
        auto other = TestDatabase::openAnother();
        TMojeQuery q(*other);
        inDialog([&](TNovaRezervace *d) {
            choose(d, 0, 0, 1, 3);
            QVERIFY(control<QPushButton>(d, "OKButton")->isEnabled());
            q.exec(otherDesk);
            click(control<QPushButton>(d, "OKButton"));
            q.exec("UNLOCK TABLES");
            QCOMPARE(d->isVisible(), staysOpen);
            if (staysOpen)   // with what was typed
                QCOMPARE(control<QComboBox>(d, "PokojComboBox")->currentIndex(), 0);
        });
        TestDatabase::exec("SET SESSION lock_wait_timeout = DEFAULT");
        QCOMPARE(messages().join(";").left(message.size()), message);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab WHERE klient_id = 1").toInt(),
                 stored ? 1 : 0);
        // The site hears of every OK that got past the database, stored or refused.
        QCOMPARE(m_web->spoluprace()->stavExportuCen(),
                 message.startsWith("Nepodařilo") ? StavExportuCen::Nic : StavExportuCen::CekaNaSpojeni);
    }

    void tooltips_data()
    {
        QTest::addColumn<int>("pokoj");
        QTest::addColumn<int>("od");
        QTest::addColumn<int>("dO");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("text");
        const QString head = "Cena po nocích:";
        QTest::newRow("a night whose day type has no price")
            << 2 << 9 << 11 << "CenaLabel"
            << QStringList{head, ukaz(9) + "  Všední den: 2000", ukaz(10) + "  Víkend: cena není definována",
                           ukaz(11) + "  Všední den: 2000", "Nocí bez ceny: 1 z 3"};
        QTest::newRow("a night the calendar lacks")
            << 2 << 19 << 21 << "CenaLabel"
            << QStringList{head, ukaz(19) + "  Všední den: 2000", ukaz(20) + "  den není v kalendáři",
                           ukaz(21) + "  Všední den: 2000", "Nocí bez ceny: 1 z 3"};
        QTest::newRow("over a month: runs of equal nights")
            << 0 << 0 << 40 << "CenaLabel"
            << QStringList{head,
                           ukaz(0) + " – " + ukaz(2) + "  Všední den: 3 × 1000",
                           ukaz(3) + "  Svátek: 1500,5",
                           ukaz(4) + " – " + ukaz(9) + "  Všední den: 6 × 1000",
                           ukaz(10) + "  Víkend: 1200",
                           ukaz(11) + " – " + ukaz(19) + "  Všední den: 9 × 1000",
                           ukaz(20) + "  den není v kalendáři",
                           ukaz(21) + " – " + ukaz(40) + "  Všední den: 20 × 1000",
                           "Nocí bez ceny: 1 z 41"};
        QTest::newRow("the colliding reservations")
            << 1 << 4 << 12 << "VolnyLabel"
            << QStringList{"Pokoj je v těchto dnech obsazen:", "rezervace 7: " + ukaz(5) + " – " + ukaz(7),
                           "rezervace 8: " + ukaz(11) + " – " + ukaz(12)};
        QTest::newRow("a free room has none") << 1 << 8 << 9 << "VolnyLabel" << QStringList{""};
    }
    void tooltips()
    {
        QFETCH(int, pokoj);
        QFETCH(int, od);
        QFETCH(int, dO);
        QFETCH(QString, label);
        QFETCH(QStringList, text);
        inDialog([&](TNovaRezervace *d) {
            choose(d, 0, pokoj, od, dO);
            QCOMPARE(d->findChild<QLabel *>(label)->toolTip().split('\n'), text);
            choose(d, 0, pokoj, dO, od - 1);   // invalid input: no tooltip is left behind
            QCOMPARE(d->findChild<QLabel *>(label)->toolTip(), QString());
        });
    }

    void longStayTooltip_data()
    {
        QTest::addColumn<int>("dO");
        QTest::addColumn<bool>("elided");
        QTest::newRow("17 nights, one line each") << 16 << false;
        QTest::newRow("a year of weeks and weekends") << 365 << true;
    }
    void longStayTooltip()
    {
        QFETCH(int, dO);
        QFETCH(bool, elided);
        // Every night priced: weekends of their own from day 41 on, day 20 in the calendar too.
        QStringList kalendar{QString("('%1', 1)").arg(sql(20))};
        for (int d = 41; d <= 365; ++d)
            kalendar << QString("('%1', %2)").arg(sql(d)).arg(den(d).dayOfWeek() >= 6 ? 2 : 1);
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES " + kalendar.join(", "));
        inDialog([&](TNovaRezervace *d) {
            auto *cena = control<QLabel>(d, "CenaLabel");
            choose(d, 0, 0, 0, dO);
            const QStringList lines = cena->toolTip().split('\n');
            QVERIFY2(lines.size() <= 20, qPrintable(QString::number(lines.size()) + " lines"));
            QCOMPARE(lines.first(), QStringLiteral("Cena po nocích:"));
            QVERIFY2(lines[1].startsWith(DisplayFormat::day(den(0)) + u' '), qPrintable(lines[1]));
            QVERIFY2(lines[lines.size() - 2].contains(DisplayFormat::day(den(dO)) + u' '), qPrintable(lines[lines.size() - 2]));
            QCOMPARE(lines.filter(u"…").size(), elided ? 1 : 0);
            QCOMPARE(lines.last(), "Celkem: " + cena->text());
        });
    }

    void findingAClientAsTyped_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("down");   // arrows pressed in the clients found before Enter
        QTest::addColumn<int>("klient");
        const struct
        {
            const char *what;
            const char *typed;
            int down;
            int klient;
        } cases[] = {
            {"surname without diacritics, the second of two namesakes", "novak", 2, 3},
            {"diacritics left out", "vanek", 0, 4},
            {"inside a surname, diacritics typed", "ovářo", 0, 5},
            {"first name, a space and a letter", "Zdeňka K", 0, 5},
            {"after a space, the first of two namesakes", "jan n", 1, 1},
            {"capitals", "NOVÁKOVÁ", 0, 6},
            {"nobody found: the text typed does not stay in the box", "xaver", 0, -1},
        };
        for (const char *dialog : {"NovaRezervace", "RezervaceSmazRezervaci", "KlientiUpravUdaje"})
            for (const auto &c : cases)
                QTest::addRow("%s: %s", dialog, c.what) << dialog << QString::fromUtf8(c.typed) << c.down << c.klient;
    }
    void findingAClientAsTyped()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, typed);
        QFETCH(int, down);
        QFETCH(int, klient);
        // Two of one name and one similar; each client has a reservation of its own, number 100 + id.
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (3, 1, 'Jan Novák'), "
                           "(4, 2, 'Milan Vaněk'), (5, 1, 'Zdeňka Kovářová'), (6, 1, 'Jana Nováková')");
        TestDatabase::exec("DELETE FROM objednavky_pokoje_tab");
        for (int id = 1; id <= 6; ++id)
            TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (%1, %2, '%3', '%4', '%4', 3, 2000)")
                                   .arg(id).arg(100 + id).arg(sql(0), sql(30)));
        std::unique_ptr<TDialog> d;
        if (dialog == "NovaRezervace")
            d = std::move(m_dialog);
        else if (dialog == "RezervaceSmazRezervaci")
            d = std::make_unique<TRezervaceSmazRezervaci>();
        else
            d = std::make_unique<TKlientiUpravUdaje>();
        const auto klienti = Klienti::nacti();
        inModal<TDialog>([&] { d->ukaz(); }, [&](TDialog *) {
            auto *box = d->findChild<QComboBox *>(dialog == "KlientiUpravUdaje" ? "KlientiComboBox" : "KlientComboBox");
            QVERIFY(box);
            if (dialog == "NovaRezervace") {   // typed into the list that dropped down
                QTRY_VERIFY(box->view()->isVisible());
            } else {
                // As a window manager would, and as the user tabbing to the box.
                d->activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), d.get());
                box->setFocus(Qt::TabFocusReason);
            }
            typeKeys(d.get(), typed);
            QCOMPARE(QApplication::activePopupWidget() != nullptr, klient >= 0);
            for (int i = 0; i < down; ++i)
                press(d.get(), Qt::Key_Down);
            press(d.get(), klient >= 0 ? Qt::Key_Return : Qt::Key_Tab);
            QVERIFY(!QApplication::activePopupWidget());
            // The client of the line chosen, and the box shows that very line.
            QCOMPARE(klienti->idNaRadku(box->currentIndex()), klient);
            QCOMPARE(box->currentText(), box->itemText(box->currentIndex()));
            if (klient < 0)
                return;
            if (dialog == "RezervaceSmazRezervaci") {
                QCOMPARE(lines(d->findChild<QListWidget *>("RezervaceListBox")), QStringList{QString::number(100 + klient)});
            } else if (dialog == "NovaRezervace") {
                auto *pokoj = d->findChild<QComboBox *>("PokojComboBox");
                pokoj->setCurrentIndex(0);
                click(d->findChild<QPushButton *>("OKButton"));
            }
        });
        if (dialog == "NovaRezervace")
            QCOMPARE(TestDatabase::rows("SELECT klient_id FROM objednavky_pokoje_tab WHERE pokoj_id = 1"),
                     klient >= 0 ? QStringList{QString::number(klient)} : QStringList());
    }

    void theListThatDropsDown_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("choose");
        for (const char *dialog : {"NovaRezervace", "PridaniKlienta"}) {
            QTest::addRow("%s: Escape closes the list only", dialog) << dialog << false;
            QTest::addRow("%s: a line chosen", dialog) << dialog << true;
        }
    }
    void theListThatDropsDown()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, choose);
        std::unique_ptr<TDialog> d;
        if (dialog == "NovaRezervace")
            d = std::move(m_dialog);
        else
            d = std::make_unique<TPridaniKlienta>();
        inModal<TDialog>([&] { d->ukaz(); }, [&](TDialog *) {
            auto *box = d->findChild<QComboBox *>(dialog == "NovaRezervace" ? "KlientComboBox" : "TypKlientaComboBox");
            QVERIFY(box);
            const int selected = box->currentIndex();
            // It drops down over the dialog, the active window.
            QTRY_VERIFY(box->view()->isVisible());
            QCOMPARE(QApplication::activeWindow(), d.get());
            if (choose)
                press(d.get(), Qt::Key_Down);
            press(d.get(), choose ? Qt::Key_Return : Qt::Key_Escape);
            QTRY_VERIFY(!box->view()->isVisible());
            QVERIFY(d->isVisible());
            if (choose)
                QVERIFY(box->currentIndex() >= 0 && box->currentIndex() != selected);
            else
                QCOMPARE(box->currentIndex(), selected);
            // The keys go on to the dialog, to the box with the focus.
            QCOMPARE(QApplication::activeWindow(), d.get());
            QCOMPARE(QApplication::focusWidget(), box);
            press(d.get(), Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        });
    }

    void withoutAMouse()
    {
        inDialog([](TNovaRezervace *d) {
            auto *klient = control<QComboBox>(d, "KlientComboBox");
            auto *dO = control<QDateEdit>(d, "DoDateTimePicker");
            // The client's list is down and has the keys.
            QCOMPARE(focused(d), QStringLiteral("KlientComboBox"));
            QTRY_VERIFY(klient->view()->isVisible());
            typeKeys(d, "svob");   // anywhere in the name
            press(d, Qt::Key_Return);   // the one client found
            QTRY_VERIFY(!QApplication::activePopupWidget());
            QCOMPARE(klient->currentText(), QStringLiteral("Marie Svobodová"));
            QTest::keyClick(d->focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(focused(d), QStringLiteral("PokojComboBox"));
            QTest::keyClick(d->focusWidget(), Qt::Key_Down);
            QCOMPARE(control<QComboBox>(d, "PokojComboBox")->currentText(), QStringLiteral("101"));
            QVERIFY(control<QPushButton>(d, "OKButton")->isEnabled());

            QStringList order;
            for (int i = 0; i < 6; ++i)
                order << tabToNextControl(d);
            QCOMPARE(order, (QStringList{"KlientComboBox", "OKButton", "StornoButton", "OdDateTimePicker",
                                         "DoDateTimePicker", "PokojComboBox"}));
            // On to the last day: one day later.
            while (focused(d) != "DoDateTimePicker" && !QTest::currentTestFailed())
                tabToNextControl(d);
            QTest::keyClicks(dO, den(1).toString("ddMMyyyy"));   // a full section moves on to the next
            QCOMPARE(dO->date(), den(1));
            QCOMPARE(control<QLabel>(d, "CenaLabel")->text(), QStringLiteral("1600"));
            // The form has no default button: Enter stores nothing.
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            QVERIFY(d->isVisible());
            while (focused(d) != "OKButton" && !QTest::currentTestFailed())
                tabToNextControl(d);
            QTest::keyClick(d->focusWidget(), Qt::Key_Space);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(TestDatabase::rows("SELECT klient_id, od_kdy, do_kdy, pokoj_id, cena FROM objednavky_pokoje_tab "
                                    "WHERE cislo_objednavky = 9"),
                 QStringList{QString("2|%1|%2|1|1600").arg(sql(0), sql(1))});
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestNovaRezervace test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_nova_rezervace.moc"
