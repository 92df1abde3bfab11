// The day-type calendar dialog, offscreen against the real server: the
// checked weekdays of a period, a start after the end, removing selected
// dates, what OK writes and Storno and the title-bar close leave, a failed
// save, a type removed by another desk meanwhile, the check marks kept
// between openings, and list lines that name their year in full where the
// short date format does not.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TNastaveniDnuUTypuDne.h"
#include "app/VitranaApplication.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

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
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestNastaveniDnu test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_nastaveni_dnu.moc"
