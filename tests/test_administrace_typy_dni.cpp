// The day types dialog, offscreen against the real server: adding by button
// and by Enter, names already taken, removing a type with its prices and
// dates, what Storno and the title-bar close leave, a failed save, a save
// refused because another desk changed a type, the order of the list deciding
// a stay's price, and the calendar dialog opened from the main window for a
// type not saved yet.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministraceTypyDni.h"
#include "admin/TNastaveniDnuUTypuDne.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Objednavky.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

using namespace GuiTest;

namespace {
QStringList storedTypes()
{
    return TestDatabase::rows("SELECT typ_dne_id, nazev_typu_dne FROM typy_dnu_tab ORDER BY poradi, typ_dne_id");
}

QStringList storedRows()
{
    return TestDatabase::rows("SELECT typ_dne_id, cena FROM ceny_pokoje_tab ORDER BY typ_dne_id")
           + TestDatabase::rows("SELECT typ_dne_id, datum FROM kalendar_typy_dnu_tab ORDER BY typ_dne_id, datum");
}

// Friday at the weekday price, Saturday a weekend day and a holiday.
double stayPrice()
{
    const Objednavka stay(1, QDate::currentDate(), QDate(2025, 7, 4), QDate(2025, 7, 5), 1, 0);
    return stay.chybi_cena ? -1 : stay.cena;
}

void add(QWidget *d, const QString &nazev)
{
    type(control<QLineEdit>(d, "NovyTypDneEdit"), nazev);
    click(control<QPushButton>(d, "PridejTypDneButton"));
}

/** Opens the calendar for the line and assigns it the Saturday of the week from 7 July 2025. */
void assignASaturday(TAdministraceTypyDni *d, int line)
{
    clickLine(control<QListWidget>(d, "TypyDniListBox"), line);
    auto *priradDny = control<QPushButton>(d, "PriradDnyVybranemuTypuButton");
    inModal<TNastaveniDnuUTypuDne>([&] { click(priradDny); }, [&](TNastaveniDnuUTypuDne *k) {
        QVERIFY(k->isModal());
        QCOMPARE(k->windowHandle()->transientParent(), d->windowHandle());   // over the day types
        CONTROL(QListWidget, dny, k, "VypisDniListBox");
        CONTROL(QListWidget, tydny, k, "PridejDnyCheckListBox");
        CONTROL(QDateEdit, od, k, "OdDateTimePicker");
        CONTROL(QDateEdit, doKdy, k, "DoDateTimePicker");
        CONTROL(QPushButton, pridej, k, "PridejDnyButton");
        CONTROL(QPushButton, ok, k, "OKButton");
        QCOMPARE(dny->count(), 0);
        for (int i = 0; i < 7; ++i)
            tydny->item(i)->setCheckState(i == 5 ? Qt::Checked : Qt::Unchecked);
        od->setDate(QDate(2025, 7, 7));
        doKdy->setDate(QDate(2025, 7, 13));
        click(pridej);
        click(ok);
    });
}
} // namespace

class TestAdministraceTypyDni : public QObject
{
    Q_OBJECT

    std::unique_ptr<TAdministraceTypyDni> m_dialog;

