// Arrivals and departures of a day, offscreen against the real server: which
// stays each list holds (the last night is do_kdy, so a stay leaves the day
// after it), stays whose client or room is gone, the window's sorting and
// day buttons, and its print saved as PDF with the right number of pages.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "app/VitranaApplication.h"
#include "desk/TPrijezdyAOdjezdy.h"
#include "model/PrijezdyAOdjezdy.h"

#include <QDateEdit>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextTable>

using namespace GuiTest;

namespace {
const QDate D(2026, 12, 7);

QString day(int offset)
{
    return D.addDays(offset).toString(u"yyyy-MM-dd");
}

/** A stay row: client, number, first and last night as days from D, room, price. */
QString stay(int klient, int cislo, int od, int doKdy, int pokoj, int cena)
{
    return QStringLiteral("(%1, %2, '2026-11-01', '%3', '%4', %5, %6)")
        .arg(klient)
        .arg(cislo)
        .arg(day(od), day(doKdy))
        .arg(pokoj)
        .arg(cena);
}

QStringList shown(const std::vector<PobytDne> &pobyty, int cislo)
{
    QStringList out;
    for (const PobytDne &p : pobyty)
        if (p.cislo_objednavky == cislo)
            out << QStringLiteral("%1|%2|%3|%4|%5|%6")
                       .arg(p.pokoj_existuje ? p.cislo_pokoje : "?", p.klient_existuje ? p.jmeno : "?",
                            p.typ_klienta, p.telefon)
                       .arg(p.noci())
                       .arg(p.cena);
    return out;
}

QStringList column(const QTableWidget *table, int col)
{
    QStringList out;
    for (int row = 0; row < table->rowCount(); ++row)
        out << table->item(row, col)->text();
    return out;
}

int pdfPages(const QString &file)
{
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = pdf.readAll();
    if (!bytes.startsWith("%PDF"))
        return -1;
    // Page objects, not the page tree (/Pages).
    return int(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}
} // namespace

class TestPrijezdy : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpDatabase(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Běžný'), (2, 'Firma')");
        TestDatabase::insertClients("(1, 1, 'Jan Novák'), (2, 2, 'Stavby s.r.o.')");
        TestDatabase::exec("UPDATE klienti_tab SET telefon = '+420 600 111 222' WHERE klient_id = 1");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '201', 1), "
                           "(4, '202', 1), (5, '9', 1), (6, '10', 1)");
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES " + QStringList{
            stay(1, 10, 0, 2, 1, 3600),     // arrives on D
            stay(2, 11, -3, -1, 2, 2400),   // last night the day before: leaves on D
            stay(1, 12, -2, 0, 3, 1800),    // last night on D: leaves tomorrow
            stay(2, 13, -1, -1, 1, 800),    // one night, the day before
            stay(1, 14, -1, 1, 4, 2700),    // across D
            stay(2, 15, 0, 0, 5, 12000),    // two rooms of one reservation
            stay(2, 15, 0, 0, 6, 1000),
            stay(99, 16, 0, 1, 2, 1500),    // its client deleted
            stay(1, 17, -2, -1, 77, 500),   // its room removed
            stay(1, 18, -5, -2, 3, 900),    // left yesterday
            stay(1, 19, 1, 3, 3, 900),      // arrives tomorrow
        }.join(", "));
    }

    void stayInTheDaysLists_data()
    {
        QTest::addColumn<int>("cislo");
        QTest::addColumn<QStringList>("arrivals");
        QTest::addColumn<QStringList>("departures");
        const QStringList none;
        QTest::newRow("arrives on the day") << 10 << QStringList{"101|Jan Novák|Běžný|+420 600 111 222|3|3600"} << none;
        QTest::newRow("last night the day before") << 11 << none << QStringList{"102|Stavby s.r.o.|Firma||3|2400"};
        QTest::newRow("last night on the day") << 12 << none << none;
        QTest::newRow("one night the day before") << 13 << none << QStringList{"101|Stavby s.r.o.|Firma||1|800"};
        QTest::newRow("across the day") << 14 << none << none;
        QTest::newRow("two rooms") << 15
                                   << QStringList{"9|Stavby s.r.o.|Firma||1|12000", "10|Stavby s.r.o.|Firma||1|1000"}
                                   << none;
        QTest::newRow("client deleted") << 16 << QStringList{"102|?|||2|1500"} << none;
        QTest::newRow("room removed") << 17 << none << QStringList{"?|Jan Novák|Běžný|+420 600 111 222|2|500"};
        QTest::newRow("left the day before") << 18 << none << none;
        QTest::newRow("arrives the day after") << 19 << none << none;
    }
    void stayInTheDaysLists()
    {
        QFETCH(int, cislo);
        QFETCH(QStringList, arrivals);
        QFETCH(QStringList, departures);
        const PrijezdyAOdjezdy seznam = PrijezdyAOdjezdy::Nacti(D);
        QCOMPARE(seznam.den, D);
        QStringList prijezdy = shown(seznam.prijezdy, cislo), odjezdy = shown(seznam.odjezdy, cislo);
        prijezdy.sort();
        odjezdy.sort();
        arrivals.sort();
        departures.sort();
        QCOMPARE(prijezdy, arrivals);
        QCOMPARE(odjezdy, departures);
    }

    void windowSortsAndMovesDays()
    {
        TPrijezdyAOdjezdy dialog;
        inModal<TPrijezdyAOdjezdy>(dialog, [](TPrijezdyAOdjezdy *d) {
            CONTROL(QDateEdit, den, d, "DenDatePicker");
            QCOMPARE(den->date(), QDate::currentDate());
            // The field's long date (read to screen readers) follows the day set on opening.
            QCOMPARE(den->accessibleDescription(), den->locale().toString(QDate::currentDate(), QLocale::LongFormat));
            den->setDate(D);
            CONTROL(QTableWidget, prijezdy, d, "PrijezdyTable");
            CONTROL(QLabel, prijezdyLabel, d, "PrijezdyLabel");
            CONTROL(QLabel, odjezdyLabel, d, "OdjezdyLabel");
            QTRY_COMPARE(prijezdy->rowCount(), 4);
            QCOMPARE(prijezdyLabel->text(), "Příjezdy (4):");
            QCOMPARE(odjezdyLabel->text(), "Odjezdy (3):");
            // Numbers and prices by value, rooms with their numbers in order ("9" before "10").
            prijezdy->sortByColumn(6, Qt::AscendingOrder);
            QCOMPARE(column(prijezdy, 0), (QStringList{"15", "16", "10", "15"}));
            QCOMPARE(column(prijezdy, 6).last(), QStringLiteral("12\u00A0000,00\u00A0Kč"));
            prijezdy->sortByColumn(1, Qt::AscendingOrder);
            QCOMPARE(column(prijezdy, 1), (QStringList{"9", "10", "101", "102"}));
            // Alt+Right is the next day's button, from the day's field too.
            den->setFocus();
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            QTest::keyClick(den, Qt::Key_Right, Qt::AltModifier);
            // The next day: one arrives; those whose last night was D leave (12, both rooms of 15).
            QTRY_COMPARE(prijezdyLabel->text(), "Příjezdy (1):");
            QCOMPARE(odjezdyLabel->text(), "Odjezdy (3):");
            click(control<QPushButton>(d, "DnesButton"));
            QCOMPARE(den->date(), QDate::currentDate());
        });
    }

    void printSavedAsPdf_data()
    {
        QTest::addColumn<int>("extraArrivals");
        QTest::addColumn<bool>("onePage");
        QTest::newRow("short list") << 0 << true;
        QTest::newRow("120 more arrivals") << 120 << false;
    }
    void printSavedAsPdf()
    {
        QFETCH(int, extraArrivals);
        QFETCH(bool, onePage);
        QStringList more;
        for (int i = 0; i < extraArrivals; ++i)
            more << stay(1, 100 + i, 0, 1, 200 + i, 1000 + i);
        if (!more.isEmpty())
            TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES " + more.join(", "));
        QTemporaryDir dir;
        const QString file = dir.filePath("prijezdy.pdf");
        TPrijezdyAOdjezdy dialog;
        inModal<TPrijezdyAOdjezdy>(dialog, [&](TPrijezdyAOdjezdy *d) {
            control<QDateEdit>(d, "DenDatePicker")->setDate(D);
            QTRY_COMPARE(control<QTableWidget>(d, "PrijezdyTable")->rowCount(), 4 + extraArrivals);

            QPrinter printer(QPrinter::HighResolution);
            printer.setPageSize(QPageSize(QPageSize::A4));
            const std::unique_ptr<QTextDocument> doc = d->dokument(printer);
            QVERIFY(doc->toPlainText().contains("Příjezdy a odjezdy – pondělí 7. prosince 2026"));
            // Each table's header repeats on every page.
            const QList<QTextFrame *> frames = doc->rootFrame()->childFrames();
            QCOMPARE(frames.size(), 2);
            for (QTextFrame *frame : frames)
                QCOMPARE(qobject_cast<QTextTable *>(frame)->format().headerRowCount(), 1);

            const int pages = d->ulozPdf(file);
            QCOMPARE(pdfPages(file), pages);
            if (onePage)
                QCOMPARE(pages, 1);
            else
                QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
        });
        QVERIFY(MessageBox::history().isEmpty());
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestPrijezdy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_prijezdy.moc"
