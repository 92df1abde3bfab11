// The room status window: what it lists for today, statuses set by keys
// and buttons with their history, a second desk's change not overwritten,
// rooms taken out of order (not over booked nights) and back, the print.

#include "GuiTestSupport.h"
#include "Souboj.h"
#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TStavPokoju.h"
#include "model/Historie.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <atomic>

using namespace GuiTest;

namespace {
QString day(int offset)
{
    return QDate::currentDate().addDays(offset).toString(Qt::ISODate);
}

void stay(int cislo, int pokoj, int od, int dO)
{
    TestDatabase::exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (1, %1, '%2', '%3', '%4', %5, 900)")
                           .arg(cislo).arg(day(-10), day(od), day(dO)).arg(pokoj));
}

QStringList rows(const QTableWidget *t)
{
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells << (t->item(r, c) ? t->item(r, c)->text() : QString());
        out << cells.join(u'|');
    }
    return out;
}

void selectRoom(QTableWidget *t, const QString &cislo)
{
    for (int r = 0; r < t->rowCount(); ++r)
        if (t->item(r, 0)->text() == cislo) {
            t->setFocus();
            t->setCurrentCell(r, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
    QFAIL(qPrintable("no room " + cislo));
}

QStringList statuses()
{
    return TestDatabase::rows("SELECT pokoj_id, stav FROM stav_pokoju_tab ORDER BY pokoj_id");
}
} // namespace

class TestStavPokoju : public QObject
{
    Q_OBJECT

    std::unique_ptr<TStavPokoju> m_dialog;

private slots:
    void initTestCase() { setUpDatabase(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 2), (3, '103', 2), (4, '104', 1), "
                           "(10, '10', 1)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (1, 'Novák')");
        m_dialog = std::make_unique<TStavPokoju>();
    }
    void cleanup() { m_dialog.reset(); }

    void listsToday()
    {
        stay(1, 1, -3, -1);   // its last night was yesterday
        stay(2, 2, -2, 2);    // goes on
        stay(3, 3, 0, 1);     // begins today
        stay(4, 3, -4, -1);   // the guest before, leaving
        TestDatabase::exec("INSERT INTO stav_pokoju_tab VALUES (1, 1), (3, 2)");
        TestDatabase::exec(QStringLiteral("INSERT INTO mimo_provoz_tab VALUES (1, 4, '%1', '%2', 'Oprava sprchy'), "
                                          "(2, 10, '%3', '%3', 'Malování')")
                               .arg(day(-1), day(0), day(1)));
        inModal<TStavPokoju>(*m_dialog, [](TStavPokoju *d) {
            QCOMPARE(rows(control<QTableWidget>(d, "PokojeTable")),
                     (QStringList{"10|Jednolůžkový|Čistý||||", "101|Jednolůžkový|Špinavý|ano|||",
                                  "102|Dvoulůžkový|Čistý||ano||", "103|Dvoulůžkový|Zkontrolovaný|ano||ano|",
                                  "104|Jednolůžkový|Čistý||||Oprava sprchy"}));
            QCOMPARE(lines(control<QListWidget>(d, "MimoProvozListBox")),
                     (QStringList{QStringLiteral("104: %1 – %2, Oprava sprchy")
                                      .arg(Historie::datum(QDate::currentDate().addDays(-1)),
                                           Historie::datum(QDate::currentDate())),
                                  QStringLiteral("10: %1 – %1, Malování")
                                      .arg(Historie::datum(QDate::currentDate().addDays(1)))}));
            QCOMPARE(d->focusWidget(), control<QTableWidget>(d, "PokojeTable"));
        });
    }

    void statusByKeyAndButton_data()
    {
        QTest::addColumn<QString>("akce");
        QTest::addColumn<QString>("stav");
        QTest::addColumn<QString>("historie");
        QTest::newRow("S") << "S" << "1" << "Stav pokoje 102: Čistý → Špinavý";
        QTest::newRow("Z") << "Z" << "2" << "Stav pokoje 102: Čistý → Zkontrolovaný";
        QTest::newRow("C on a clean room changes nothing") << "C" << "" << "";
        QTest::newRow("the dirty button") << "SpinavyButton" << "1" << "Stav pokoje 102: Čistý → Špinavý";
        QTest::newRow("a letter with Ctrl is no status") << "Ctrl+S" << "" << "";
    }
    void statusByKeyAndButton()
    {
        QFETCH(QString, akce);
        QFETCH(QString, stav);
        QFETCH(QString, historie);
        inModal<TStavPokoju>(*m_dialog, [&](TStavPokoju *d) {
            auto *table = control<QTableWidget>(d, "PokojeTable");
            selectRoom(table, "102");
            if (akce.endsWith("Button"))
                click(control<QPushButton>(d, akce));
            else if (akce.startsWith("Ctrl+"))
                QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
            else
                QTest::keyClick(table, akce.at(0).toLatin1());
            QCOMPARE(table->item(table->currentRow(), 0)->text(), QStringLiteral("102"));   // stays chosen
        });
        QCOMPARE(statuses(), stav.isEmpty() ? QStringList() : QStringList{"2|" + stav});
        QCOMPARE(TestDatabase::rows("SELECT popis FROM historie_zmen_tab"),
                 historie.isEmpty() ? QStringList() : QStringList{historie});
        QCOMPARE(messages(), QStringList());
    }

    // Another desk changed the room after this one listed it clean: this
    // desk's "inspected" is refused, the table shows the other's status, and
    // the next key press stores over what it now shows.
    void anotherDeskChangedTheRoom_data()
    {
        QTest::addColumn<int>("jinde");
        QTest::newRow("dirty at the other desk") << 1;
        QTest::newRow("inspected at the other desk") << 2;
    }
    void anotherDeskChangedTheRoom()
    {
        QFETCH(int, jinde);
        inModal<TStavPokoju>(*m_dialog, [&](TStavPokoju *d) {
            auto *table = control<QTableWidget>(d, "PokojeTable");
            selectRoom(table, "101");
            auto other = TestDatabase::openAnother();
            other->makeCurrent();
            StavyPokoju::zmen(1, "101", Uklid::Cisty, uklidZCisla(jinde));
            TestDatabase::db().makeCurrent();

            QTest::keyClick(table, Qt::Key_Z);
            QCOMPARE(messages().size(), 1);
            QVERIFY2(messages()[0].contains("Stav pokoje „101“ mezitím změnila jiná recepce."), qPrintable(messages()[0]));
            QCOMPARE(statuses(), QStringList{QStringLiteral("1|%1").arg(jinde)});
            QCOMPARE(table->item(table->currentRow(), 2)->text(), nazevUklidu(uklidZCisla(jinde)));
            QTest::keyClick(table, Qt::Key_C);
        });
        QCOMPARE(statuses(), QStringList{"1|0"});
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM historie_zmen_tab").toInt(), 2);
    }

    // Both desks listed a room clean and change it at the same moment, round
    // after round (a room a round): one change is stored, the other refused.
    void twoDesksChangingOneRoom()
    {
        constexpr int kola = 60;
        QStringList pokoje;
        for (int kolo = 0; kolo < kola; ++kolo)
            pokoje << QStringLiteral("(%1, '%2', 1)").arg(100 + kolo).arg(500 + kolo);
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES " + pokoje.join(", "));
        std::vector<std::atomic<int>> ulozeno(kola);
        std::atomic<int> odmitnuto = 0;
        const QStringList chyby = souboj(kola, [](int) { return TestDatabase::openAnother(); }, [&](int desk, int kolo) {
            try {
                StavyPokoju::zmen(100 + kolo, QString::number(500 + kolo), Uklid::Cisty,
                                  desk == 0 ? Uklid::Spinavy : Uklid::Zkontrolovany);
                ++ulozeno[kolo];
            } catch (const DatabaseError &e) {
                if (e.kind() != DatabaseError::Kind::Conflict)
                    throw;
                ++odmitnuto;
            }
        });
        TestDatabase::db().makeCurrent();   // desk 0 ran on this thread on a connection of its own
        QCOMPARE(chyby, QStringList());
        for (int kolo = 0; kolo < kola; ++kolo)
            QVERIFY2(ulozeno[kolo] == 1, qPrintable(QStringLiteral("round %1: %2 stored").arg(kolo).arg(ulozeno[kolo])));
        QCOMPARE(odmitnuto.load(), kola);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM historie_zmen_tab").toInt(), kola);
    }

    void outOfOrderNotOverBookedNights()
    {
        stay(12, 2, 2, 4);
        inModal<TStavPokoju>(*m_dialog, [&](TStavPokoju *d) {
            auto *table = control<QTableWidget>(d, "PokojeTable");
            control<QDateEdit>(d, "OdDatePicker")->setDate(QDate::currentDate().addDays(1));
            control<QDateEdit>(d, "DoDatePicker")->setDate(QDate::currentDate().addDays(2));
            selectRoom(table, "102");
            type(control<QLineEdit>(d, "DuvodEdit"), "Malování");
            pressEnter(control<QLineEdit>(d, "DuvodEdit"));
            QCOMPARE(messages().size(), 1);
            QVERIFY2(messages()[0].startsWith(QStringLiteral("Pokoj 102 nelze v těch dnech vyřadit z provozu, má "
                                                             "rezervace:\nč. 12: pokoj 102, %1 – %2, klient Novák")
                                                  .arg(Historie::datum(QDate::currentDate().addDays(2)),
                                                       Historie::datum(QDate::currentDate().addDays(4)))),
                     qPrintable(messages()[0]));
            QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM mimo_provoz_tab").toInt(), 0);

            selectRoom(table, "103");
            click(control<QPushButton>(d, "PridejMimoProvozButton"));
            QCOMPARE(TestDatabase::rows("SELECT pokoj_id, duvod FROM mimo_provoz_tab"), QStringList{"3|Malování"});
            auto *seznam = control<QListWidget>(d, "MimoProvozListBox");
            QCOMPARE(seznam->count(), 1);
            clickLine(seznam, 0);
            click(control<QPushButton>(d, "OdstranMimoProvozButton"));
            QCOMPARE(seznam->count(), 0);
        });
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM mimo_provoz_tab").toInt(), 0);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM historie_zmen_tab").toInt(), 2);
    }

    void printsTheDayOnA4()
    {
        QTemporaryDir dir;
        inModal<TStavPokoju>(*m_dialog, [&](TStavPokoju *d) {
            QVERIFY(d->html().contains(QLocale(QLocale::Czech).toString(QDate::currentDate(), "d. MMMM yyyy")));
            QCOMPARE(d->ulozPdf(dir.filePath("stav.pdf")), 1);
        });
        QFile pdf(dir.filePath("stav.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }
};

QTEST_MAIN(TestStavPokoju)
#include "test_stav_pokoju.moc"