    void inDialog(const std::function<void(TAdministraceTypyDni *)> &act) { inModal(*m_dialog, act); }

private slots:
    void initTestCase()
    {
        setUpDatabase();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        // Holidays first, as a hotel may have set by hand; the other two tie.
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 20), (2, 'Víkend', 20), (3, 'Svátek', 10)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (1, 1, 2, 1200), (1, 1, 3, 1500)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES "
                           "('2025-07-04', 1), ('2025-07-05', 2), ('2025-07-05', 3)");
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan')");
        m_dialog = std::make_unique<TAdministraceTypyDni>();
    }
    void cleanup() { m_dialog.reset(); }

    void addingAType_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::newRow("Přidej") << false;
        QTest::newRow("Enter in the edit box") << true;
    }
    void addingAType()
    {
        QFETCH(bool, enter);
        inDialog([&](TAdministraceTypyDni *d) {
            auto *typy = control<QListWidget>(d, "TypyDniListBox");
            auto *novy = control<QLineEdit>(d, "NovyTypDneEdit");
            QCOMPARE(lines(typy), (QStringList{"Svátek", "Všední", "Víkend"}));
            const auto press = [&] { enter ? pressEnter(novy) : click(control<QPushButton>(d, "PridejTypDneButton")); };
            type(novy, "Sezona");
            press();
            QCOMPARE(novy->text(), QString());
            QCOMPARE(lines(typy), (QStringList{"Svátek", "Všední", "Víkend", "Sezona"}));
            press();   // empty: nothing, and Enter does not press OK either
            QVERIFY(d->isVisible());
            QCOMPARE(typy->count(), 4);
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedTypes(), (QStringList{"3|Svátek", "1|Všední", "2|Víkend", "4|Sezona"}));
        QCOMPARE(messages(), QStringList());
    }

    void aNameTakenIsRefused_data()
    {
        QTest::addColumn<QString>("nazev");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("listed");   // lines of that name afterwards
        QTest::newRow("listed and stored") << "Víkend" << true << 1;
        QTest::newRow("added in this opening") << "Sezona" << true << 1;
        QTest::newRow("stored by another desk meanwhile") << "Zima" << true << 0;
        QTest::newRow("removed in this opening: a new type") << "Svátek" << false << 1;
        QTest::newRow("another case") << "víkend" << false << 1;
    }
    void aNameTakenIsRefused()
    {
        QFETCH(QString, nazev);
        QFETCH(bool, refused);
        QFETCH(int, listed);
        inDialog([&](TAdministraceTypyDni *d) {
            auto *typy = control<QListWidget>(d, "TypyDniListBox");
            add(d, "Sezona");
            clickLine(typy, 0);
            click(control<QPushButton>(d, "OdstranVybranyTypButton"));
            TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (9, 'Zima', 30)");
            add(d, nazev);
            QCOMPARE(lines(typy).count(nazev), listed);
            QCOMPARE(control<QLineEdit>(d, "NovyTypDneEdit")->text(), refused ? nazev : QString());
            QCOMPARE(messages(), refused ? QStringList{"Typ dne „" + nazev + "“ už existuje.|Chyba"} : QStringList());
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(TestDatabase::rows("SELECT nazev_typu_dne FROM typy_dnu_tab").count(nazev), 1);
    }

    void removingATypeTakesItsPricesAndDates()
    {
        inDialog([](TAdministraceTypyDni *d) {
            auto *typy = control<QListWidget>(d, "TypyDniListBox");
            auto *novy = control<QLineEdit>(d, "NovyTypDneEdit");
            click(control<QPushButton>(d, "OdstranVybranyTypButton"));   // nothing selected
            QCOMPARE(typy->count(), 3);
            type(novy, "rozepsano");
            clickLine(typy, 2);
            click(control<QPushButton>(d, "OdstranVybranyTypButton"));
            QCOMPARE(lines(typy), (QStringList{"Svátek", "Všední"}));
            QCOMPARE(novy->text(), QString());
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedTypes(), (QStringList{"3|Svátek", "1|Všední"}));
        QCOMPARE(storedRows(), (QStringList{"1|1000", "3|1500", "1|2025-07-04", "3|2025-07-05"}));
    }

    // Another desk holding the tables is in the table over every dialog; here a statement fails part-way.
    void aFailedSaveKeepsTheDialogAndTheTables()
    {
        const QStringList types = storedTypes(), rows = storedRows();
        const QString tooLong(101, 'x');
        inDialog([&](TAdministraceTypyDni *d) {
            auto *typy = control<QListWidget>(d, "TypyDniListBox");
            clickLine(typy, 0);
            click(control<QPushButton>(d, "OdstranVybranyTypButton"));
            add(d, "Sezona");
            add(d, tooLong);   // fails after the table was emptied
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            QCOMPARE(typy->count(), 4);
            verifyDatabaseErrorShown("Nepodařilo se uložit typy dní.",
                                     QStringLiteral("Text v poli „název typu dne“ je delší"), "Data too long");
            QCOMPARE(storedTypes(), types);
            QCOMPARE(storedRows(), rows);
            clickLine(typy, 3);
            click(control<QPushButton>(d, "OdstranVybranyTypButton"));
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedTypes(), (QStringList{"1|Všední", "2|Víkend", "4|Sezona"}));
        QCOMPARE(storedRows(), (QStringList{"1|1000", "2|1200", "1|2025-07-04", "2|2025-07-05"}));
    }

    void theListOrderDecidesTheStayPrice_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QList<int>>("moves");   // -1 up, 1 down
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<int>("selected");
        QTest::addColumn<double>("price");
        const QStringList stored{"Svátek", "Všední", "Víkend"};
        QTest::newRow("nothing moved: the holiday prices Saturday") << -1 << QList<int>() << stored << -1 << 2500.0;
        QTest::newRow("weekend moved to the top") << 2 << QList<int>{-1, -1}
                                                  << QStringList{"Víkend", "Svátek", "Všední"} << 0 << 2200.0;
        QTest::newRow("holiday moved to the bottom") << 0 << QList<int>{1, 1}
                                                     << QStringList{"Všední", "Víkend", "Svátek"} << 2 << 2200.0;
        QTest::newRow("holiday moved down below the weekday only") << 0 << QList<int>{1}
                                                                   << QStringList{"Všední", "Svátek", "Víkend"} << 1
                                                                   << 2500.0;
        QTest::newRow("top up: nothing moves") << 0 << QList<int>{-1} << stored << 0 << 2500.0;
        QTest::newRow("bottom down: nothing moves") << 2 << QList<int>{1} << stored << 2 << 2500.0;
    }
    void theListOrderDecidesTheStayPrice()
    {
        QFETCH(int, line);
        QFETCH(QList<int>, moves);
        QFETCH(QStringList, order);
        QFETCH(int, selected);
        QFETCH(double, price);
        QCOMPARE(stayPrice(), 2500.0);
        inDialog([&](TAdministraceTypyDni *d) {
            auto *typy = control<QListWidget>(d, "TypyDniListBox");
            auto *novy = control<QLineEdit>(d, "NovyTypDneEdit");
            auto *nahoru = control<QPushButton>(d, "PosunTypDneNahoruButton");
            auto *dolu = control<QPushButton>(d, "PosunTypDneDoluButton");
            QTest::keyClicks(novy, "Sez");   // a name being typed stays through the moves
            click(nahoru);                    // nothing selected
            click(dolu);
            if (line >= 0)
                clickLine(typy, line);
            for (int krok : moves)
                click(krok < 0 ? nahoru : dolu);
            QCOMPARE(lines(typy), order);
            QCOMPARE(typy->row(typy->selectedItems().value(0)), selected);
            QCOMPARE(novy->text(), QStringLiteral("Sez"));
            QCOMPARE(stayPrice(), 2500.0);   // not before OK
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(stayPrice(), price);
        QCOMPARE(TestDatabase::rows("SELECT nazev_typu_dne FROM typy_dnu_tab ORDER BY poradi"), order);
        inDialog([&](TAdministraceTypyDni *d) { QCOMPARE(lines(control<QListWidget>(d, "TypyDniListBox")), order); });
    }

    void theCalendarOfATypeNotSavedYet_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::newRow("day types then OK") << true;
        QTest::newRow("day types then Storno") << false;
    }
    void theCalendarOfATypeNotSavedYet()
    {
        QFETCH(bool, saved);
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        auto *menu = form.findChild<QAction *>("MenuAdministraceTypyDni");
        QVERIFY(menu && menu->isEnabled());
        const auto inFormDialog = [&](const std::function<void(TAdministraceTypyDni *)> &act) {
            inModal<TAdministraceTypyDni>([&] { menu->trigger(); }, act);
        };
        inFormDialog([&](TAdministraceTypyDni *d) {
            add(d, "Leto");
            assignASaturday(d, 3);
            QCOMPARE(TestDatabase::rows("SELECT datum FROM kalendar_typy_dnu_tab WHERE typ_dne_id > 3"),
                     QStringList());   // held for OK
            QVERIFY(d->isVisible());
            QCOMPARE(lines(control<QListWidget>(d, "TypyDniListBox")),
                     (QStringList{"Svátek", "Všední", "Víkend", "Leto"}));
            // Opened again, the calendar shows the dates held; Storno there keeps them.
            auto *priradDny = control<QPushButton>(d, "PriradDnyVybranemuTypuButton");
            inModal<TNastaveniDnuUTypuDne>([&] { click(priradDny); }, [](TNastaveniDnuUTypuDne *k) {
                CONTROL(QListWidget, dny, k, "VypisDniListBox");
                CONTROL(QPushButton, odstran, k, "OdstranVybraneDnyButton");
                CONTROL(QPushButton, storno, k, "StornoButton");
                QCOMPARE(dny->count(), 1);
                selectLines(dny, {0});
                click(odstran);
                click(storno);
            });
            click(control<QPushButton>(d, saved ? "OKButton" : "StornoButton"));
        });
        QCOMPARE(storedTypes().contains("4|Leto"), saved);
        QCOMPARE(TestDatabase::rows("SELECT typ_dne_id, datum FROM kalendar_typy_dnu_tab WHERE typ_dne_id > 3"),
                 saved ? QStringList{"4|2025-07-12"} : QStringList());

        inFormDialog([&](TAdministraceTypyDni *d) {
            add(d, "Zima");
            assignASaturday(d, control<QListWidget>(d, "TypyDniListBox")->count() - 1);
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedTypes(), saved ? (QStringList{"3|Svátek", "1|Všední", "2|Víkend", "4|Leto", "5|Zima"})
                                      : (QStringList{"3|Svátek", "1|Všední", "2|Víkend", "4|Zima"}));
        QCOMPARE(TestDatabase::rows("SELECT typ_dne_id, datum FROM kalendar_typy_dnu_tab WHERE typ_dne_id > 3"),
                 saved ? (QStringList{"4|2025-07-12", "5|2025-07-12"}) : QStringList{"4|2025-07-12"});
        QCOMPARE(messages(), QStringList());
    }

    void aConflictReloadsTheListKeepingItsChanges()
    {
        auto other = TestDatabase::openAnother();
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        auto *menu = form.findChild<QAction *>("MenuAdministraceTypyDni");
        inModal<TAdministraceTypyDni>([&] { menu->trigger(); }, [&](TAdministraceTypyDni *d) {
            auto *typy = control<QListWidget>(d, "TypyDniListBox");
            add(d, "Leto");
            assignASaturday(d, 3);
            clickLine(typy, 2);
            click(control<QPushButton>(d, "OdstranVybranyTypButton"));
            clickLine(typy, 1);
            click(control<QPushButton>(d, "PosunTypDneNahoruButton"));
            TMojeQuery(*other).exec("UPDATE typy_dnu_tab SET nazev_typu_dne = 'Sobota' WHERE typ_dne_id = 2");
            TMojeQuery(*other).exec("INSERT INTO typy_dnu_tab VALUES (7, 'Zima', 30)");
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            QCOMPARE(messages().size(), 1);
            QVERIFY2(messages()[0].startsWith("Nepodařilo se uložit typy dní.\n"
                                              "Typ dne „Víkend“ mezitím změnila jiná recepce.\n"),
                     qPrintable(messages()[0]));
            // The removal of the type renamed meanwhile is dropped; the move and the new type stay,
            // and the types this list did not hold go where the table has them.
            QCOMPARE(lines(typy), (QStringList{"Všední", "Svátek", "Sobota", "Zima", "Leto"}));
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedTypes(), (QStringList{"1|Všední", "3|Svátek", "2|Sobota", "7|Zima", "4|Leto"}));
        QCOMPARE(TestDatabase::rows("SELECT typ_dne_id, datum FROM kalendar_typy_dnu_tab WHERE typ_dne_id > 3"),
                 QStringList{"4|2025-07-12"});
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestAdministraceTypyDni test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_administrace_typy_dni.moc"
