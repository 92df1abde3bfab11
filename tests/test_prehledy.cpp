// Occupancy and revenue: a small hotel's months worked out by hand, the same
// figures against SQL written independently on random hotels, the CSV bytes,
// and the window showing and saving them.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TPrehledy.h"
#include "app/VitranaApplication.h"
#include "gui/DatePicker.h"
#include "model/Prehledy.h"

#include <QComboBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

using namespace GuiTest;
using namespace Prehledy;

Q_DECLARE_METATYPE(Prehledy::Rozpad)
Q_DECLARE_METATYPE(Prehledy::Cleneni)

namespace {

void stay(int klient, int pokoj, const char *od, const char *doKdy, const char *cena)
{
    static int cislo = 0;
    TestDatabase::exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (%1, %2, '2026-12-01', '%3', '%4', %5, %6)")
                           .arg(klient)
                           .arg(++cislo)
                           .arg(QLatin1String(od), QLatin1String(doKdy))
                           .arg(pokoj)
                           .arg(QLatin1String(cena)));
}

/**
 * Rooms 101 and 102 (single) and 201 ("Dvou;lůžkový") in group 1; 301
 * outside it. Clients 1 private, 2 firm; client 3 is gone.
 */
void smallHotel()
{
    TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvou;lůžkový', 2)");
    TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '201', 2), (4, '301', 2)");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Hlavní budova')");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1), (1, 2), (1, 3)");
    TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Soukromý'), (2, 'Firma')");
    TestDatabase::insertClients("(1, 1, 'Novák'), (2, 2, 'Stavby s.r.o.')");
    stay(1, 1, "2027-01-30", "2027-02-02", "4000");   // 4 nights over the month's end: 2000 + 2000
    stay(2, 2, "2027-01-10", "2027-01-12", "1000");   // one night unpriced: 1000 over 3 nights
    stay(1, 3, "2027-02-05", "2027-02-06", "3000");
    stay(1, 4, "2027-01-01", "2027-01-31", "9999");   // outside the group
    stay(3, 3, "2027-01-20", "2027-01-20", "700");    // the client is gone
    stay(1, 2, "2027-01-12", "2027-01-12", "100");    // 102's night of 12.1. booked twice
    stay(1, 1, "2027-02-10", "2027-02-08", "5000");   // ends before it begins
    stay(2, 3, "2027-01-15", "2027-01-16", "500");    // cancelled below
    TestDatabase::exec("DELETE FROM objednavky_pokoje_tab WHERE cena = 500");
}

const RadekPrehledu *najdi(const std::vector<RadekPrehledu> &radky, const QString &obdobi, const QString &kategorie)
{
    for (const RadekPrehledu &r : radky)
        if (r.obdobi == obdobi && r.kategorie == kategorie)
            return &r;
    return nullptr;
}

/** A hotel of random rooms, groups, clients and stays (overlaps, unpriced and reversed ones among them). */
void randomHotel(quint32 seed)
{
    QRandomGenerator g(seed);
    TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'A', 1), (2, 'B', 2), (3, 'C', 3)");
    TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'K1'), (2, 'K2')");
    TestDatabase::insertClients("(1, 1, 'a'), (2, 2, 'b'), (3, 1, 'c'), (4, 7, 'typ je pryč')");
    TestDatabase::exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'S')");
    for (int pokoj = 1; pokoj <= 8; ++pokoj) {
        TestDatabase::exec(QStringLiteral("INSERT INTO pokoje_tab VALUES (%1, '%1', %2)").arg(pokoj).arg(1 + g.bounded(4)));
        if (g.bounded(3) > 0)   // some rooms outside the group
            TestDatabase::exec(QStringLiteral("INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, %1)").arg(pokoj));
    }
    TestDatabase::exec("INSERT IGNORE INTO skupiny_pokoju_propojeni_tab VALUES (1, 2), (1, 9)");   // 9 is no room
    const QDate zacatek(2027, 1, 1);
    for (int i = 0; i < 60; ++i) {
        const QDate od = zacatek.addDays(g.bounded(120));
        const QDate doKdy = od.addDays(g.bounded(-2, 12));
        stay(1 + g.bounded(5), 1 + g.bounded(9), qPrintable(od.toString(Qt::ISODate)),
             qPrintable(doKdy.toString(Qt::ISODate)), qPrintable(QString::number(g.bounded(0, 500000) / 100.0)));
    }
}

using Klic = QPair<QString, QString>;   // the bucket's first day, the category's name

struct Ocekavane
{
    QMap<Klic, QPair<qint64, double>> noci;   // booked room-nights, revenue
    QMap<Klic, qint64> dostupne;              // by client type under the category ""
};

/**
 * The report as SQL computes it: a calendar of the period's days joined to
 * every night of every stay, keyed by the bucket's first day and the
 * category's name.
 */
