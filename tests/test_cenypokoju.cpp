// The price table: one price per triple, the price text as a Czech
// administrator writes it, a save that writes only the slots set, in key
// order and all or nothing, against the server.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/SqlCenyPokoju.h"
#include "model/CenyPokoju.h"

#include <QtTest>

namespace {
QStringList prices()
{
    return TestDatabase::rows("SELECT typ_pokoje_id, typ_klienta_id, typ_dne_id, cena FROM ceny_pokoje_tab "
                              "ORDER BY typ_pokoje_id, typ_klienta_id, typ_dne_id, cena");
}

// Each line: room type, client type, day type, price.
QStringList held(const CenyPokoju &c)
{
    QStringList l;
    for (const CenaPokoje &p : c.prvky())
        l << QString("%1|%2|%3|%4").arg(p.typ_pokoje_id).arg(p.typ_klienta_id).arg(p.typ_dne_id).arg(p.cena);
    return l;
}
} // namespace

class TestCenyPokoju : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void insertStatement_data()
    {
        QTest::addColumn<double>("cena");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 1500.0 << "1500";
        QTest::newRow("half") << 1250.5 << "1250.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative") << -99.99 << "-99.99";
        QTest::newRow("two decimals") << 1200.55 << "1200.55";
        QTest::newRow("the column's largest") << 9999999999999.99 << "9999999999999.99";
    }

    void insertStatement()
    {
        QFETCH(double, cena);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale("cs_CZ"));   // a decimal comma must not leak in
        const QString sql = SqlCenyPokoju::insertPrice(1, 2, 3, cena);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(sql, "INSERT INTO ceny_pokoje_tab SET typ_pokoje_id = \"1\", typ_klienta_id = \"2\", "
                      "typ_dne_id = \"3\", cena = \"" + expected + "\"");
    }

    void priceText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("cena");     // NaN: refused
        QTest::addColumn<QString>("duvod");   // the start of the reason given
        const double no = qQNaN();
        const QString neplatne = "Pole cena neobsahuje platné číslo.";
        const QString nejasne = "Cena „%1“ není jednoznačná: tisíce pište s mezerou (1 200)";
        QTest::newRow("whole") << "1200" << 1200.0 << "";
        QTest::newRow("blank between thousands") << "1 200" << 1200.0 << "";
        QTest::newRow("thousands and a decimal") << "1 200,5" << 1200.5 << "";
        QTest::newRow("two decimals") << "1200,55" << 1200.55 << "";
        QTest::newRow("decimal point") << "1200.50" << 1200.5 << "";
        QTest::newRow("no-break space") << "12\u00A0345\u00A0678,9" << 12345678.9 << "";
        QTest::newRow("narrow no-break space") << "1\u202F000" << 1000.0 << "";
        QTest::newRow("blanks around") << " 99,9\u00A0" << 99.9 << "";
        QTest::newRow("zero") << "0" << 0.0 << "";
        QTest::newRow("largest") << "9 999 999 999 999,99" << 9999999999999.99 << "";
        QTest::newRow("point before three digits") << "1.200" << no << nejasne.arg("1.200");
        QTest::newRow("points between thousands") << "1.200.000" << no << nejasne.arg("1.200.000");
        QTest::newRow("point thousands, comma decimals") << "1.200,50" << no << nejasne.arg("1.200,50");
        QTest::newRow("three decimals") << "1200,555" << no << "Cena „1200,555“ má víc než dvě desetinná místa.";
        QTest::newRow("too large") << "10 000 000 000 000" << no << "Cena „10 000 000 000 000“ je příliš vysoká";
        QTest::newRow("leading zeros do not count") << "00009999999999999,5" << 9999999999999.5 << "";
        QTest::newRow("negative") << "-5" << no << "Cena nesmí být záporná.";
        QTest::newRow("exponent") << "1e20" << no << neplatne;
        QTest::newRow("infinity") << "inf" << no << neplatne;
        QTest::newRow("not a number") << "nan" << no << neplatne;
        QTest::newRow("empty") << "" << no << neplatne;
        QTest::newRow("letters") << "abc" << no << neplatne;
        QTest::newRow("with the currency") << "1200 Kč" << no << neplatne;
        QTest::newRow("group of two") << "12 00" << no << neplatne;
        QTest::newRow("separator first") << ",5" << no << neplatne;
        QTest::newRow("two separators") << "1,2.3" << no << neplatne;
    }

    void priceText()
    {
        QFETCH(QString, text);
        QFETCH(double, cena);
        QFETCH(QString, duvod);
        for (const QLocale &locale : {QLocale::c(), QLocale("cs_CZ"), QLocale("en_US")}) {
            QLocale::setDefault(locale);
            QString why = "stale";
            const std::optional<double> parsed = parsePrice(text, &why);
            QLocale::setDefault(QLocale::c());
            if (qIsNaN(cena)) {
                QVERIFY2(!parsed, qPrintable(locale.name()));
                QVERIFY2(why.startsWith(duvod), qPrintable(why));
            } else {
                QVERIFY2(parsed && *parsed == cena, qPrintable(locale.name()));
                QVERIFY(why.isEmpty());
            }
        }
    }

    void summaryOfRoomTypes_data()
    {
        // Rows: day types 1, 2, 3; columns: client types 1, 2.
        // "-" no price, "*" prices differ (or only some room types have one).
        QTest::addColumn<QList<int>>("roomTypes");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("one type") << QList<int>{1} << QStringList{"1200|900", "1500|-", "-|-"};
        QTest::newRow("the same type twice") << QList<int>{1, 1} << QStringList{"1200|900", "1500|-", "-|-"};
        QTest::newRow("agreeing and differing") << QList<int>{1, 2} << QStringList{"1200|*", "*|-", "-|-"};
        QTest::newRow("one unpriced type") << QList<int>{1, 3} << QStringList{"*|*", "*|-", "-|-"};
        QTest::newRow("only unpriced") << QList<int>{3} << QStringList{"-|-", "-|-", "-|-"};
        QTest::newRow("no room type") << QList<int>{} << QStringList{"-|-", "-|-", "-|-"};
    }

    void summaryOfRoomTypes()
    {
        QFETCH(QList<int>, roomTypes);
        QFETCH(QStringList, cells);
        CenyPokoju c;
        c.NastavCenu(1, 1, 1, 1200);
        c.NastavCenu(1, 2, 1, 900);
        c.NastavCenu(1, 1, 2, 1500);
        c.NastavCenu(2, 1, 1, 1200);
        c.NastavCenu(2, 2, 1, 950);
        c.NastavCenu(4, 1, 3, 100);   // a room type not asked for
        QStringList shown;
        for (const QList<PriceCell> &row : c.summarize(roomTypes, {1, 2, 3}, {1, 2})) {
            QStringList line;
            for (const PriceCell &cell : row)
                line << (cell.kind == PriceCell::Kind::None        ? QString("-")
                         : cell.kind == PriceCell::Kind::Different ? QString("*")
                                                                   : QString::number(cell.cena));
            shown << line.join(u'|');
        }
        QCOMPARE(shown, cells);
    }

    void oneRecordPerTriple()
    {
        CenyPokoju empty;
        QCOMPARE(empty.size(), std::size_t(0));

        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (2, 1, 1, 200)");
        CenyPokoju c;
        QCOMPARE(held(c), (QStringList{"1|1|1|100", "2|1|1|200"}));
        c.NastavCenu(2, 1, 1, 250.5);
        QCOMPARE(c.size(), std::size_t(2));
        c.NastavCenu(2, 1, 2, 300);
        c.NastavCenu(2, 2, 1, 400);
        QCOMPARE(held(c), (QStringList{"1|1|1|100", "2|1|1|250.5", "2|2|1|400", "2|1|2|300"}));

        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id) VALUES (1), (2)");
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'C'), (2, 'D')");
        c.Uloz();
        // The slots set are written once; the one not set stays as stored.
        QCOMPARE(prices(), (QStringList{"1|1|1|100", "2|1|1|250.5", "2|1|2|300", "2|2|1|400"}));
        QCOMPARE(held(CenyPokoju()), held(c));
    }

    void saveInsertsInKeyOrder()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (0, 'Z', 1), (1, 'A', 1)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id) VALUES (1), (2), (3), (9)");
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'A'), (4, 'B'), (5, 'C'), (9, 'D')");
        TestDatabase::exec("CREATE TABLE poradi_vlozeni (n INT AUTO_INCREMENT PRIMARY KEY, radek VARCHAR(50))");
        TestDatabase::exec("CREATE TRIGGER zapis_poradi AFTER INSERT ON ceny_pokoje_tab FOR EACH ROW "
                           "INSERT INTO poradi_vlozeni (radek) VALUES "
                           "(CONCAT(NEW.typ_pokoje_id, ',', NEW.typ_klienta_id, ',', NEW.typ_dne_id))");
        CenyPokoju c;
        c.NastavCenu(1, 5, 2, 10);
        c.NastavCenu(1, 1, 3, 20);
        c.NastavCenu(1, 9, 1, 30);
        c.NastavCenu(0, 9, 9, 40);
        c.NastavCenu(1, 4, 2, 50);
        c.Uloz();
        const QStringList order = TestDatabase::rows("SELECT radek FROM poradi_vlozeni ORDER BY n");
        TestDatabase::exec("DROP TRIGGER zapis_poradi");
        TestDatabase::exec("DROP TABLE poradi_vlozeni");
        QCOMPARE(order, (QStringList{"0,9,9", "1,9,1", "1,4,2", "1,5,2", "1,1,3"}));
    }

    void savingNothingWritesNothing()
    {
        CenyPokoju c;
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (2, 2, 2, 200)");   // another desk's
        c.Uloz();
        QCOMPARE(prices(), QStringList{"2|2|2|200"});
    }

    void failedSaveChangesNothing()
    {
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 100), (1, 1, 2, 200)");
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (5, 'B', 2)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id) VALUES (1)");
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'C')");
        CenyPokoju c;
        c.NastavCenu(1, 1, 1, 150);
        c.NastavCenu(5, 1, 1, 1e20);   // beyond the column's range: the last insert fails
        try {
            c.Uloz();
            QFAIL("a price beyond the column was stored");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::ValueRefused);
        }
        QCOMPARE(prices(), (QStringList{"1|1|1|100", "1|1|2|200"}));
    }
};

QTEST_GUILESS_MAIN(TestCenyPokoju)
#include "test_cenypokoju.moc"
