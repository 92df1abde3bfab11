// The room types dialog, offscreen against the real server: adding types by
// button and by Enter, the bed count and name refusals, removal stopping at
// a type in use, what OK writes and what Storno and the title-bar close
// leave, a failed save, a save refused because another desk's room took a
// removed type meanwhile, and the price dialog opened over it, also for a
// type not saved yet.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministraceTypyPokoju.h"
#include "admin/TDefinovaniCen.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace GuiTest;

namespace {
QStringList storedTypes()
{
    return TestDatabase::rows("SELECT * FROM typy_pokoju_tab ORDER BY typ_pokoje_id");
}

QStringList storedPrices()
{
    return TestDatabase::rows("SELECT * FROM ceny_pokoje_tab ORDER BY typ_pokoje_id, typ_klienta_id, typ_dne_id");
}

const QStringList typesBefore{"1|Jednolůžkový|1", "2|Dvoulůžkový|2", "3|Apartmá|4"};
const QStringList pricesBefore{"1|1|1|1000", "2|1|1|1500", "3|1|1|3000"};

void add(QWidget *d, const QString &nazev, const QString &luzka)
{
    type(control<QLineEdit>(d, "NovyTypEdit"), nazev);
    type(control<QLineEdit>(d, "PocetLuzekEdit"), luzka);
    click(control<QPushButton>(d, "PridejButton"));
}

/** Sets one price in the price dialog: the first day type, the first client type. */
void setFirstPrice(TDefinovaniCen *d, const QString &cena)
{
    CONTROL(QListWidget, dny, d, "TypyDniListBox");
    CONTROL(QListWidget, klienti, d, "TypyKlientuListBox");
    CONTROL(QLineEdit, edit, d, "CenaEdit");
    CONTROL(QPushButton, ok, d, "OKButton");
    selectLines(dny, {0});
    selectLines(klienti, {0});
    type(edit, cena);
    pressEnter(edit);
    click(ok);
    QVERIFY(!d->isVisible());
}
} // namespace

class TestAdministraceTypyPokoju : public QObject
{
    Q_OBJECT

    std::unique_ptr<TAdministraceTypyPokoju> m_dialog;
    std::unique_ptr<TDefinovaniCen> m_ceny;

    void inDialog(const std::function<void(TAdministraceTypyPokoju *)> &act) { inModal(*m_dialog, act); }