Ocekavane podleSql(const QDate &od, const QDate &doKdy, Rozpad rozpad, Cleneni cleneni)
{
    const QString kos = cleneni == Cleneni::PoDnech
                            ? QStringLiteral("DATE_FORMAT(den, '%Y-%m-%d')")
                            : QStringLiteral("DATE_FORMAT(GREATEST(DATE_FORMAT(den, '%Y-%m-01'), '%1'), '%Y-%m-%d')")
                                  .arg(od.toString(Qt::ISODate));
    const QString kategorie = rozpad == Rozpad::Celkem             ? QStringLiteral("''")
                              : rozpad == Rozpad::PodleTypuPokoje ? QStringLiteral("COALESCE(tp.nazev_typu_pokoje, 'neznámý')")
                                                                  : QStringLiteral("COALESCE(tk.typ_klienta, 'neznámý')");
    const QString kalendar = QStringLiteral(
        "WITH RECURSIVE dny(den) AS (SELECT DATE '%1' UNION ALL SELECT den + INTERVAL 1 DAY FROM dny WHERE den < '%2'), "
        "pokoje AS (SELECT * FROM pokoje_tab WHERE pokoj_id IN "
        "(SELECT pokoj_id FROM skupiny_pokoju_propojeni_tab WHERE skupina_pokoju_id = 1)) ")
                                 .arg(od.toString(Qt::ISODate), doKdy.toString(Qt::ISODate));
    Ocekavane vysledek;
    const QStringList noci = TestDatabase::rows(
        kalendar + QStringLiteral("SELECT %1, %2, COUNT(DISTINCT o.pokoj_id, den), SUM(o.cena * 1e0 / (DATEDIFF(o.do_kdy, o.od_kdy) + 1)) "
                                  "FROM dny JOIN objednavky_pokoje_tab o ON den BETWEEN o.od_kdy AND o.do_kdy "
                                  "JOIN pokoje p ON p.pokoj_id = o.pokoj_id "
                                  "LEFT JOIN typy_pokoju_tab tp ON tp.typ_pokoje_id = p.typ_pokoje_id "
                                  "LEFT JOIN klienti_tab k ON k.klient_id = o.klient_id "
                                  "LEFT JOIN typy_klientu_tab tk ON tk.typ_klienta_id = k.typ_klienta_id GROUP BY 1, 2")
                       .arg(kos, kategorie));
    for (const QString &radek : noci) {
        const QStringList c = radek.split(u'|');
        vysledek.noci[{c[0], c[1]}] = {c[2].toLongLong(), c[3].toDouble()};
    }
    // Room-nights available: the bucket's days times the category's rooms (all of them by client type).
    const QString pokojuKategorie = rozpad == Rozpad::PodleTypuPokoje
                                        ? QStringLiteral("SELECT COALESCE(tp.nazev_typu_pokoje, 'neznámý'), COUNT(*) FROM pokoje p "
                                                         "LEFT JOIN typy_pokoju_tab tp ON tp.typ_pokoje_id = p.typ_pokoje_id GROUP BY 1")
                                        : QStringLiteral("SELECT '', COUNT(*) FROM pokoje");
    const QStringList dostupne = TestDatabase::rows(
        kalendar + QStringLiteral(", kose AS (SELECT %1 AS kos, COUNT(*) AS dnu FROM dny GROUP BY 1), "
                                  "kategorie(nazev, pokoju) AS (%2) SELECT kos, nazev, dnu * pokoju FROM kose, kategorie")
                       .arg(kos, pokojuKategorie));
    for (const QString &radek : dostupne) {
        const QStringList c = radek.split(u'|');
        vysledek.dostupne[{c[0], c[1]}] = c[2].toLongLong();
    }
    return vysledek;
}

} // namespace

