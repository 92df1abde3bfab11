// The price dialog, offscreen against the real server: every combination of
// the room types it was opened for with the chosen day and client types
// (chosen by line, names may repeat), rounds that overlap, the price text
// and why it is refused, what OK writes and what Storno and the title-bar
// close leave, a failed save, a save refused because another desk changed
// a price meanwhile, and the table of current prices beside the lists.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TDefinovaniCen.h"
#include "app/VitranaApplication.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

using namespace GuiTest;

namespace {
// Room type, client type, day type, price.
QStringList storedPrices()
{
    return TestDatabase::rows("SELECT * FROM ceny_pokoje_tab ORDER BY typ_pokoje_id, typ_klienta_id, typ_dne_id");
}

// Room types 1 to 3; day types A 1, B 2, X 3; client types C 1, D 2.
const QStringList pricesBefore{"1|1|1|500", "1|2|1|800", "2|1|1|500", "2|1|3|900", "3|1|1|700"};

/** The price table as shown: a header line, then one line per day type. */
QStringList shown(const QTableWidget *t)
{
    QStringList header{QString()};
    for (int c = 0; c < t->columnCount(); ++c)
        header << t->horizontalHeaderItem(c)->text();
    QStringList out{header.join(u'|')};
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList line{t->verticalHeaderItem(r)->text()};
        for (int c = 0; c < t->columnCount(); ++c)
            line << (t->item(r, c) ? t->item(r, c)->text() : QStringLiteral("?"));
        out << line.join(u'|');
    }
    return out;
}

/** Columns, captions and prices of the table that do not show whole. */
QStringList cutOff(QTableWidget *t)
{
    QStringList out;
    QHeaderView *h = t->horizontalHeader();
    const int margin = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    for (int c = 0; c < t->columnCount(); ++c) {
        const QString caption = t->horizontalHeaderItem(c)->text();
        const int left = h->sectionViewportPosition(c);
        if (left < 0 || left + h->sectionSize(c) > h->viewport()->width())
            out << caption + ": out of view";
        const QRect text = h->fontMetrics().boundingRect(QRect(0, 0, h->sectionSize(c) - margin, 100000),
                                                         Qt::TextWordWrap, caption);
        if (text.width() > h->sectionSize(c) - margin || text.height() > h->height())
            out << caption + ": caption cut";
        if (static_cast<QAbstractItemView *>(t)->sizeHintForColumn(c) > t->columnWidth(c))
            out << caption + ": prices cut";
    }
    return out;
}

void set(QWidget *d, const QList<int> &dny, const QList<int> &klienti, const QString &cena, bool enter)
{
    selectLines(control<QListWidget>(d, "TypyDniListBox"), dny);
    selectLines(control<QListWidget>(d, "TypyKlientuListBox"), klienti);
    auto *edit = control<QLineEdit>(d, "CenaEdit");
    type(edit, cena);
    if (enter)
        pressEnter(edit);
    else
        click(control<QPushButton>(d, "NastavCenuButton"));
}
} // namespace

class TestDefinovaniCen : public QObject
{
    Q_OBJECT

    std::unique_ptr<TDefinovaniCen> m_dialog;

