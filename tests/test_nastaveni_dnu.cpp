// The day-type calendar dialog, offscreen against the real server: the
// checked weekdays of a period, a start after the end, removing selected
// dates, what OK writes and Storno and the title-bar close leave, a failed
// save, a type removed by another desk meanwhile, the check marks kept
// between openings, and list lines that name their year in full where the
// short date format does not; dates typed into the pickers, and the
// inputs and weekday check marks as assistive technology sees them.

#include "GuiTestSupport.h"
#include "TestDatabase.h"
#include "TypedDate.h"

#include "admin/TNastaveniDnuUTypuDne.h"
#include "app/VitranaApplication.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QAccessible>
#include <QDateEdit>
#include <QPushButton>

using namespace GuiTest;

Q_DECLARE_METATYPE(QLocale)

namespace {
/** The stored dates of day type 1, then those of other types. */
QStringList storedDates()
{
    return TestDatabase::rows("SELECT typ_dne_id, datum FROM kalendar_typy_dnu_tab ORDER BY typ_dne_id, datum");
}

struct Controls
{
    QListWidget *dny = nullptr;
    QListWidget *tydny = nullptr;
    QDateEdit *od = nullptr;
    QDateEdit *doKdy = nullptr;
    QPushButton *pridej = nullptr;
    QPushButton *odstran = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *storno = nullptr;
};

void find(TNastaveniDnuUTypuDne *d, Controls &c)
{
    CONTROL(QListWidget, dny, d, "VypisDniListBox");
    CONTROL(QListWidget, tydny, d, "PridejDnyCheckListBox");
    CONTROL(QDateEdit, od, d, "OdDateTimePicker");
    CONTROL(QDateEdit, doKdy, d, "DoDateTimePicker");
    CONTROL(QPushButton, pridej, d, "PridejDnyButton");
    CONTROL(QPushButton, odstran, d, "OdstranVybraneDnyButton");
    CONTROL(QPushButton, ok, d, "OKButton");
    CONTROL(QPushButton, storno, d, "StornoButton");
    c = {dny, tydny, od, doKdy, pridej, odstran, ok, storno};
}

/** Checks exactly these weekdays (Monday 0) and adds the period. */
void addDays(const Controls &c, const QList<int> &weekdays, const QDate &od, const QDate &doKdy)
{
    for (int i = 0; i < c.tydny->count(); ++i)
        c.tydny->item(i)->setCheckState(weekdays.contains(i) ? Qt::Checked : Qt::Unchecked);
    c.od->setDate(od);
    c.doKdy->setDate(doKdy);
    click(c.pridej);
}

QStringList checked(const QListWidget *tydny)
{
    QStringList out;
    for (int i = 0; i < tydny->count(); ++i)
        if (tydny->item(i)->checkState() == Qt::Checked)
            out << tydny->item(i)->text();
    return out;
}
} // namespace

class TestNastaveniDnu : public QObject
{
    Q_OBJECT

    std::unique_ptr<TNastaveniDnuUTypuDne> m_dialog;

