// The stay fee and its book: the fee's rules night by night, the months'
// summary and its CSV bytes, and (against the test server) the book's rows
// checked by a statement of the test's own, printed and saved.

#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "db/TMojeQuery.h"
#include "desk/TEvidencniKniha.h"
#include "model/EvidencniKniha.h"
#include "model/PoplatekZPobytu.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString ztp = QStringLiteral("ZTP/P; průvodce");

Host host(const QString &jmeno, const QDate &narozeni)
{
    Host h;
    h.jmeno = jmeno;
    h.prijmeni = QStringLiteral("Nováková");
    h.datum_narozeni = narozeni;
    return h;
}
} // namespace

class TestEvidencniKniha : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RecepceTest::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }

    void poplatek_data()
    {
        QTest::addColumn<QDate>("od");
        QTest::addColumn<QDate>("posledniNoc");
        QTest::addColumn<QDate>("narozeni");
        QTest::addColumn<QString>("duvodHotelu");
        QTest::addColumn<QList<int>>("placenePoMesicich");
        QTest::addColumn<QString>("duvod");

        const QDate dospely(1980, 5, 12);
        const QString dite = PoplatekZPobytu::duvodMladsi18();
        QTest::newRow("across 31 January: two nights in January, one in February")
            << QDate(2026, 1, 30) << QDate(2026, 2, 1) << dospely << QString() << QList<int>{2, 1} << QString();
        QTest::newRow("one night is one charged day") << QDate(2026, 3, 10) << QDate(2026, 3, 10) << dospely
                                                      << QString() << QList<int>{1} << QString();
        QTest::newRow("a child pays nothing") << QDate(2026, 1, 30) << QDate(2026, 2, 1) << QDate(2015, 7, 1)
                                              << QString() << QList<int>{0, 0} << dite;
        // Nights of 10..13 May stand for the days 11..14; adult from the birthday, 12 May, on.
        QTest::newRow("turning 18 during the stay pays from the birthday")
            << QDate(2026, 5, 10) << QDate(2026, 5, 13) << QDate(2008, 5, 12) << QString() << QList<int>{3} << dite;
        QTest::newRow("turning 18 on the day of departure pays that day")
            << QDate(2026, 5, 10) << QDate(2026, 5, 13) << QDate(2008, 5, 14) << QString() << QList<int>{1} << dite;
        QTest::newRow("18 on 1 June: the night of 31 May stands for that day, charged in May")
            << QDate(2026, 5, 30) << QDate(2026, 6, 1) << QDate(2008, 6, 1) << QString() << QList<int>{1, 1} << dite;
        QTest::newRow("a reason the hotel set up frees every night")
            << QDate(2026, 1, 30) << QDate(2026, 2, 1) << dospely << ztp << QList<int>{0, 0} << ztp;
        QTest::newRow("no date of birth: charged as an adult")
            << QDate(2026, 3, 10) << QDate(2026, 3, 11) << QDate() << QString() << QList<int>{2} << QString();
        QTest::newRow("60 calendar days are subject to the fee")
            << QDate(2026, 1, 1) << QDate(2026, 2, 28) << dospely << QString() << QList<int>{31, 28} << QString();
        QTest::newRow("61 calendar days are not")
            << QDate(2026, 1, 1) << QDate(2026, 3, 1) << dospely << QString() << QList<int>{0, 0, 0}
            << PoplatekZPobytu::duvodDlouhyPobyt();
    }

    void poplatek()
    {
        QFETCH(QDate, od);
        QFETCH(QDate, posledniNoc);
        QFETCH(QDate, narozeni);
        QFETCH(QString, duvodHotelu);
        QFETCH(QList<int>, placenePoMesicich);
        QFETCH(QString, duvod);

        const PoplatekZPobytu::Poplatek p = PoplatekZPobytu::spocitej(od, posledniNoc, narozeni, duvodHotelu, 30);
        QList<int> placene;
        int noci = 0;
        for (const PoplatekZPobytu::Mesic &m : p.mesice) {
            placene << m.placene;
            noci += m.noci;
        }
        QCOMPARE(placene, placenePoMesicich);
        QCOMPARE(p.noci, int(od.daysTo(posledniNoc)) + 1);
        QCOMPARE(noci, p.noci);
        QCOMPARE(p.castka, 30.0 * std::accumulate(placene.begin(), placene.end(), 0));
        QCOMPARE(p.duvod, duvod);
    }

    void souhrnACsv()
    {
        // January 2026 at 30 Kč: a mother and her child across the month's end, a guest with ZTP/P early in
        // the month, a stay wholly in February.
        const double sazba = 30;
        const KlicPobytu konec{1, 1, QDate(2026, 1, 30)}, zacatek{2, 2, QDate(2026, 1, 5)}, unor{3, 1, QDate(2026, 2, 3)};
        const std::vector<ZapisKnihy> zapisy{
            EvidencniKniha::zapis(host("Eva", QDate(1985, 1, 1)), konec, QDate(2026, 2, 1), {}, sazba),
            EvidencniKniha::zapis(host("Ema", QDate(2016, 1, 1)), konec, QDate(2026, 2, 1), {}, sazba),
            EvidencniKniha::zapis(host("Olga", QDate(1950, 1, 1)), zacatek, QDate(2026, 1, 6), ztp, sazba),
            EvidencniKniha::zapis(host("Iva", QDate(1990, 1, 1)), unor, QDate(2026, 2, 4), {}, sazba)};
        QCOMPARE(zapisy[0].poplatek.castka, 90.0);   // the whole stay, February's night included

        const std::vector<SouhrnMesice> leden =
            EvidencniKniha::souhrn(zapisy, QDate(2026, 1, 1), QDate(2026, 1, 31), sazba);
        QCOMPARE(leden.size(), std::size_t(1));
        QCOMPARE(leden[0].osob, 3);
        QCOMPARE(leden[0].noci, 6);
        QCOMPARE(leden[0].placene, 2);
        QCOMPARE(leden[0].castka, 60.0);

        const QByteArray ocekavano = "\xEF\xBB\xBF"
                                     "Měsíc;Ubytovaných osob;Nocí celkem;Zpoplatněných dnů;Osvobozených osob;"
                                     "Osvobozeno: osoba mladší 18 let;\"Osvobozeno: ZTP/P; průvodce\";"
                                     "Sazba (Kč);Poplatek (Kč)\r\n"
                                     "leden 2026;3;6;2;2;1;1;30,00;60,00\r\n";
        QCOMPARE(EvidencniKniha::csv(leden, sazba), ocekavano);

        // A period from the middle of January counts only its own nights of each month.
        const std::vector<SouhrnMesice> pres =
            EvidencniKniha::souhrn(zapisy, QDate(2026, 1, 31), QDate(2026, 2, 3), sazba);
        QCOMPARE(pres.size(), std::size_t(2));
        QCOMPARE(QList<int>({pres[0].osob, pres[0].noci, pres[0].placene}), QList<int>({2, 2, 1}));
        QCOMPARE(QList<int>({pres[1].osob, pres[1].noci, pres[1].placene}), QList<int>({3, 3, 2}));
    }

    void knihaProtiSql()
    {
        using RecepceTest::sql;
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO hotel_udaje_tab (id, zarizeni, obec, poplatek_sazba) "
                           "VALUES (1, 'Hotel Vitrana', 'Třeboň', 25)");
        TestDatabase::exec("INSERT INTO osvobozeni_tab VALUES (1, 'ZTP/P')");
        // Stays: 7 across the period's start, 8 inside it, 9 not checked in, 10 ended before it, 11 a child
        // turning 18 in it.
        const auto pobyt = [](int cislo, int pokoj, int od, int doKdy, bool prijezd) {
            TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, %1, '%2', '%3', '%4', %5, 1000)")
                                   .arg(cislo).arg(sql(-90), sql(od), sql(doKdy)).arg(pokoj));
            if (prijezd)
                TestDatabase::exec(QString("INSERT INTO prijezdy_tab VALUES (%1, %2, '%3', '%3 14:00:00', NULL)")
                                       .arg(cislo).arg(pokoj).arg(sql(od)));
        };
        const auto host = [](int id, int cislo, int pokoj, int od, const QString &narozeni, int osvobozeni) {
            TestDatabase::exec(QString("INSERT INTO hoste_tab (host_id, cislo_objednavky, pokoj_id, od_kdy, poradi, "
                                       "jmeno, prijmeni, datum_narozeni, osvobozeni_id) VALUES "
                                       "(%1, %2, %3, '%4', %1, 'Host', 'H%1', %5, %6)")
                                   .arg(id).arg(cislo).arg(pokoj).arg(sql(od), narozeni).arg(osvobozeni));
        };
        pobyt(7, 1, -12, -8, true);
        host(1, 7, 1, -12, "'1970-01-01'", 0);
        host(2, 7, 1, -12, "'1971-01-01'", 1);
        pobyt(8, 2, -5, -3, true);
        host(3, 8, 2, -5, "NULL", 0);
        pobyt(9, 3, -4, -2, false);
        host(4, 9, 3, -4, "'1970-01-01'", 0);
        pobyt(10, 3, -20, -11, true);
        host(5, 10, 3, -20, "'1970-01-01'", 0);
        pobyt(11, 3, -9, -6, true);
        host(6, 11, 3, -9, "'" + RecepceTest::den(-7).addYears(-18).toString(Qt::ISODate) + "'", 0);

        const QDate od = RecepceTest::den(-10), doKdy = RecepceTest::den(0);
        // The charged days as the law words them: the started days after the first, on each of which the
        // guest is 18, unless exempt.
        TMojeQuery q;
        q.setSql(QString("SELECT h.host_id, IF(h.osvobozeni_id <> 0, 0, GREATEST(0, DATEDIFF("
                               "o.do_kdy + INTERVAL 1 DAY, GREATEST(o.od_kdy + INTERVAL 1 DAY, "
                               "COALESCE(h.datum_narozeni + INTERVAL 18 YEAR, o.od_kdy))) + 1)) "
                               "FROM hoste_tab h JOIN objednavky_pokoje_tab o USING (cislo_objednavky, pokoj_id, od_kdy) "
                               "WHERE (cislo_objednavky, pokoj_id, od_kdy) IN (SELECT cislo_objednavky, pokoj_id, od_kdy "
                               "FROM prijezdy_tab) AND o.od_kdy <= '%1' AND o.do_kdy >= '%2' "
                               "ORDER BY o.od_kdy, h.host_id")
                     .arg(doKdy.toString(Qt::ISODate), od.toString(Qt::ISODate)));
        QList<int> ocekavaneId, ocekavaneDny, id, dny;
        for (q.open(); !q.eof(); q.next()) {
            ocekavaneId << q.integer(0);
            ocekavaneDny << q.integer(1);
        }
        for (const ZapisKnihy &z : EvidencniKniha::nacti(od, doKdy, 25)) {
            id << z.host.host_id;
            dny << z.poplatek.placene;
        }
        QCOMPARE(id, QList<int>({1, 2, 6, 3}));
        QCOMPARE(id, ocekavaneId);
        QCOMPARE(dny, ocekavaneDny);

        // The window lists the same, prints and saves the summary.
        TEvidencniKniha okno;
        okno.show();
        okno.findChild<QDateEdit *>("OdDatePicker")->setDate(od);
        okno.findChild<QDateEdit *>("DoDatePicker")->setDate(doKdy);
        QTest::mouseClick(okno.findChild<QPushButton *>("ZobrazitButton"), Qt::LeftButton);
        QCOMPARE(okno.findChild<QTableWidget *>("KnihaTable")->rowCount(), 4);
        QTemporaryDir dir;
        QVERIFY(okno.ulozPdf(dir.filePath("kniha.pdf")) >= 1);
        QVERIFY(okno.ulozSouhrnCsv(dir.filePath("souhrn.csv")));
        QFile csv(dir.filePath("souhrn.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().contains("Osvobozeno: ZTP/P"));
    }
};

QTEST_MAIN(TestEvidencniKniha)
#include "test_evidencni_kniha.moc"