    void inDialog(const QList<int> &typyPokoju, const std::function<void(TDefinovaniCen *)> &act)
    {
        inModal<TDefinovaniCen>([&] { m_dialog->ukaz(typyPokoju); }, act);
    }

private slots:
    void initTestCase()
    {
        setUpDatabase();
        QLocale::setDefault(QLocale("cs_CZ"));   // the hotel's desk
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'A'), (2, 'B'), (3, 'X')");
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'C'), (2, 'D')");
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2), "
                           "(3, 'Apartmá', 4)");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 500), (1, 2, 1, 800), (2, 1, 1, 500), "
                           "(2, 1, 3, 900), (3, 1, 1, 700)");
        m_dialog = std::make_unique<TDefinovaniCen>();
    }
    void cleanup() { m_dialog.reset(); }

    void everyCombinationThenAnOverlappingRound_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::newRow("Nastav") << false;
        QTest::newRow("Enter in the price box") << true;
    }
    void everyCombinationThenAnOverlappingRound()
    {
        QFETCH(bool, enter);
        inDialog({1, 2}, [&](TDefinovaniCen *d) {
            auto *dny = control<QListWidget>(d, "TypyDniListBox");
            auto *klienti = control<QListWidget>(d, "TypyKlientuListBox");
            auto *tabulka = control<QTableWidget>(d, "SoucasneCenyTableWidget");
            QCOMPARE(d->windowTitle(), QStringLiteral("DefinovaniCen"));
            QCOMPARE(lines(dny), (QStringList{"A", "B", "X"}));
            QCOMPARE(lines(klienti), (QStringList{"C", "D"}));
            QVERIFY(selectedLines(dny).isEmpty() && selectedLines(klienti).isEmpty());
            // Room type 2 has no price for (A, D), so the two differ there.
            QCOMPARE(shown(tabulka), (QStringList{"|C|D", "A|500|různé", "B||", "X|různé|"}));

            set(d, {0, 1}, {0}, "1200", enter);
            QVERIFY(d->isVisible());
            QCOMPARE(shown(tabulka), (QStringList{"|C|D", "A|1200|různé", "B|1200|", "X|různé|"}));
            set(d, {1}, {0, 1}, "1300,5", enter);
            QCOMPARE(shown(tabulka), (QStringList{"|C|D", "A|1200|různé", "B|1300,5|1300,5", "X|různé|"}));
            QCOMPARE(selectedLines(klienti), (QStringList{"C", "D"}));   // the choice stays
            QCOMPARE(control<QLineEdit>(d, "CenaEdit")->text(), QStringLiteral("1300,5"));
            QCOMPARE(storedPrices(), pricesBefore);   // nothing written before OK
            QCOMPARE(messages(), QStringList());
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedPrices(), (QStringList{"1|1|1|1200", "1|1|2|1300.5", "1|2|1|800", "1|2|2|1300.5",
                                              "2|1|1|1200", "2|1|2|1300.5", "2|1|3|900", "2|2|2|1300.5",
                                              "3|1|1|700"}));
    }

    void priceText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");    // the new price of (1, C, A); empty: refused
        QTest::addColumn<QString>("message");   // the error box's text
        QTest::newRow("comma") << "1200,50" << "1200.5" << "";
        QTest::newRow("point") << "1200.50" << "1200.5" << "";
        QTest::newRow("thousands with a no-break space") << "12\u00A0000" << "12000" << "";
        QTest::newRow("empty") << "" << "" << "Pole cena neobsahuje platné číslo.";
        QTest::newRow("with the currency") << "1200 Kč" << "" << "Pole cena neobsahuje platné číslo.";
        QTest::newRow("thousands or a decimal?")
            << "1.200" << ""
            << "Cena „1.200“ není jednoznačná: tisíce pište s mezerou (1 200), desetinná místa nejvýše dvě (1200,50).";
    }
    void priceText()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        inDialog({1}, [&](TDefinovaniCen *d) {
            auto *tabulka = control<QTableWidget>(d, "SoucasneCenyTableWidget");
            const QStringList before = shown(tabulka);
            control<QLineEdit>(d, "CenaEdit")->setText(text);   // keyClicks types ASCII only
            selectLines(control<QListWidget>(d, "TypyDniListBox"), {0});
            selectLines(control<QListWidget>(d, "TypyKlientuListBox"), {0});
            click(control<QPushButton>(d, "NastavCenuButton"));
            if (stored.isEmpty()) {
                QCOMPARE(messages(), QStringList{message + "|Chyba"});
                QCOMPARE(shown(tabulka), before);
            } else {
                QCOMPARE(messages(), QStringList());
            }
            click(control<QPushButton>(d, "OKButton"));
        });
        QStringList expected = pricesBefore;
        if (!stored.isEmpty())
            expected[0] = "1|1|1|" + stored;
        QCOMPARE(storedPrices(), expected);
    }

    void typesOfTheSameNameAreToldApartByLine()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (4, 'A')");
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (3, 'C')");
        inDialog({3}, [&](TDefinovaniCen *d) {
            QCOMPARE(lines(control<QListWidget>(d, "TypyDniListBox")), (QStringList{"A", "B", "X", "A"}));
            QCOMPARE(lines(control<QListWidget>(d, "TypyKlientuListBox")), (QStringList{"C", "D", "C"}));
            set(d, {3}, {2}, "640", false);
            click(control<QPushButton>(d, "OKButton"));
        });
        QCOMPARE(storedPrices(), pricesBefore + QStringList{"3|3|4|640"});
    }

    void changedMeanwhileRefusesTheSave_data()
    {
        QTest::addColumn<QList<int>>("typyPokoju");
        QTest::addColumn<QString>("jinaRecepce");
        QTest::addColumn<QString>("veta");
        QTest::addColumn<QStringList>("shownAfter");   // the reloaded dialog
        QTest::addColumn<QStringList>("storedAfter");  // after OK once more
        QTest::newRow("a price set here")
            << QList<int>{1}
            << "UPDATE ceny_pokoje_tab SET cena = 600 WHERE typ_pokoje_id = 1 AND typ_klienta_id = 1 AND typ_dne_id = 1"
            << "Cenu typu pokoje „Jednolůžkový“ pro typ dne „A“ a typ klienta „C“ mezitím změnila jiná recepce."
            << QStringList{"|C|D", "A|600|850", "B|1200|", "X||"}
            << QStringList{"1|1|1|600", "1|1|2|1200", "1|2|1|850", "2|1|1|500", "2|1|3|900", "3|1|1|700"};
        QTest::newRow("a room type priced here")
            << QList<int>{1, 2} << "DELETE FROM typy_pokoju_tab WHERE typ_pokoje_id = 2"
            << "Typ pokoje „Dvoulůžkový“ mezitím odstranila jiná recepce."
            << QStringList{"|C|D", "A|1200|850", "B|1200|", "X||"}
            << QStringList{"1|1|1|1200", "1|1|2|1200", "1|2|1|850", "2|1|1|500", "2|1|3|900", "3|1|1|700"};
    }
    void changedMeanwhileRefusesTheSave()
    {
        QFETCH(QList<int>, typyPokoju);
        QFETCH(QString, jinaRecepce);
        QFETCH(QString, veta);
        QFETCH(QStringList, shownAfter);
        QFETCH(QStringList, storedAfter);
        inDialog(typyPokoju, [&](TDefinovaniCen *d) {
            set(d, {0, 1}, {0}, "1200", false);
            set(d, {0}, {1}, "850", false);
            auto other = TestDatabase::openAnother();
            TMojeQuery(*other).exec(jinaRecepce);
            const QStringList before = storedPrices();
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            QCOMPARE(MessageBox::history().size(), 1);
            QVERIFY2(MessageBox::history()[0].text.startsWith("Nepodařilo se uložit ceny.\n" + veta),
                     qPrintable(MessageBox::history()[0].text));
            QCOMPARE(storedPrices(), before);
            // Reloaded: what the other desk changed shows, the rest set here is still set.
            QCOMPARE(shown(control<QTableWidget>(d, "SoucasneCenyTableWidget")), shownAfter);
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedPrices(), storedAfter);
    }

    void theTableShowsEveryColumnWhole()
    {
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (3, 'Individuální host'), (4, 'Stálý host s poznámkou'), "
                           "(5, 'Host z webu')");
        inDialog({1, 3}, [&](TDefinovaniCen *d) {
            auto *tabulka = control<QTableWidget>(d, "SoucasneCenyTableWidget");
            QCOMPARE(d->size(), QSize(720, 302));   // as designed
            set(d, {0}, {2, 3, 4}, "12345,50", true);
            QTRY_VERIFY2(cutOff(tabulka).isEmpty(), qPrintable(cutOff(tabulka).join(u'\n')));
            QCOMPARE(tabulka->horizontalScrollBar()->maximum(), 0);
        });
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestDefinovaniCen test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_definovani_cen.moc"