class TestPrehledy : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpDatabase(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { startClean(); }

    void smallHotelByHand_data()
    {
        QTest::addColumn<int>("skupina");
        QTest::addColumn<Cleneni>("cleneni");
        QTest::addColumn<Rozpad>("rozpad");
        QTest::addColumn<QString>("obdobi");
        QTest::addColumn<QString>("kategorie");
        QTest::addColumn<qint64>("obsazene");
        QTest::addColumn<qint64>("dostupne");
        QTest::addColumn<double>("trzba");
        QTest::addColumn<double>("adr");   // -1: none
        QTest::addColumn<double>("revpar");
        const auto m = Cleneni::PoMesicich;
        const auto celkem = Rozpad::Celkem;
        const auto pokoj = Rozpad::PodleTypuPokoje;
        const auto klient = Rozpad::PodleTypuKlienta;
        // 3 rooms: 93 room-nights in January, 84 in February.
        // January: 101 on 30., 31. (2000), 102 on 10.-12. (1000) and again on 12. (100, the night once),
        // 201 on 20. (700): 6 nights, 3800; ADR 3800/6, RevPAR 3800/93.
        QTest::newRow("total January") << 1 << m << celkem << "leden 2027" << "" << 6LL << 93LL << 3800.0 << 633.333 << 40.860;
        // February: 101 on 1., 2. (2000), 201 on 5., 6. (3000); the reversed stay counts nowhere.
        QTest::newRow("total February") << 1 << m << celkem << "únor 2027" << "" << 4LL << 84LL << 5000.0 << 1250.0 << 59.524;
        // Singles 101 and 102: 62 and 56 room-nights; the double 201: 31 and 28.
        QTest::newRow("singles January") << 1 << m << pokoj << "leden 2027" << "Jednolůžkový" << 5LL << 62LL << 3100.0 << 620.0 << 50.0;
        QTest::newRow("doubles January") << 1 << m << pokoj << "leden 2027" << "Dvou;lůžkový" << 1LL << 31LL << 700.0 << 700.0 << 22.581;
        QTest::newRow("singles February") << 1 << m << pokoj << "únor 2027" << "Jednolůžkový" << 2LL << 56LL << 2000.0 << 1000.0 << 35.714;
        QTest::newRow("doubles February") << 1 << m << pokoj << "únor 2027" << "Dvou;lůžkový" << 2LL << 28LL << 3000.0 << 1500.0 << 107.143;
        // By client type every type has the group's 93 and 84; the private guest's 12.1. in 102 is its own night.
        QTest::newRow("private January") << 1 << m << klient << "leden 2027" << "Soukromý" << 3LL << 93LL << 2100.0 << 700.0 << 22.581;
        QTest::newRow("firm January") << 1 << m << klient << "leden 2027" << "Firma" << 3LL << 93LL << 1000.0 << 333.333 << 10.753;
        QTest::newRow("gone client January") << 1 << m << klient << "leden 2027" << "neznámý" << 1LL << 93LL << 700.0 << 700.0 << 7.527;
        QTest::newRow("private February") << 1 << m << klient << "únor 2027" << "Soukromý" << 4LL << 84LL << 5000.0 << 1250.0 << 59.524;
        QTest::newRow("firm February, no nights") << 1 << m << klient << "únor 2027" << "Firma" << 0LL << 84LL << 0.0 << -1.0 << 0.0;
        // 102's 12.1.: 1000/3 + 100.
        QTest::newRow("one day, booked twice") << 1 << Cleneni::PoDnech << celkem << "12.01.2027" << "" << 1LL << 3LL << 433.333 << 433.333 << 144.444;
        // 4 rooms (124 room-nights): 301's 31 nights and 9999 besides.
        QTest::newRow("all rooms January") << -1 << m << celkem << "leden 2027" << "" << 37LL << 124LL << 13799.0 << 372.946 << 111.282;
    }
    void smallHotelByHand()
    {
        QFETCH(int, skupina);
        QFETCH(Cleneni, cleneni);
        QFETCH(Rozpad, rozpad);
        QFETCH(QString, obdobi);
        QFETCH(QString, kategorie);
        smallHotel();
        const std::vector<RadekPrehledu> radky = nacti({QDate(2027, 1, 1), QDate(2027, 2, 28), skupina, cleneni, rozpad});
        const RadekPrehledu *r = najdi(radky, obdobi, kategorie);
        QVERIFY2(r, qPrintable(obdobi + " / " + kategorie));
        QTEST(r->obsazene, "obsazene");
        QTEST(r->dostupne, "dostupne");
        QFETCH(double, trzba);
        QFETCH(double, adr);
        QFETCH(double, revpar);
        QVERIFY2(qAbs(r->trzba - trzba) < 0.001, qPrintable(QString::number(r->trzba)));
        QCOMPARE(r->adr().has_value(), adr >= 0);
        if (adr >= 0)
            QVERIFY2(qAbs(*r->adr() - adr) < 0.001, qPrintable(QString::number(*r->adr())));
        QVERIFY2(qAbs(r->revpar().value() - revpar) < 0.001, qPrintable(QString::number(*r->revpar())));
    }

    void agreesWithSql_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<Rozpad>("rozpad");
        QTest::addColumn<Cleneni>("cleneni");
        for (quint32 seed : {1u, 2u, 3u})
            for (const auto &[nazev, rozpad] : {std::pair{"total", Rozpad::Celkem}, std::pair{"room type", Rozpad::PodleTypuPokoje},
                                                 std::pair{"client type", Rozpad::PodleTypuKlienta}})
                for (const auto &[kos, cleneni] : {std::pair{"months", Cleneni::PoMesicich}, std::pair{"days", Cleneni::PoDnech}})
                    QTest::addRow("seed %u, %s by %s", seed, nazev, kos) << seed << rozpad << cleneni;
    }
    void agreesWithSql()
    {
        QFETCH(quint32, seed);
        QFETCH(Rozpad, rozpad);
        QFETCH(Cleneni, cleneni);
        randomHotel(seed);
        // Partial months at both ends.
        const QDate od(2027, 1, 17);
        const QDate doKdy(2027, 3, 20);
        const auto sql = podleSql(od, doKdy, rozpad, cleneni);
        const std::vector<RadekPrehledu> radky = nacti({od, doKdy, 1, cleneni, rozpad});
        QSet<Klic> videne;
        for (const RadekPrehledu &r : radky) {
            const Klic klic{r.od.toString(Qt::ISODate), r.kategorie};
            videne.insert(klic);
            const QString kde = klic.first + " / " + klic.second;
            const auto [obsazene, trzba] = sql.noci.value(klic);
            QCOMPARE(r.dostupne, sql.dostupne.value(rozpad == Rozpad::PodleTypuKlienta ? Klic{klic.first, ""} : klic));
            QCOMPARE(r.obsazene, obsazene);
            QVERIFY2(qAbs(r.trzba - trzba) < 0.005, qPrintable(QStringLiteral("%1: %2 against %3").arg(kde).arg(r.trzba).arg(trzba)));
        }
        QVERIFY(!videne.isEmpty());
        for (const Klic &k : sql.noci.keys())
            QVERIFY2(videne.contains(k), qPrintable(k.first + " / " + k.second + " missing"));
    }

    void csvBytes()
    {
        const std::vector<RadekPrehledu> radky{
            {{}, {}, "leden 2027", "Dvou;lůžkový", 5, 62, 3100.0},
            {{}, {}, "únor 2027", "Apartmá \"A\"", 0, 0, 12345.5},   // nothing to divide by
            {{}, {}, "únor 2027", "Víc\nřádků", 1, 3, 1000.0 / 3}};
        QCOMPARE(csv(radky, Rozpad::PodleTypuPokoje),
                 QByteArray("\xEF\xBB\xBF"
                            "Období;Kategorie;Obsazené pokojonoci;Dostupné pokojonoci;Obsazenost %;Tržba Kč;ADR Kč;RevPAR Kč\r\n"
                            "leden 2027;\"Dvou;lůžkový\";5;62;8,1;3100,00;620,00;50,00\r\n"
                            "únor 2027;\"Apartmá \"\"A\"\"\";0;0;;12345,50;;\r\n"
                            "únor 2027;\"Víc\nřádků\";1;3;33,3;333,33;333,33;111,11\r\n"));
        QCOMPARE(csv({}, Rozpad::Celkem),
                 QByteArray("\xEF\xBB\xBF"
                            "Období;Obsazené pokojonoci;Dostupné pokojonoci;Obsazenost %;Tržba Kč;ADR Kč;RevPAR Kč\r\n"));
    }

    void windowShowsAndSaves()
    {
        smallHotel();
        TPrehledy d;
        inModal<TPrehledy>(d, [](TPrehledy *d) {
            control<DatePicker>(d, "OdDatePicker")->setDate(QDate(2027, 1, 1));
            control<DatePicker>(d, "DoDatePicker")->setDate(QDate(2027, 2, 28));
            chooseLine(control<QComboBox>(d, "SkupinaComboBox"), 1);
            chooseLine(control<QComboBox>(d, "CleneniComboBox"), 1);
            chooseLine(control<QComboBox>(d, "RozpadComboBox"), 1);
            click(control<QPushButton>(d, "ZobrazitButton"));
            const QAbstractItemModel *t = control<QTableView>(d, "PrehledTable")->model();
            QCOMPARE(t->rowCount(), 4);
            QStringList radek;
            for (int sloupec = 0; sloupec < t->columnCount(); ++sloupec)
                radek << t->index(0, sloupec).data().toString();
            // Czech figures, grouped: 3 100,00.
            QCOMPARE(radek.join(u'|'), QString("leden 2027|Jednolůžkový|5|62|8,1|3\u00a0100,00|620,00|50,00"));
            QTemporaryDir dir;
            const QString soubor = dir.filePath("prehled.csv");
            QVERIFY(d->ulozCsv(soubor));
            QFile f(soubor);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray obsah = f.readAll();
            QVERIFY(obsah.startsWith("\xEF\xBB\xBF"));
            QVERIFY(obsah.contains("\r\nleden 2027;Jednolůžkový;5;62;8,1;3100,00;620,00;50,00\r\n"));
            // Printed as the arrivals are: a page of A4 in a PDF.
            const QString pdf = dir.filePath("prehled.pdf");
            QCOMPARE(d->ulozPdf(pdf), 1);
            QFile tisk(pdf);
            QVERIFY(tisk.open(QIODevice::ReadOnly) && tisk.readAll().startsWith("%PDF"));
        });
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestPrehledy test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_prehledy.moc"