    void inDialog(const std::function<void(TNastaveniDnuUTypuDne *, const Controls &)> &act, int typDneId = 1)
    {
        inModal([&] { m_dialog->OtevriProTyp(typDneId); }, &find, act);
    }

private slots:
    void initTestCase()
    {
        TestDatabase::setUp();
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
        QLocale::setDefault(QLocale::c());   // list lines "d MMM yyyy"
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        MessageBox::clearHistory();
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 1), (2, 'Víkend', 2)");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-06-03', 1), ('2025-06-10', 1), "
                           "('2025-06-07', 2), ('2025-06-10', 2)");
        m_dialog = std::make_unique<TNastaveniDnuUTypuDne>();
    }
    void cleanup()
    {
        m_dialog.reset();
        QLocale::setDefault(QLocale::c());
    }

    void addingTheCheckedWeekdaysOfAPeriod_data()
    {
        QTest::addColumn<QList<int>>("weekdays");
        QTest::addColumn<QDate>("od");
        QTest::addColumn<QDate>("doKdy");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("Monday to Sunday, Saturday and Sunday")
            << QList<int>{5, 6} << QDate(2025, 6, 2) << QDate(2025, 6, 8)
            << QStringList{"3 Jun 2025", "7 Jun 2025", "8 Jun 2025", "10 Jun 2025"};
        QTest::newRow("across a year end, Wednesday and Friday")
            << QList<int>{2, 4} << QDate(2025, 12, 29) << QDate(2026, 1, 4)
            << QStringList{"3 Jun 2025", "10 Jun 2025", "31 Dec 2025", "2 Jan 2026"};
        QTest::newRow("one day, its weekday checked")
            << QList<int>{2} << QDate(2025, 6, 4) << QDate(2025, 6, 4)
            << QStringList{"3 Jun 2025", "4 Jun 2025", "10 Jun 2025"};
        QTest::newRow("one day, another weekday checked")
            << QList<int>{0, 1, 3, 4, 5, 6} << QDate(2025, 6, 4) << QDate(2025, 6, 4)
            << QStringList{"3 Jun 2025", "10 Jun 2025"};
        QTest::newRow("no weekday checked")
            << QList<int>() << QDate(2025, 1, 1) << QDate(2025, 12, 31) << QStringList{"3 Jun 2025", "10 Jun 2025"};
        QTest::newRow("overlapping the assigned Tuesdays")
            << QList<int>{1} << QDate(2025, 5, 28) << QDate(2025, 6, 17)
            << QStringList{"3 Jun 2025", "10 Jun 2025", "17 Jun 2025"};
    }
    void addingTheCheckedWeekdaysOfAPeriod()
    {
        QFETCH(QList<int>, weekdays);
        QFETCH(QDate, od);
        QFETCH(QDate, doKdy);
        QFETCH(QStringList, listed);
        QStringList expected;
        for (const QString &line : listed)
            expected << "1|" + QLocale::c().toDate(line, "d MMM yyyy").toString(Qt::ISODate);
        expected << "2|2025-06-07" << "2|2025-06-10";
        inDialog([&](TNastaveniDnuUTypuDne *d, const Controls &c) {
            QCOMPARE(lines(c.dny), (QStringList{"3 Jun 2025", "10 Jun 2025"}));
            addDays(c, weekdays, od, doKdy);
            QCOMPARE(lines(c.dny), listed);
            click(c.ok);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedDates(), expected);
        QCOMPARE(messages(), QStringList());
    }

    void aStartAfterTheEndAddsNothing()
    {
        inDialog([](TNastaveniDnuUTypuDne *d, const Controls &c) {
            addDays(c, {0, 1, 2, 3, 4, 5, 6}, QDate(2025, 6, 9), QDate(2025, 6, 8));
            QCOMPARE(messages(), QStringList{"Počáteční datum musí být menší než koncové|Chyba"});
            QVERIFY(d->isVisible());
            QCOMPARE(lines(c.dny), (QStringList{"3 Jun 2025", "10 Jun 2025"}));
            click(c.ok);
        });
        QCOMPARE(storedDates(), (QStringList{"1|2025-06-03", "1|2025-06-10", "2|2025-06-07", "2|2025-06-10"}));
    }

    void removingSelectedDates()
    {
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-06-17', 1), ('2025-06-24', 1), "
                           "('2025-07-01', 1)");
        inDialog([](TNastaveniDnuUTypuDne *, const Controls &c) {
            click(c.odstran);   // nothing selected
            QCOMPARE(c.dny->count(), 5);
            selectLines(c.dny, {0, 2, 3});
            click(c.odstran);
            QCOMPARE(lines(c.dny), (QStringList{"10 Jun 2025", "1 Jul 2025"}));
            QVERIFY(selectedLines(c.dny).isEmpty());
            click(c.ok);
        });
        // 10 June stays with day type 2 as well.
        QCOMPARE(storedDates(), (QStringList{"1|2025-06-10", "1|2025-07-01", "2|2025-06-07", "2|2025-06-10"}));
    }

    void closingWithoutOkWritesNothing_data() { addClosingRows(); }
    void closingWithoutOkWritesNothing()
    {
        QFETCH(QString, how);
        const QStringList before = storedDates();
        inDialog([&](TNastaveniDnuUTypuDne *d, const Controls &c) {
            addDays(c, {5}, QDate(2025, 6, 1), QDate(2025, 6, 30));
            selectLines(c.dny, {0});
            click(c.odstran);
            QCOMPARE(c.dny->count(), 5);
            closeWithoutOk(d, c.storno, how);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedDates(), before);
    }

    void theCheckMarksStayAndThePeriodStartsToday()
    {
        inDialog([](TNastaveniDnuUTypuDne *, const Controls &c) {
            QCOMPARE(checked(c.tydny), QStringList());
            QCOMPARE(c.od->date(), QDate::currentDate());
            addDays(c, {1, 5}, QDate(2020, 1, 1), QDate(2020, 1, 2));
            click(c.storno);
        });
        // Opened for another type: its own dates, the marks as they were left.
        inDialog(
            [](TNastaveniDnuUTypuDne *, const Controls &c) {
                QCOMPARE(lines(c.dny), (QStringList{"7 Jun 2025", "10 Jun 2025"}));
                QCOMPARE(checked(c.tydny), (QStringList{"Úterý", "Sobota"}));
                QCOMPARE(c.od->date(), QDate::currentDate());
                QCOMPARE(c.doKdy->date(), QDate::currentDate());
            },
            2);
    }

    void aFailedSaveKeepsTheDialogAndTheTable()
    {
        TestDatabase::exec("SET SESSION lock_wait_timeout = 1");
        auto other = TestDatabase::openAnother();
        TMojeQuery q(*other);
        const QStringList before = storedDates();
        inDialog([&](TNastaveniDnuUTypuDne *d, const Controls &c) {
            addDays(c, {6}, QDate(2025, 6, 8), QDate(2025, 6, 8));
            q.exec("LOCK TABLES kalendar_typy_dnu_tab WRITE");
            click(c.ok);
            q.exec("UNLOCK TABLES");   // before any check can end the test
            QVERIFY(d->isVisible());
            QCOMPARE(lines(c.dny), (QStringList{"3 Jun 2025", "8 Jun 2025", "10 Jun 2025"}));
            verifyLockTimeoutShown("Nepodařilo se uložit dny typu dne.");
            QCOMPARE(storedDates(), before);
            click(c.ok);
            QVERIFY(!d->isVisible());
        });
        TestDatabase::exec("SET SESSION lock_wait_timeout = DEFAULT");
        QCOMPARE(storedDates(),
                 (QStringList{"1|2025-06-03", "1|2025-06-08", "1|2025-06-10", "2|2025-06-07", "2|2025-06-10"}));
    }

    void aTypeRemovedMeanwhileIsAConflict()
    {
        auto other = TestDatabase::openAnother();
        inModal([&] { m_dialog->OtevriProTyp(1, "Všední"); }, &find,
                [&](TNastaveniDnuUTypuDne *d, const Controls &c) {
                    addDays(c, {6}, QDate(2025, 6, 8), QDate(2025, 6, 8));
                    selectLines(c.dny, {0});
                    click(c.odstran);
                    TMojeQuery q(*other);
                    q.exec("DELETE FROM kalendar_typy_dnu_tab WHERE typ_dne_id = 1 AND datum = '2025-06-10'");
                    q.exec("DELETE FROM typy_dnu_tab WHERE typ_dne_id = 1");
                    click(c.ok);
                    QVERIFY(d->isVisible());
                    QCOMPARE(messages().size(), 1);
                    QVERIFY2(messages()[0].startsWith("Nepodařilo se uložit dny typu dne.\n"
                                                      "Typ dne „Všední“ mezitím odstranila jiná recepce.\n"),
                             qPrintable(messages()[0]));
                    // Reloaded: the other desk's removal shows, this opening's changes stay.
                    QCOMPARE(lines(c.dny), QStringList{"8 Jun 2025"});
                    click(c.storno);
                });
        QCOMPARE(storedDates(), (QStringList{"1|2025-06-03", "2|2025-06-07", "2|2025-06-10"}));
    }

    void linesNameTheirCentury_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("Czech dd.MM.yy") << QLocale(QLocale::Czech, QLocale::Czechia)
                                        << QStringList{"31.12.1999", "03.06.2025", "10.06.2025", "31.12.2099"};
        QTest::newRow("US M/d/yy") << QLocale(QLocale::English, QLocale::UnitedStates)
                                   << QStringList{"12/31/1999", "6/3/2025", "6/10/2025", "12/31/2099"};
    }
    void linesNameTheirCentury()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, listed);
        QLocale::setDefault(locale);
        m_dialog = std::make_unique<TNastaveniDnuUTypuDne>();
        // Both read "31.12.99" in the Czech short date format.
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('1999-12-31', 1), ('2099-12-31', 1)");
        inDialog([&](TNastaveniDnuUTypuDne *, const Controls &c) {
            QCOMPARE(lines(c.dny), listed);
            selectLines(c.dny, {1, 3});
            click(c.odstran);
            QCOMPARE(lines(c.dny), (QStringList{listed[0], listed[2]}));
            click(c.ok);
        });
        QCOMPARE(storedDates(), (QStringList{"1|1999-12-31", "1|2025-06-10", "2|2025-06-07", "2|2025-06-10"}));
    }

    void addingATypedPeriod_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("odKeys");
        QTest::addColumn<QStringList>("doKeys");
        QTest::addColumn<QDate>("od");
        QTest::addColumn<QDate>("doKdy");
        QTest::addColumn<QStringList>("shown");
        const QLocale cs(QLocale::Czech, QLocale::Czechia);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QDate today = QDate::currentDate();
        const auto thisMonth = [&](int day) { return QDate(today.year(), today.month(), day); };
        const auto czech = [&](const QDate &d) { return cs.toString(d, "dd.MM.yyyy"); };
        const auto us = [&](const QDate &d) { return en.toString(d, "M/d/yyyy"); };
        QTest::newRow("cs, day, Tab, month, Tab, year")
            << cs << QStringList{"12", "Tab", "04", "Tab", "2027"} << QStringList{"25", "Tab", "04", "Tab", "2027"}
            << QDate(2027, 4, 12) << QDate(2027, 4, 25) << QStringList{"12.04.2027", "25.04.2027"};
        QTest::newRow("cs, the day alone")
            << cs << QStringList{"11"} << QStringList{"15"} << thisMonth(11) << thisMonth(15)
            << QStringList{czech(thisMonth(11)), czech(thisMonth(15))};
        QTest::newRow("cs, with separators")
            << cs << QStringList{"1.2.2030"} << QStringList{"03.02.2030"} << QDate(2030, 2, 1) << QDate(2030, 2, 3)
            << QStringList{"01.02.2030", "03.02.2030"};
        QTest::newRow("cs, digits only, across a year end")
            << cs << QStringList{"30122029"} << QStringList{"02012030"} << QDate(2029, 12, 30) << QDate(2030, 1, 2)
            << QStringList{"30.12.2029", "02.01.2030"};
        QTest::newRow("cs, typed, then the arrows")
            << cs << QStringList{"3", "Up", "Up"} << QStringList{"28", "Backtab", "Down"} << thisMonth(5)
            << thisMonth(27) << QStringList{czech(thisMonth(5)), czech(thisMonth(27))};
        QTest::newRow("en, month, Tab, day, Tab, year")
            << en << QStringList{"4", "Tab", "12", "Tab", "2027"} << QStringList{"4", "Tab", "25", "Tab", "2027"}
            << QDate(2027, 4, 12) << QDate(2027, 4, 25) << QStringList{"4/12/2027", "4/25/2027"};
        QTest::newRow("en, with separators")
            << en << QStringList{"12/30/2029"} << QStringList{"1/2/2030"} << QDate(2029, 12, 30) << QDate(2030, 1, 2)
            << QStringList{"12/30/2029", "1/2/2030"};
        QTest::newRow("en, the day alone")
            << en << QStringList{"Tab", "11"} << QStringList{"Tab", "15"} << thisMonth(11) << thisMonth(15)
            << QStringList{us(thisMonth(11)), us(thisMonth(15))};
    }
    void addingATypedPeriod()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, odKeys);
        QFETCH(QStringList, doKeys);
        QFETCH(QDate, od);
        QFETCH(QDate, doKdy);
        QFETCH(QStringList, shown);
        QLocale::setDefault(locale);
        m_dialog = std::make_unique<TNastaveniDnuUTypuDne>();
        QStringList expected{"1|2025-06-03", "1|2025-06-10"};
        for (QDate d = od; d <= doKdy; d = d.addDays(1))
            expected << "1|" + d.toString(Qt::ISODate);
        expected << "2|2025-06-07" << "2|2025-06-10";
        inDialog([&](TNastaveniDnuUTypuDne *, const Controls &c) {
            for (int i = 0; i < c.tydny->count(); ++i)
                c.tydny->item(i)->setCheckState(Qt::Checked);
            typeDate(c.od, odKeys);
            typeDate(c.doKdy, doKeys);
            QCOMPARE(c.od->date(), od);
            QCOMPARE(c.doKdy->date(), doKdy);
            QCOMPARE((QStringList{editedText(c.od), editedText(c.doKdy)}), shown);
            verifyLongDate(c.od, od);
            verifyLongDate(c.doKdy, doKdy);
            click(c.pridej);
            QCOMPARE(c.dny->count(), int(od.daysTo(doKdy)) + 3);
            click(c.ok);
        });
        QCOMPARE(messages(), QStringList());
        QCOMPARE(storedDates(), expected);
    }

    void theInputsAndCheckMarksAreSeenByAssistiveTechnology()
    {
        inDialog([](TNastaveniDnuUTypuDne *, const Controls &c) {
            QStringList names;
            for (QWidget *input : std::initializer_list<QWidget *>{c.dny, c.tydny, c.od, c.doKdy})
                names << QAccessible::queryAccessibleInterface(input)->text(QAccessible::Name);
            QCOMPARE(names, (QStringList{"Typ dne se vztahuje na tyto dny", "Přidej tyto dny", "Od:", "Do:"}));
            QAccessibleInterface *list = QAccessible::queryAccessibleInterface(c.tydny);
            QVERIFY(list);
            QCOMPARE(list->childCount(), 7);
            // Saturday checked with the keyboard.
            c.tydny->setFocus(Qt::TabFocusReason);
            c.tydny->setCurrentRow(5);
            QTest::keyClick(c.tydny, Qt::Key_Space);
            QCOMPARE(checked(c.tydny), QStringList{"Sobota"});
            for (int i = 0; i < 7; ++i) {
                QAccessibleInterface *item = list->child(i);
                QCOMPARE(item->text(QAccessible::Name), c.tydny->item(i)->text());
                QVERIFY(item->state().checkable);
                QCOMPARE(bool(item->state().checked), i == 5);
            }
            click(c.storno);
        });
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestNastaveniDnu test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_nastaveni_dnu.moc"
