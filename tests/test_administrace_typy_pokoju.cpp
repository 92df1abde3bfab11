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

struct Controls
{
    QListWidget *typy = nullptr;
    QLineEdit *novy = nullptr;
    QLineEdit *luzka = nullptr;
    QPushButton *pridej = nullptr;
    QPushButton *odstran = nullptr;
    QPushButton *ceny = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *storno = nullptr;
};

void find(TAdministraceTypyPokoju *d, Controls &c)
{
    CONTROL(QListWidget, typy, d, "TypyPokojuListBox");
    CONTROL(QLineEdit, novy, d, "NovyTypEdit");
    CONTROL(QLineEdit, luzka, d, "PocetLuzekEdit");
    CONTROL(QPushButton, pridej, d, "PridejButton");
    CONTROL(QPushButton, odstran, d, "OdstranVybraneButton");
    CONTROL(QPushButton, ceny, d, "NadefinujCenyButton");
    CONTROL(QPushButton, ok, d, "OKButton");
    CONTROL(QPushButton, storno, d, "StornoButton");
    c = {typy, novy, luzka, pridej, odstran, ceny, ok, storno};
}

void add(const Controls &c, const QString &nazev, const QString &luzka)
{
    type(c.novy, nazev);
    type(c.luzka, luzka);
    click(c.pridej);
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

    void inDialog(const std::function<void(TAdministraceTypyPokoju *, const Controls &)> &act)
    {
        inModal<TAdministraceTypyPokoju>(*m_dialog, [&](TAdministraceTypyPokoju *d) {
            Controls c;
            find(d, c);
            if (!QTest::currentTestFailed())
                act(d, c);
        });
    }

    /** Presses "Nadefinuj ceny u vybraných" and acts in the price dialog it opens. */
    static void inPrices(const Controls &c, const std::function<void(TDefinovaniCen *)> &act)
    {
        inModal<TDefinovaniCen>([&] { click(c.ceny); }, act);
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
        const QStringList notANumber{"Počet pokojů není platné číslo.|Chyba"};
        const QStringList noBeds{"Počet lůžek na pokoji musí být celé číslo od 1 výše.|Chyba"};
        QTest::newRow("Přidej") << "Rodinny" << "4" << "click" << "4|Rodinny|4" << QStringList();
        QTest::newRow("Enter in the name") << "Rodinny" << "4" << "NovyTypEdit" << "4|Rodinny|4" << QStringList();
        QTest::newRow("Enter in the bed count") << " Rodinny" << "+3" << "PocetLuzekEdit" << "4| Rodinny|3"
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
        inDialog([&](TAdministraceTypyPokoju *d, const Controls &c) {
            QCOMPARE(d->windowTitle(), QStringLiteral("AdministraceTypyPokoju"));
            type(c.novy, nazev);
            type(c.luzka, luzka);
            if (how == "click")
                click(c.pridej);
            else
                pressEnter(how == "NovyTypEdit" ? c.novy : c.luzka);
            QVERIFY(d->isVisible());   // Enter presses no button
            QCOMPARE(GuiTest::messages(), messages);
            QStringList expected{"Jednolůžkový", "Dvoulůžkový", "Apartmá"};
            if (!stored.isEmpty())
                expected << nazev;
            QCOMPARE(lines(c.typy), expected);
            QCOMPARE(c.novy->text(), nazev);   // both boxes keep their text
            QCOMPARE(c.luzka->text(), luzka);
            if (!stored.isEmpty()) {   // pressed twice: one type
                MessageBox::clearHistory();
                click(c.pridej);
                QCOMPARE(GuiTest::messages(), QStringList{"Typ pokoje „" + nazev + "“ už existuje.|Chyba"});
                QCOMPARE(lines(c.typy), expected);
            }
            click(c.ok);
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
        inDialog([](TAdministraceTypyPokoju *, const Controls &c) {
            click(c.odstran);   // nothing selected
            QCOMPARE(c.typy->count(), 4);
            selectLines(c.typy, {0, 1, 3});
            click(c.odstran);
            QCOMPARE(GuiTest::messages(),
                     QStringList{"K typu pokoje \"Dvoulůžkový\" jsou ještě nějaké pokoje přiřazeny!|Chyba"});
            QCOMPARE(lines(c.typy), (QStringList{"Dvoulůžkový", "Apartmá", "Rodinny"}));
            QVERIFY(selectedLines(c.typy).isEmpty());
            click(c.ok);
        });
        QCOMPARE(storedTypes(), (QStringList{"2|Dvoulůžkový|2", "3|Apartmá|4", "4|Rodinny|4"}));
        QCOMPARE(storedPrices(), (QStringList{"2|1|1|1500", "3|1|1|3000"}));
    }

    void closingWithoutOkWritesNothing_data() { addClosingRows(); }
    void closingWithoutOkWritesNothing()
    {
        QFETCH(QString, how);
        inDialog([&](TAdministraceTypyPokoju *d, const Controls &c) {
            add(c, "Rodinny", "4");
            selectLines(c.typy, {0, 2});
            click(c.odstran);
            QCOMPARE(lines(c.typy), (QStringList{"Dvoulůžkový", "Rodinny"}));
            closeWithoutOk(d, c.storno, how);
        });
        QCOMPARE(storedTypes(), typesBefore);
        QCOMPARE(storedPrices(), pricesBefore);
        inDialog([](TAdministraceTypyPokoju *, const Controls &c) {
            QCOMPARE(lines(c.typy), (QStringList{"Jednolůžkový", "Dvoulůžkový", "Apartmá"}));
            QCOMPARE(c.novy->text(), QStringLiteral("Rodinny"));
            QCOMPARE(c.luzka->text(), QStringLiteral("4"));
        });
    }

    void aFailedSaveKeepsTheDialogAndTheTables()
    {
        TestDatabase::exec("SET SESSION lock_wait_timeout = 1");
        auto other = TestDatabase::openAnother();
        TMojeQuery q(*other);
        inDialog([&](TAdministraceTypyPokoju *d, const Controls &c) {
            selectLines(c.typy, {0});
            click(c.odstran);
            add(c, "Rodinny", "4");
            q.exec("LOCK TABLES ceny_pokoje_tab WRITE");
            click(c.ok);
            QVERIFY(d->isVisible());
            QCOMPARE(lines(c.typy), (QStringList{"Dvoulůžkový", "Apartmá", "Rodinny"}));
            verifyLockTimeoutShown("Nepodařilo se uložit typy pokojů.");
            q.exec("UNLOCK TABLES");
            QCOMPARE(storedTypes(), typesBefore);
            QCOMPARE(storedPrices(), pricesBefore);
            click(c.ok);
            QVERIFY(!d->isVisible());
        });
        TestDatabase::exec("SET SESSION lock_wait_timeout = DEFAULT");
        QCOMPARE(storedTypes(), (QStringList{"2|Dvoulůžkový|2", "3|Apartmá|4", "4|Rodinny|4"}));
        QCOMPARE(storedPrices(), (QStringList{"2|1|1|1500", "3|1|1|3000"}));
    }

    void aNameStoredMeanwhileIsRefusedARemovedOneMayComeBack()
    {
        inDialog([](TAdministraceTypyPokoju *, const Controls &c) {
            TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (4, 'Rodinny', 4)");   // another desk's
            add(c, "Rodinny", "4");
            QCOMPARE(messages(), QStringList{"Typ pokoje „Rodinny“ už existuje.|Chyba"});
            selectLines(c.typy, {2});
            click(c.odstran);
            add(c, "Apartmá", "3");
            QCOMPARE(lines(c.typy), (QStringList{"Jednolůžkový", "Dvoulůžkový", "Apartmá"}));
            click(c.ok);
        });
        QCOMPARE(messages(), QStringList{"Typ pokoje „Rodinny“ už existuje.|Chyba"});
        QCOMPARE(storedTypes(), (QStringList{"1|Jednolůžkový|1", "2|Dvoulůžkový|2", "4|Rodinny|4", "5|Apartmá|3"}));
        QCOMPARE(storedPrices(), (QStringList{"1|1|1|1000", "2|1|1|1500"}));
    }

    void aRoomGivenMeanwhileToARemovedTypeRefusesTheSave()
    {
        inDialog([](TAdministraceTypyPokoju *d, const Controls &c) {
            selectLines(c.typy, {0, 2});
            click(c.odstran);
            add(c, "Rodinny", "4");
            QCOMPARE(lines(c.typy), (QStringList{"Dvoulůžkový", "Rodinny"}));
            // Another desk gives a new room the type Apartmá before this one saves.
            auto other = TestDatabase::openAnother();
            TMojeQuery(*other).exec("INSERT INTO pokoje_tab VALUES (2, '102', 3)");
            click(c.ok);
            QVERIFY(d->isVisible());
            QCOMPARE(MessageBox::history().size(), 1);
            QVERIFY2(MessageBox::history()[0].text.startsWith(
                         "Nepodařilo se uložit typy pokojů.\n"
                         "K typu pokoje „Apartmá“ mezitím jiná recepce přiřadila pokoj."),
                     qPrintable(MessageBox::history()[0].text));
            QCOMPARE(storedTypes(), typesBefore);
            QCOMPARE(storedPrices(), pricesBefore);
            // Reloaded: Apartmá is back, the rest of this opening stays.
            QCOMPARE(lines(c.typy), (QStringList{"Dvoulůžkový", "Apartmá", "Rodinny"}));
            click(c.ok);
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
        inDialog([&](TAdministraceTypyPokoju *, const Controls &c) {
            add(c, "Rodinny", "4");
            selectLines(c.typy, {3});
            inPrices(c, [](TDefinovaniCen *d) { setFirstPrice(d, "2000"); });
            // Held here until the type itself is stored.
            QCOMPARE(storedPrices(), pricesBefore);
            // Shown when the price dialog opens once more.
            inPrices(c, [](TDefinovaniCen *d) {
                CONTROL(QTableWidget, tabulka, d, "SoucasneCenyTableWidget");
                QCOMPARE(tabulka->item(0, 0)->text(), QStringLiteral("2000"));
            });
            if (then == "removed") {
                selectLines(c.typy, {3});
                click(c.odstran);
                add(c, "Sklad", "1");
                click(c.ok);
            } else {
                click(then == "OK" ? c.ok : c.storno);
            }
        });
        if (then == "OK") {
            QCOMPARE(storedTypes(), typesBefore + QStringList{"4|Rodinny|4"});
            QCOMPARE(storedPrices(), pricesBefore + QStringList{"4|1|1|2000"});
            return;
        }
        if (then == "Storno") {
            inDialog([](TAdministraceTypyPokoju *, const Controls &c) {
                add(c, "Sklad", "1");
                click(c.ok);
            });
        }
        QCOMPARE(storedTypes(), typesBefore + QStringList{"4|Sklad|1"});
        QCOMPARE(storedPrices(), pricesBefore);
    }

    void pricesForTheSelectedTypesFromTheMainWindow()
    {
        TVitranaForm form(TestDatabase::config(), false);
        form.createDialogs();
        form.show();
        auto *menu = form.findChild<QAction *>("MenuAdministraceTypyPokoju");
        QVERIFY(menu && menu->isEnabled());
        inModal<TAdministraceTypyPokoju>([&] { menu->trigger(); }, [](TAdministraceTypyPokoju *d) {
            Controls c;
            find(d, c);
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
            click(c.ceny);
            guard.stop();
            QVERIFY(!opened);

            selectLines(c.typy, {2, 0});
            inPrices(c, [](TDefinovaniCen *p) {
                QCOMPARE(QApplication::activeModalWidget(), p);
                setFirstPrice(p, "1200,5");
            });
            QVERIFY(d->isVisible());
            QCOMPARE(selectedLines(c.typy), (QStringList{"Jednolůžkový", "Apartmá"}));
            click(c.storno);   // the prices are the price dialog's, already stored
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
