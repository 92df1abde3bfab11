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

/** Checks exactly these weekdays (Monday 0) and adds the period. */
void addDays(QWidget *d, const QList<int> &weekdays, const QDate &od, const QDate &doKdy)
{
    auto *tydny = control<QListWidget>(d, "PridejDnyCheckListBox");
    for (int i = 0; i < tydny->count(); ++i)
        tydny->item(i)->setCheckState(weekdays.contains(i) ? Qt::Checked : Qt::Unchecked);
    control<QDateEdit>(d, "OdDateTimePicker")->setDate(od);
    control<QDateEdit>(d, "DoDateTimePicker")->setDate(doKdy);
    click(control<QPushButton>(d, "PridejDnyButton"));
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

    void inDialog(const std::function<void(TNastaveniDnuUTypuDne *)> &act, int typDneId = 1)
    {
        inModal<TNastaveniDnuUTypuDne>([&] { m_dialog->OtevriProTyp(typDneId); }, act);
    }

private slots:
    void initTestCase()
    {
        setUpDatabase();
        QLocale::setDefault(QLocale::c());   // list lines "d MMM yyyy"
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
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
        inDialog([&](TNastaveniDnuUTypuDne *d) {
            auto *dny = control<QListWidget>(d, "VypisDniListBox");
            QCOMPARE(lines(dny), (QStringList{"3 Jun 2025", "10 Jun 2025"}));
            addDays(d, weekdays, od, doKdy);
            QCOMPARE(lines(dny), listed);
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedDates(), expected);
        QCOMPARE(messages(), QStringList());
    }

    void aStartAfterTheEndAddsNothing()
    {
        inDialog([](TNastaveniDnuUTypuDne *d) {
            addDays(d, {0, 1, 2, 3, 4, 5, 6}, QDate(2025, 6, 9), QDate(2025, 6, 8));
            QCOMPARE(messages(), QStringList{"Počáteční datum musí být menší než koncové|Chyba"});
            QVERIFY(d->isVisible());
            QCOMPARE(lines(control<QListWidget>(d, "VypisDniListBox")), (QStringList{"3 Jun 2025", "10 Jun 2025"}));
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedDates(), (QStringList{"1|2025-06-03", "1|2025-06-10", "2|2025-06-07", "2|2025-06-10"}));
    }

    void removingSelectedDates()
    {
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-06-17', 1), ('2025-06-24', 1), "
                           "('2025-07-01', 1)");
        inDialog([](TNastaveniDnuUTypuDne *d) {
            auto *dny = control<QListWidget>(d, "VypisDniListBox");
            click(control<QPushButton>(d, "OdstranVybraneDnyButton"));   // nothing selected
            QCOMPARE(dny->count(), 5);
            selectLines(dny, {0, 2, 3});
            click(control<QPushButton>(d, "OdstranVybraneDnyButton"));
            QCOMPARE(lines(dny), (QStringList{"10 Jun 2025", "1 Jul 2025"}));
            QVERIFY(selectedLines(dny).isEmpty());
            click(control<QPushButton>(d, "OKButton"));
        });
        // 10 June stays with day type 2 as well.
        QCOMPARE(storedDates(), (QStringList{"1|2025-06-10", "1|2025-07-01", "2|2025-06-07", "2|2025-06-10"}));
    }

    void theCheckMarksStayAndThePeriodStartsToday()
    {
        inDialog([](TNastaveniDnuUTypuDne *d) {
            QCOMPARE(checked(control<QListWidget>(d, "PridejDnyCheckListBox")), QStringList());
            QCOMPARE(control<QDateEdit>(d, "OdDateTimePicker")->date(), QDate::currentDate());
            addDays(d, {1, 5}, QDate(2020, 1, 1), QDate(2020, 1, 2));
            click(control<QPushButton>(d, "StornoButton"));
        });
        // Opened for another type: its own dates, the marks as they were left.
        inDialog(
            [](TNastaveniDnuUTypuDne *d) {
                QCOMPARE(lines(control<QListWidget>(d, "VypisDniListBox")), (QStringList{"7 Jun 2025", "10 Jun 2025"}));
                QCOMPARE(checked(control<QListWidget>(d, "PridejDnyCheckListBox")), (QStringList{"Úterý", "Sobota"}));
                QCOMPARE(control<QDateEdit>(d, "OdDateTimePicker")->date(), QDate::currentDate());
                QCOMPARE(control<QDateEdit>(d, "DoDateTimePicker")->date(), QDate::currentDate());
            },
            2);
    }

    void aTypeRemovedMeanwhileIsAConflict()
    {
        auto other = TestDatabase::openAnother();
        inModal<TNastaveniDnuUTypuDne>([&] { m_dialog->OtevriProTyp(1, "Všední"); },
                [&](TNastaveniDnuUTypuDne *d) {
                    auto *dny = control<QListWidget>(d, "VypisDniListBox");
                    addDays(d, {6}, QDate(2025, 6, 8), QDate(2025, 6, 8));
                    selectLines(dny, {0});
                    click(control<QPushButton>(d, "OdstranVybraneDnyButton"));
                    TMojeQuery q(*other);
                    q.exec("DELETE FROM kalendar_typy_dnu_tab WHERE typ_dne_id = 1 AND datum = '2025-06-10'");
                    q.exec("DELETE FROM typy_dnu_tab WHERE typ_dne_id = 1");
                    click(control<QPushButton>(d, "OKButton"));
                    QVERIFY(d->isVisible());
                    QCOMPARE(messages().size(), 1);
                    QVERIFY2(messages()[0].startsWith("Nepodařilo se uložit dny typu dne.\n"
                                                      "Typ dne „Všední“ mezitím odstranila jiná recepce.\n"),
                             qPrintable(messages()[0]));
                    // Reloaded: the other desk's removal shows, this opening's changes stay.
                    QCOMPARE(lines(dny), QStringList{"8 Jun 2025"});
                    click(control<QPushButton>(d, "StornoButton"));
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
        inDialog([&](TNastaveniDnuUTypuDne *d) {
            auto *dny = control<QListWidget>(d, "VypisDniListBox");
            QCOMPARE(lines(dny), listed);
            selectLines(dny, {1, 3});
            click(control<QPushButton>(d, "OdstranVybraneDnyButton"));
            QCOMPARE(lines(dny), (QStringList{listed[0], listed[2]}));
            click(control<QPushButton>(d, "OKButton"));
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
        inDialog([&](TNastaveniDnuUTypuDne *d) {
            auto *tydny = control<QListWidget>(d, "PridejDnyCheckListBox");
            for (int i = 0; i < tydny->count(); ++i)
                tydny->item(i)->setCheckState(Qt::Checked);
            auto *odEdit = control<QDateEdit>(d, "OdDateTimePicker");
            auto *doEdit = control<QDateEdit>(d, "DoDateTimePicker");
            typeDate(odEdit, odKeys);
            typeDate(doEdit, doKeys);
            QCOMPARE(odEdit->date(), od);
            QCOMPARE(doEdit->date(), doKdy);
            QCOMPARE((QStringList{editedText(odEdit), editedText(doEdit)}), shown);
            verifyLongDate(odEdit, od);
            verifyLongDate(doEdit, doKdy);
            click(control<QPushButton>(d, "PridejDnyButton"));
            QCOMPARE(control<QListWidget>(d, "VypisDniListBox")->count(), int(od.daysTo(doKdy)) + 3);
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(messages(), QStringList());
        QCOMPARE(storedDates(), expected);
    }

    void theInputsAndCheckMarksAreSeenByAssistiveTechnology()
    {
        inDialog([](TNastaveniDnuUTypuDne *d) {
            auto *tydny = control<QListWidget>(d, "PridejDnyCheckListBox");
            QStringList names;
            for (const char *input :
                 {"VypisDniListBox", "PridejDnyCheckListBox", "OdDateTimePicker", "DoDateTimePicker"})
                names << QAccessible::queryAccessibleInterface(control<QWidget>(d, input))->text(QAccessible::Name);
            QCOMPARE(names, (QStringList{"Typ dne se vztahuje na tyto dny", "Přidej tyto dny", "Od:", "Do:"}));
            QAccessibleInterface *list = QAccessible::queryAccessibleInterface(tydny);
            QVERIFY(list);
            QCOMPARE(list->childCount(), 7);
            // Saturday checked with the keyboard.
            tydny->setFocus(Qt::TabFocusReason);
            tydny->setCurrentRow(5);
            QTest::keyClick(tydny, Qt::Key_Space);
            QCOMPARE(checked(tydny), QStringList{"Sobota"});
            for (int i = 0; i < 7; ++i) {
                QAccessibleInterface *item = list->child(i);
                QCOMPARE(item->text(QAccessible::Name), tydny->item(i)->text());
                QVERIFY(item->state().checkable);
                QCOMPARE(bool(item->state().checked), i == 5);
            }
            click(control<QPushButton>(d, "StornoButton"));
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