    /** Presses "Nadefinuj ceny u vybraných" and acts in the price dialog it opens. */
    static void inPrices(QWidget *d, const std::function<void(TDefinovaniCen *)> &act)
    {
        inModal<TDefinovaniCen>([&] { click(control<QPushButton>(d, "NadefinujCenyButton")); }, act);
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
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2), "
                           "(3, 'Apartmá', 4)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední')");
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Běžný')");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (2, 1, 1, 1500), (3, 1, 1, 3000)");
        m_dialog = std::make_unique<TAdministraceTypyPokoju>();
        m_ceny = std::make_unique<TDefinovaniCen>();
        m_dialog->setDefinovaniCen(m_ceny.get());
    }
    void cleanup()
    {
        m_dialog.reset();
        m_ceny.reset();
    }

    void adding_data()
    {
        QTest::addColumn<QString>("nazev");
        QTest::addColumn<QString>("luzka");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("stored");   // the new type's row, empty: nothing added
        QTest::addColumn<QStringList>("messages");
        const QStringList notANumber{"Počet lůžek není platné číslo.|Chyba"};
        const QStringList noBeds{"Počet lůžek na pokoji musí být celé číslo od 1 výše.|Chyba"};
        QTest::newRow("Přidej") << "Rodinny" << "4" << "click" << "4|Rodinny|4" << QStringList();
        QTest::newRow("Enter in the name") << "Rodinny" << "4" << "NovyTypEdit" << "4|Rodinny|4" << QStringList();
        QTest::newRow("Enter in the bed count") << " Rodinny" << "+3" << "PocetLuzekEdit" << "4|Rodinny|3"
                                                << QStringList();
        QTest::newRow("no beds") << "Sklad" << "0" << "click" << "" << noBeds;
        QTest::newRow("negative") << "Sklad" << "-2" << "PocetLuzekEdit" << "" << noBeds;
        QTest::newRow("a name in the list") << "Apartmá" << "2" << "NovyTypEdit" << ""
                                            << QStringList{"Typ pokoje „Apartmá“ už existuje.|Chyba"};
        QTest::newRow("letters") << "Rodinny" << "abc" << "click" << "" << notANumber;
        QTest::newRow("a fraction") << "Rodinny" << "2,5" << "click" << "" << notANumber;
        QTest::newRow("beyond 32 bits") << "Rodinny" << "2147483648" << "click" << "" << notANumber;
        QTest::newRow("no name") << "" << "2" << "PocetLuzekEdit" << "" << QStringList();
        QTest::newRow("no bed count") << "Rodinny" << "" << "NovyTypEdit" << "" << QStringList();
    }
    void adding()
    {
        QFETCH(QString, nazev);
        QFETCH(QString, luzka);
        QFETCH(QString, how);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        inDialog([&](TAdministraceTypyPokoju *d) {
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            auto *novy = control<QLineEdit>(d, "NovyTypEdit");
            auto *pocetLuzek = control<QLineEdit>(d, "PocetLuzekEdit");
            QCOMPARE(d->windowTitle(), QStringLiteral("AdministraceTypyPokoju"));
            type(novy, nazev);
            type(pocetLuzek, luzka);
            if (how == "click")
                click(control<QPushButton>(d, "PridejButton"));
            else
                pressEnter(how == "NovyTypEdit" ? novy : pocetLuzek);
            QVERIFY(d->isVisible());   // Enter presses no button
            QCOMPARE(GuiTest::messages(), messages);
            QStringList expected{"Jednolůžkový", "Dvoulůžkový", "Apartmá"};
            if (!stored.isEmpty())
                expected << nazev.trimmed();   // blanks at the ends are no part of a name
            QCOMPARE(lines(typy), expected);
            QCOMPARE(novy->text(), nazev);   // both boxes keep their text
            QCOMPARE(pocetLuzek->text(), luzka);
            if (!stored.isEmpty()) {   // pressed twice: one type
                MessageBox::clearHistory();
                click(control<QPushButton>(d, "PridejButton"));
                QCOMPARE(GuiTest::messages(), QStringList{"Typ pokoje „" + nazev.trimmed() + "“ už existuje.|Chyba"});
                QCOMPARE(lines(typy), expected);
            }
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QStringList expected = typesBefore;
        if (!stored.isEmpty())
            expected << stored;
        QCOMPARE(storedTypes(), expected);
    }

    void removingStopsAtATypeInUse()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (4, 'Rodinny', 4)");
        inDialog([](TAdministraceTypyPokoju *d) {
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            click(control<QPushButton>(d, "OdstranVybraneButton"));   // nothing selected
            QCOMPARE(typy->count(), 4);
            selectLines(typy, {0, 1, 3});
            click(control<QPushButton>(d, "OdstranVybraneButton"));
            QCOMPARE(GuiTest::messages(),
                     QStringList{"K typu pokoje \"Dvoulůžkový\" jsou ještě nějaké pokoje přiřazeny!|Chyba"});
            QCOMPARE(lines(typy), (QStringList{"Dvoulůžkový", "Apartmá", "Rodinny"}));
            QVERIFY(selectedLines(typy).isEmpty());
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedTypes(), (QStringList{"2|Dvoulůžkový|2", "3|Apartmá|4", "4|Rodinny|4"}));
        QCOMPARE(storedPrices(), (QStringList{"2|1|1|1500", "3|1|1|3000"}));
    }

    void aNameStoredMeanwhileIsRefusedARemovedOneMayComeBack()
    {
        inDialog([](TAdministraceTypyPokoju *d) {
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (4, 'Rodinny', 4)");   // another desk's
            add(d, "Rodinny", "4");
            QCOMPARE(messages(), QStringList{"Typ pokoje „Rodinny“ už existuje.|Chyba"});
            selectLines(typy, {2});
            click(control<QPushButton>(d, "OdstranVybraneButton"));
            add(d, "Apartmá", "3");
            QCOMPARE(lines(typy), (QStringList{"Jednolůžkový", "Dvoulůžkový", "Apartmá"}));
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(messages(), QStringList{"Typ pokoje „Rodinny“ už existuje.|Chyba"});
        QCOMPARE(storedTypes(), (QStringList{"1|Jednolůžkový|1", "2|Dvoulůžkový|2", "4|Rodinny|4", "5|Apartmá|3"}));
        QCOMPARE(storedPrices(), (QStringList{"1|1|1|1000", "2|1|1|1500"}));
    }

    void aRoomGivenMeanwhileToARemovedTypeRefusesTheSave()
    {
        inDialog([](TAdministraceTypyPokoju *d) {
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            selectLines(typy, {0, 2});
            click(control<QPushButton>(d, "OdstranVybraneButton"));
            add(d, "Rodinny", "4");
            QCOMPARE(lines(typy), (QStringList{"Dvoulůžkový", "Rodinny"}));
            // Another desk gives a new room the type Apartmá before this one saves.
            auto other = TestDatabase::openAnother();
            TMojeQuery(*other).exec("INSERT INTO pokoje_tab VALUES (2, '102', 3)");
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            QCOMPARE(MessageBox::history().size(), 1);
            QVERIFY2(MessageBox::history()[0].text.startsWith(
                         "Nepodařilo se uložit typy pokojů.\n"
                         "K typu pokoje „Apartmá“ mezitím jiná recepce přiřadila pokoj."),
                     qPrintable(MessageBox::history()[0].text));
            QCOMPARE(storedTypes(), typesBefore);
            QCOMPARE(storedPrices(), pricesBefore);
            // Reloaded: Apartmá is back, the rest of this opening stays.
            QCOMPARE(lines(typy), (QStringList{"Dvoulůžkový", "Apartmá", "Rodinny"}));
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedTypes(), (QStringList{"2|Dvoulůžkový|2", "3|Apartmá|4", "4|Rodinny|4"}));
        QCOMPARE(storedPrices(), (QStringList{"2|1|1|1500", "3|1|1|3000"}));
    }

    void pricesOfATypeNotSavedYet_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("OK: the prices go in with the type") << "OK";
        QTest::newRow("Storno: a later type does not take them") << "Storno";
        QTest::newRow("removed again: a later type does not take them") << "removed";
    }
    void pricesOfATypeNotSavedYet()
    {
        QFETCH(QString, then);
        inDialog([&](TAdministraceTypyPokoju *d) {
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            add(d, "Rodinny", "4");
            selectLines(typy, {3});
            inPrices(d, [](TDefinovaniCen *p) { setFirstPrice(p, "2000"); });
            // Held here until the type itself is stored.
            QCOMPARE(storedPrices(), pricesBefore);
            // Shown when the price dialog opens once more.
            inPrices(d, [](TDefinovaniCen *p) {
                CONTROL(QTableWidget, tabulka, p, "SoucasneCenyTableWidget");
                QCOMPARE(tabulka->item(0, 0)->text(), QStringLiteral("2000"));
            });
            if (then == "removed") {
                selectLines(typy, {3});
                click(control<QPushButton>(d, "OdstranVybraneButton"));
                add(d, "Sklad", "1");
                click(control<QPushButton>(d, "OKButton"));
            } else {
                click(control<QPushButton>(d, then == "OK" ? "OKButton" : "StornoButton"));
            }
        });
        if (then == "OK") {
            QCOMPARE(storedTypes(), typesBefore + QStringList{"4|Rodinny|4"});
            QCOMPARE(storedPrices(), pricesBefore + QStringList{"4|1|1|2000"});
            return;
        }
        if (then == "Storno") {
            inDialog([](TAdministraceTypyPokoju *d) {
                add(d, "Sklad", "1");
                click(control<QPushButton>(d, "OKButton"));
            });
        }
        QCOMPARE(storedTypes(), typesBefore + QStringList{"4|Sklad|1"});
        QCOMPARE(storedPrices(), pricesBefore);
    }

    void pricesForTheSelectedTypesFromTheMainWindow()
    {
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        auto *menu = form.findChild<QAction *>("MenuAdministraceTypyPokoju");
        QVERIFY(menu && menu->isEnabled());
        inModal<TAdministraceTypyPokoju>([&] { menu->trigger(); }, [](TAdministraceTypyPokoju *d) {
            auto *typy = control<QListWidget>(d, "TypyPokojuListBox");
            // Nothing selected: no price dialog.
            auto *ceny = d->parentWidget()->findChild<TDefinovaniCen *>();
            QVERIFY(ceny);
            bool opened = false;
            QTimer guard;
            guard.setInterval(5);
            QObject::connect(&guard, &QTimer::timeout, [&] {
                if (ceny->isVisible()) {
                    opened = true;
                    ceny->reject();
                }
            });
            guard.start();
            click(control<QPushButton>(d, "NadefinujCenyButton"));
            guard.stop();
            QVERIFY(!opened);

            selectLines(typy, {2, 0});
            inPrices(d, [](TDefinovaniCen *p) {
                QCOMPARE(QApplication::activeModalWidget(), p);
                setFirstPrice(p, "1200,5");
            });
            QVERIFY(d->isVisible());
            QCOMPARE(selectedLines(typy), (QStringList{"Jednolůžkový", "Apartmá"}));
            // The prices are the price dialog's, already stored.
            click(control<QPushButton>(d, "StornoButton"));
        });
        QCOMPARE(storedPrices(), (QStringList{"1|1|1|1200.5", "2|1|1|1500", "3|1|1|1200.5"}));
        QCOMPARE(storedTypes(), typesBefore);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestAdministraceTypyPokoju test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_administrace_typy_pokoju.moc"
