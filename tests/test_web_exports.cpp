// The client side of the web road against the companion site: the exact
// bytes of the exports and of the IP registration, an export waiting for the
// server; and the web dialog as a view of it: its controls, the connection
// label, the listener's port, the status-bar indicator.

#include "GuiTestSupport.h"
#include "TestDatabase.h"
#include "WebTestSupport.h"

#include "gui/MessageBox.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"

#include "web/IndikatorWebu.h"
#include "core/Recepce.h"
#include "db/PrivateServer.h"
#include "db/SqlFormat.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "web/TAdministraceSpolupraceSWebem.h"
#include "web/engine/CteniExportu.h"
#include "web/engine/DataExportu.h"

#include <QAction>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

using namespace WebTest;

namespace {
const QByteArray headers = "Accept: text/html, text/plain\n"
                           "Content-Type: application/x-www-form-urlencoded\n"
                           "User-Agent: Vitrana.exe version 1.0\n";
const QByteArray tail = "Connection: Keep-Alive\nCache-Control: no-cache\n\n";

// The statement the export was once read by, every stay joined to every
// priced day: what the export must still give, row for row.
const char *cenyAObsazenostJoined =
    "SELECT count(distinct objednavky.cislo_objednavky) AS rezervovano, ceny.typ_pokoje_id, kalendar.datum, ceny.cena "
    "FROM (ceny_pokoje_tab AS ceny, typy_dnu_tab AS typy, kalendar_typy_dnu_tab AS kalendar, pokoje_tab AS pokoje) "
    "LEFT JOIN (SELECT DISTINCT cislo_objednavky, pokoj_id, od_kdy, do_kdy FROM objednavky_pokoje_tab "
    "WHERE do_kdy >= CURDATE() AND od_kdy < FROM_DAYS(TO_DAYS(CURDATE()) + 365)) AS objednavky "
    "ON (ceny.typ_pokoje_id = pokoje.typ_pokoje_id "
    "AND pokoje.pokoj_id = objednavky.pokoj_id AND objednavky.od_kdy <= kalendar.datum "
    "AND objednavky.do_kdy >= kalendar.datum) "
    "WHERE typy.typ_dne_id = ceny.typ_dne_id AND typy.typ_dne_id = kalendar.typ_dne_id "
    "AND ceny.typ_klienta_id = 1 AND pokoje.typ_pokoje_id = ceny.typ_pokoje_id "
    "AND kalendar.datum >= CURDATE() AND kalendar.datum < FROM_DAYS(TO_DAYS(CURDATE()) + 365) "
    "GROUP BY ceny.typ_pokoje_id, kalendar.datum";

/**
 * Rooms of `typy` types, reservations of one to four stays each: rooms of
 * one type overlapping, touching or apart, stays before today, across
 * today and across the year's end, some whose last day lies before their
 * first, some in rooms that no longer exist. Prices of client type 1 per
 * room type and day type, one more type priced without rooms, other
 * client types' prices beside; a calendar with gaps, a day type without
 * prices and days listed twice.
 */
void randomHotel(quint32 seed, int pokoju, int typu, int rezervaci)
{
    QRandomGenerator random(seed);
    QStringList rooms, stays, calendar, prices;
    for (int room = 1; room <= pokoju; ++room)
        rooms << QStringLiteral("(%1, '%2', %3)").arg(room).arg(100 + room).arg(1 + random.bounded(typu));
    for (int cislo = 1; cislo <= rezervaci; ++cislo) {
        const int od = random.bounded(-60, 400);
        for (int n = random.bounded(4) == 0 ? random.bounded(2, 5) : 1; n > 0; --n) {
            const int zacatek = od + random.bounded(-3, 8);
            const int konec = zacatek + (random.bounded(12) == 0 ? -random.bounded(1, 4) : random.bounded(0, 30));
            stays << QStringLiteral("(1, %1, '%2', '%3', '%4', %5, 100)")
                         .arg(cislo).arg(day(od), day(zacatek), day(konec)).arg(1 + random.bounded(pokoju + 2));
        }
    }
    for (int d = -10; d < 380; ++d) {
        if (random.bounded(15) == 0)
            continue;
        const int typ = 1 + random.bounded(4);
        for (int copy = random.bounded(8) == 0 ? 2 : 1; copy > 0; --copy)
            calendar << QStringLiteral("('%1', %2)").arg(day(d)).arg(typ);
    }
    for (int typ = 1; typ <= typu + 1; ++typ) {
        for (int den = 1; den <= 3; ++den) {
            if (random.bounded(5) != 0)
                prices << QStringLiteral("(%1, 1, %2, %3)").arg(typ).arg(den).arg(random.bounded(500, 5000) + (den == 2 ? 0.5 : 0));
            prices << QStringLiteral("(%1, 2, %2, 1)").arg(typ).arg(den);
        }
    }
    TestDatabase::exec("INSERT INTO pokoje_tab VALUES " + rooms.join(", "));
    TestDatabase::exec("INSERT IGNORE INTO objednavky_pokoje_tab VALUES " + stays.join(", "));
    TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'a'), (2, 'b'), (3, 'c'), (4, 'd')");
    TestDatabase::exec("INSERT IGNORE INTO kalendar_typy_dnu_tab VALUES " + calendar.join(", "));
    TestDatabase::exec("INSERT IGNORE INTO ceny_pokoje_tab VALUES " + prices.join(", "));
}

QStringList radky(const QList<Exporty::CenaDne> &ceny)
{
    QStringList out;
    for (const Exporty::CenaDne &c : ceny)
        out << QStringLiteral("%1|%2|%3|%4").arg(c.typ_pokoje_id).arg(c.datum, c.cena).arg(c.rezervovano);
    return out;
}

// The export's list as the joined statement gives it, formatted as the export formats it.
QList<Exporty::CenaDne> joinedList()
{
    QList<Exporty::CenaDne> ceny;
    for (const QString &row : TestDatabase::rows(cenyAObsazenostJoined)) {
        const QStringList c = row.split(u'|');
        ceny.append({c[1].toInt(), c[2], SqlFormat::price(c[3].toDouble()), c[0].toInt()});
    }
    return ceny;
}
} // namespace

class TestWebExports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("AdresaLabel") << "AdresaLabel" << "Doménová adresa databáze:";
        QTest::newRow("AdresaEdit") << "AdresaEdit" << "localhost";
        QTest::newRow("PripojenoLabel") << "PripojenoLabel" << "Odpojeno";
        QTest::newRow("PripojButton") << "PripojButton" << "Připoj";
        QTest::newRow("AdresarLabel") << "AdresarLabel" << "Adresář se skripty na serveru:";
        QTest::newRow("AdresarEdit") << "AdresarEdit" << "/zarventocz/www/vitrana";
        QTest::newRow("IDLabel") << "IDLabel" << "ID:";
        QTest::newRow("IDEdit") << "IDEdit" << "1";
        QTest::newRow("HesloLabel") << "HesloLabel" << "Heslo:";
        QTest::newRow("HesloEdit") << "HesloEdit" << "";
        QTest::newRow("LokalniIPLabel") << "LokalniIPLabel" << "Lokální IP adresa:";
        QTest::newRow("LokalniIPEdit") << "LokalniIPEdit" << "";
        QTest::newRow("UlozIPAdresuButton") << "UlozIPAdresuButton" << "Ulož IP adresu na serveru";
        QTest::newRow("ExportTypuPokojuButton") << "ExportTypuPokojuButton" << "Export údajů o typech pokojů";
        QTest::newRow("ExportCenObsazenostiButton") << "ExportCenObsazenostiButton" << "Export cen a obsazenosti";
        QTest::newRow("ImportRezervaciButton") << "ImportRezervaciButton" << "Import rezervací z webu";
        QTest::newRow("ZavriButton") << "ZavriButton" << "Zavři";
        QTest::newRow("OpovedServeruLabel") << "OpovedServeruLabel" << "Odpověď serveru:";
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        SpolupraceSWebem engine(0);
        TAdministraceSpolupraceSWebem dialog(&engine);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("AdministraceSpolupraceSWebem"));
        QObject *control = dialog.findChild<QObject *>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->property("text").toString(), text);
        QVERIFY(dialog.findChild<QPlainTextEdit *>("OdpovedServeruMemo")->isReadOnly());
        QCOMPARE(dialog.spoluprace()->stavExportuCen(), StavExportuCen::Nic);
        QCOMPARE(dialog.spoluprace()->stavImportu(), StavImportu::Nic);
    }

    void ipRegistrationBytes_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty address: 22 bytes") << "" << QByteArray("id=1&heslo=&ip_adresa=");
        QTest::newRow("10.0.0.5") << "10.0.0.5" << QByteArray("id=1&heslo=&ip_adresa=10.0.0.5");
    }
    void ipRegistrationBytes()
    {
        QFETCH(QString, ip);
        QFETCH(QByteArray, body);
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->nastaveni().lokalniIP = ip;
        desk.desk->UlozIPAdresu();
        const QByteArray expected = "POST /zarventocz/www/vitrana/uloz_ip_adresu.php HTTP/1.1\n" + headers + "Host: 127.0.0.1:"
                                    + QByteArray::number(desk.web->port()) + "\nContent-Length: "
                                    + QByteArray::number(body.size()) + "\n" + tail + body;
        // Everything the connection carried: nothing after the body.
        QTRY_COMPARE(desk.web->prijatoSpojenimi().value(0), expected);
        QCOMPARE(desk.web->ipAdresa(), ip);
        QTRY_VERIFY(desk.desk->odpovedServeru().endsWith("OK\n"));   // the reply is kept for the box
    }

    void roomTypesBytes()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (3, 'Dvoulůžkový & balkon', 2), (4, 'Apartmá', 4), "
                           "(9, 'Bez pokojů', 1)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3), (6, '106', 3), (7, '201', 4)");
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->ExportTypuPokoju();
        QTRY_VERIFY(lastRequest(*desk.web, "typy_pokoju.php"));
        const SimPozadavek *p = lastRequest(*desk.web, "typy_pokoju.php");
        QCOMPARE(p->hlavicka, "POST /zarventocz/www/vitrana/typy_pokoju.php HTTP/1.1\n" + headers + "Host: 127.0.0.1:"
                                  + QByteArray::number(desk.web->port()) + "\nContent-Length: 253\n" + tail);
        // Code page 1250, the ampersand of the name encoded; the type without rooms is left out.
        QCOMPARE(p->telo, QByteArray("id=1&heslo=&pocet_typu=2"
                                     "&typy[0][typ_pokoje_id]=3&typy[0][nazev_typu_pokoje]=Dvoul\xF9\x9Ekov\xFD %26 balkon"
                                     "&typy[0][pocet_luzek]=2&typy[0][pocet_pokoju]=2"
                                     "&typy[1][typ_pokoje_id]=4&typy[1][nazev_typu_pokoje]=Apartm\xE1"
                                     "&typy[1][pocet_luzek]=4&typy[1][pocet_pokoju]=1"));
        // A form decoder reads the name as it is stored.
        QCOMPARE(desk.web->typyPokoju().value(0).value("nazev_typu_pokoje"), QStringLiteral("Dvoulůžkový & balkon"));
    }

    void roomTypesWithoutRooms()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (3, 'Prázdný', 2)");
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->nastaveni().heslo = QStringLiteral("tajne");
        desk.desk->ExportTypuPokoju();
        QTRY_VERIFY(lastRequest(*desk.web, "typy_pokoju.php"));
        QCOMPARE(lastRequest(*desk.web, "typy_pokoju.php")->telo, QByteArray("id=1&heslo=tajne&pocet_typu=0"));
    }

    void pricesAndOccupancy()
    {
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (3, 'Dvoulůžkový', 2), (4, 'Apartmá', 4), (9, 'Bez pokojů', 1)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3), (6, '106', 3), (7, '201', 4)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední'), (2, 'Bez kalendáře')");
        for (int d : {-1, 0, 1, 2, 3, 4, 5, 364, 365})
            TestDatabase::exec(QString("INSERT INTO kalendar_typy_dnu_tab VALUES ('%1', 1)").arg(day(d)));
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (3, 1, 1, 1500), (3, 2, 1, 999), (4, 1, 1, 1200.5), "
                           "(9, 1, 1, 700), (3, 1, 2, 5000)");
        // Room 5 from day 1 to day 3, room 6 from day 3 to day 4, both ends included.
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 1, '%1', '%2', '%3', 5, 100), "
                                   "(2, 2, '%1', '%3', '%4', 6, 100)")
                               .arg(day(0), day(1), day(3), day(4)));

        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->ExportCenObsazenosti();
        QTRY_VERIFY(lastRequest(*desk.web, "ceny_a_obsazenost.php"));
        QCOMPARE(desk.desk->stavExportuCen(), StavExportuCen::Nic);

        struct Row { int typ; int d; const char *cena; int rezervovano; };
        const Row rows[] = {{3, 0, "1500", 0}, {3, 1, "1500", 1}, {3, 2, "1500", 1}, {3, 3, "1500", 2},
                            {3, 4, "1500", 1}, {3, 5, "1500", 0}, {3, 364, "1500", 0},
                            {4, 0, "1200.5", 0}, {4, 1, "1200.5", 0}, {4, 2, "1200.5", 0}, {4, 3, "1200.5", 0},
                            {4, 4, "1200.5", 0}, {4, 5, "1200.5", 0}, {4, 364, "1200.5", 0}};
        QString expected = "id=1&heslo=&pocet_zaznamu=14";
        int i = 0;
        for (const Row &r : rows) {
            expected += QString("&ceny[%1][typ_pokoje_id]=%2&ceny[%1][datum]=%3&ceny[%1][cena]=%4&ceny[%1][rezervovano]=%5")
                            .arg(i++).arg(r.typ).arg(day(r.d), r.cena).arg(r.rezervovano);
        }
        const SimPozadavek *p = lastRequest(*desk.web, "ceny_a_obsazenost.php");
        QCOMPARE(QString::fromLatin1(p->telo), expected);
        QVERIFY(p->telo.contains("&ceny[3][typ_pokoje_id]=3&ceny[3][datum]=" + day(3).toLatin1()
                                 + "&ceny[3][cena]=1500&ceny[3][rezervovano]=2"));
    }

    void noPricesOfClientTypeOne()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3)");
        TestDatabase::exec(QString("INSERT INTO kalendar_typy_dnu_tab VALUES ('%1', 1)").arg(day(0)));
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (3, 2, 1, 1500)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední')");
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->ExportCenObsazenosti();
        QTRY_VERIFY(lastRequest(*desk.web, "ceny_a_obsazenost.php"));
        QCOMPARE(lastRequest(*desk.web, "ceny_a_obsazenost.php")->telo, QByteArray("id=1&heslo=&pocet_zaznamu=0"));
    }

    void aYearOfPricesArrivesWhole()
    {
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 2), (3, '103', 3), (4, '104', 4)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední')");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab (datum, typ_dne_id) "
                           "WITH RECURSIVE dny(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM dny WHERE n < 400) "
                           "SELECT CURDATE() + INTERVAL n DAY, 1 FROM dny");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1500), (2, 1, 1, 1600), (3, 1, 1, 1700.25), "
                           "(4, 1, 1, 99999.99)");
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->ExportCenObsazenosti();
        QTRY_VERIFY_WITH_TIMEOUT(lastRequest(*desk.web, "ceny_a_obsazenost.php"), 20000);
        const SimPozadavek *p = lastRequest(*desk.web, "ceny_a_obsazenost.php");
        QVERIFY2(p->telo.size() > 100 * 1024, QByteArray::number(p->telo.size()));
        QVERIFY(p->hlavicka.contains("\nContent-Length: " + QByteArray::number(p->telo.size()) + "\n"));
        QCOMPARE(p->hodnota("pocet_zaznamu"), QStringLiteral("1460"));
        const auto &rows = desk.web->ceny();
        QCOMPARE(rows.size(), 1460);
        QCOMPARE(rows.last(), (QMap<QString, QString>{{"typ_pokoje_id", "4"}, {"datum", day(364)},
                                                        {"cena", "99999.99"}, {"rezervovano", "0"}}));
        QVERIFY(p->telo.endsWith("&ceny[1459][rezervovano]=0"));
    }

    void pricesAndOccupancyEqualTheJoinedStatement_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("pokoju");
        QTest::addColumn<int>("typu");
        QTest::addColumn<int>("rezervaci");
        QTest::newRow("a small hotel, few stays") << 1u << 6 << 3 << 40;
        QTest::newRow("one type, its rooms overlapping") << 2u << 8 << 1 << 300;
        QTest::newRow("a busy hotel of four types") << 3u << 30 << 4 << 700;
        QTest::newRow("many types, a room each") << 4u << 12 << 10 << 250;
        QTest::newRow("more stays than days") << 5u << 20 << 2 << 1200;
    }
    void pricesAndOccupancyEqualTheJoinedStatement()
    {
        QFETCH(quint32, seed);
        QFETCH(int, pokoju);
        QFETCH(int, typu);
        QFETCH(int, rezervaci);
        randomHotel(seed, pokoju, typu, rezervaci);
        const QList<Exporty::CenaDne> joined = joinedList();
        QVERIFY(joined.size() > 50);
        QVERIFY(std::any_of(joined.begin(), joined.end(), [](const Exporty::CenaDne &c) { return c.rezervovano > 1; }));
        const QList<Exporty::CenaDne> ceny = DataExportu::cenyAObsazenost();
        QCOMPARE(radky(ceny), radky(joined));
        QCOMPARE(Exporty::poleCenAObsazenosti(ceny), Exporty::poleCenAObsazenosti(joined));
    }

private:
    // Statements waiting for the reservations another desk holds.
    static constexpr const char *waitingForReservations =
        "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE STATE LIKE 'Waiting for table%' "
        "AND INFO LIKE '%objednavky_pokoje_tab%'";
    static int waiting() { return TestDatabase::value(waitingForReservations).toInt(); }

private slots:
    void theWindowRunsWhileTheWorkerReads()
    {
        randomHotel(7, 10, 2, 120);
        Pracoviste desk;
        Configuration config = TestDatabase::config();
        config.lockWaitSeconds = 60;   // the other desk lets go long before
        desk.desk->ctiExportyVeVlakne({config, PrivateServer::osUser(), QString()});
        QVERIFY(desk.pripoj());
        bool busy = false;
        TMojeDatabaze::setWaitIndicator([&busy](bool waiting) { busy = waiting; });
        const auto indicatorOff = qScopeGuard([] { TMojeDatabaze::setWaitIndicator({}); });

        // Another desk holds the reservations: the worker reads the prices, then waits.
        auto other = TestDatabase::openAnother();
        TMojeQuery lock(*other);
        lock.exec("LOCK TABLES objednavky_pokoje_tab WRITE");
        QTimer timer;
        int ticks = 0;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(5);
        desk.desk->ExportCenObsazenosti();
        // Once seen it counts: the waiting statement's state may read
        // otherwise for a moment as the server looks at its lock again.
        bool seen = false;
        QTRY_VERIFY_WITH_TIMEOUT(seen = seen || waiting() >= 1, 20000);
        const int before = ticks;
        QTRY_VERIFY(ticks >= before + 5);
        QVERIFY(!busy);   // the worker's wait shows no busy cursor
        QCOMPARE(desk.desk->stavExportuCen(), StavExportuCen::CekaNaSpojeni);
        QCOMPARE(requests(*desk.web, "ceny_a_obsazenost.php"), 0);

        // A price changed after the worker read the prices: its export is stale,
        // and one more follows it.
        TestDatabase::exec("UPDATE ceny_pokoje_tab SET cena = 4321.5 WHERE typ_klienta_id = 1");
        desk.desk->ExportCenObsazenosti();
        lock.exec("UNLOCK TABLES");
        QTRY_COMPARE_WITH_TIMEOUT(requests(*desk.web, "ceny_a_obsazenost.php"), 2, 20000);
        QTRY_COMPARE(desk.desk->stavExportuCen(), StavExportuCen::Nic);
        const QByteArray telo = lastRequest(*desk.web, "ceny_a_obsazenost.php")->telo;
        QCOMPARE(QString::fromLatin1(telo),
                 "id=1&heslo=" + Exporty::poleCenAObsazenosti(DataExportu::cenyAObsazenost()));
        QVERIFY(telo.contains("&ceny[0][cena]=4321.5&"));
        QVERIFY(desk.desk->posledniExport().uspech);
        QVERIFY(desk.dalsiTiky());
        QCOMPARE(requests(*desk.web, "ceny_a_obsazenost.php"), 2);
        QVERIFY(desk.chyby.isEmpty());
    }

    void closingTheDeskEndsTheWorkersWait()
    {
        randomHotel(8, 4, 1, 10);
        auto desk = std::make_unique<Pracoviste>();
        Configuration config = TestDatabase::config();
        config.lockWaitSeconds = 60;
        desk->desk->ctiExportyVeVlakne({config, PrivateServer::osUser(), QString()});
        QVERIFY(desk->pripoj());
        auto other = TestDatabase::openAnother();
        TMojeQuery lock(*other);
        lock.exec("LOCK TABLES objednavky_pokoje_tab WRITE");
        desk->desk->ExportCenObsazenosti();
        // Once seen it counts: the waiting statement's state may read
        // otherwise for a moment as the server looks at its lock again.
        bool seen = false;
        QTRY_VERIFY_WITH_TIMEOUT(seen = seen || waiting() >= 1, 20000);
        // The server ends the worker's statement: the desk closes with the tables still held.
        // The killed statement may still be listed for a moment while the server tidies up.
        desk.reset();
        QTRY_COMPARE_WITH_TIMEOUT(waiting(), 0, 10000);
        lock.exec("UNLOCK TABLES");
    }

    void exportWaitsForTheServer()
    {
        const quint16 port = volnyPort();
        SpolupraceSWebem desk(0, rychleCasovani());
        desk.nastaveni().adresa = QStringLiteral("127.0.0.1:%1").arg(port);
        QCOMPARE(desk.cekani(), QStringList());

        desk.ExportCenObsazenosti();
        desk.ExportCenObsazenosti();
        QCOMPARE(desk.stavExportuCen(), StavExportuCen::CekaNaSpojeni);
        QVERIFY(desk.cekani().join("").contains("Export cen a obsazenosti čeká"));

        // The server comes up later; the watchdog connects and it goes once.
        WebSimulator web({});
        QVERIFY(web.listen(QHostAddress::LocalHost, port));
        QTRY_COMPARE_WITH_TIMEOUT(requests(web, "ceny_a_obsazenost.php"), 1, 10000);
        QCOMPARE(desk.stavExportuCen(), StavExportuCen::Nic);
        QCOMPARE(desk.cekani(), QStringList());
        QVERIFY(desk.posledniExport().uspech);
        // Anything sent after it arrives after it: still one export.
        desk.UlozIPAdresu();
        QTRY_COMPARE(requests(web, "uloz_ip_adresu.php"), 1);
        QCOMPARE(requests(web, "ceny_a_obsazenost.php"), 1);
    }

    void databaseErrorEndsThePricesExport()
    {
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        TestDatabase::exec("RENAME TABLE ceny_pokoje_tab TO ceny_jinde");
        desk.desk->ExportCenObsazenosti();
        TestDatabase::exec("RENAME TABLE ceny_jinde TO ceny_pokoje_tab");
        QCOMPARE(desk.chyby.size(), 1);
        QVERIFY(desk.chyby[0].text.contains("ceny_pokoje_tab"));
        QVERIFY(desk.chyby[0].odRecepcniho);   // the export is always someone's own action: a box is due
        QCOMPARE(desk.desk->stavExportuCen(), StavExportuCen::Nic);
        QVERIFY(!desk.desk->posledniExport().uspech);
        // Not retried at every tick, and nothing half-made was sent.
        QVERIFY(desk.dalsiTiky());
        QCOMPARE(desk.chyby.size(), 1);
        QCOMPARE(requests(*desk.web, "ceny_a_obsazenost.php"), 0);
    }

    void connectButton()
    {
        // The dialog is a view: its inputs reach the engine, its label follows the connection.
        WebSimulator web({});
        QVERIFY(web.listen());
        SpolupraceSWebem engine(0, rychleCasovani());
        TAdministraceSpolupraceSWebem dialog(&engine);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CONTROL(QLabel, label, &dialog, "PripojenoLabel");
        CONTROL(QLineEdit, adresa, &dialog, "AdresaEdit");
        CONTROL(QPushButton, pripoj, &dialog, "PripojButton");
        QCOMPARE(label->text(), QStringLiteral("Odpojeno"));
        GuiTest::type(adresa, QStringLiteral("127.0.0.1:%1").arg(web.port()));
        GuiTest::click(pripoj);
        QTRY_COMPARE(label->text(), QStringLiteral("Připojeno"));
        QTRY_COMPARE(web.prijatoSpojenimi().size(), 1);

        // Unchanged host: the same connection goes on.
        GuiTest::click(pripoj);
        QVERIFY(dialog.spoluprace()->jePripojeno());
        GuiTest::click(dialog.findChild<QPushButton *>("UlozIPAdresuButton"));
        QTRY_COMPARE(requests(web, "uloz_ip_adresu.php"), 1);
        QCOMPARE(web.prijatoSpojenimi().size(), 1);
        QTRY_VERIFY(dialog.findChild<QPlainTextEdit *>("OdpovedServeruMemo")->toPlainText().endsWith("OK\n"));

        // Another host text: the old connection closes, a new one opens.
        GuiTest::type(adresa, QStringLiteral("localhost:%1").arg(web.port()));
        GuiTest::click(pripoj);
        QTRY_COMPARE(web.prijatoSpojenimi().size(), 2);
        QTRY_VERIFY(dialog.spoluprace()->jePripojeno());
        QTRY_COMPARE(web.pocetSpojeni(), 1);

        // An unreachable server: no message, the label says so.
        GuiTest::type(adresa, QStringLiteral("127.0.0.1:%1").arg(volnyPort()));
        GuiTest::click(pripoj);
        QTRY_COMPARE(label->text(), QStringLiteral("Odpojeno"));
        QCOMPARE(MessageBox::history().size(), 0);
        GuiTest::click(dialog.findChild<QPushButton *>("ZavriButton"));
        QVERIFY(!dialog.isVisible());
    }

    void receptionistsOwnErrorsGetABox()
    {
        SpolupraceSWebem engine(0, rychleCasovani());
        TAdministraceSpolupraceSWebem dialog(&engine);
        WebSimulator web({});
        QVERIFY(web.listen());
        web.setChovani(WebSimulator::Chovani::ChybneHodnoty);
        dialog.findChild<QLineEdit *>("AdresaEdit")->setText(QStringLiteral("127.0.0.1:%1").arg(web.port()));
        GuiTest::click(dialog.findChild<QPushButton *>("ImportRezervaciButton"));
        QTRY_COMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history()[0].caption, QStringLiteral("Chyba"));
        QVERIFY(MessageBox::history()[0].text.contains("Odpověď webu na import rezervací je chybná"));
        // The state line keeps it after the box is gone.
        CONTROL(QLabel, stav, &dialog, "StavLabel");
        QVERIFY2(stav->text().contains("Import") && stav->text().contains("selhal"), qPrintable(stav->text()));
    }

    void busyListeningPort()
    {
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::Any, 0));
        SpolupraceSWebem engine(other.serverPort());
        TAdministraceSpolupraceSWebem dialog(&engine);
        QCOMPARE(dialog.portNaslouchani(), quint16(0));
        const QString text = dialog.findChild<QLabel *>("NaslouchaniLabel")->text();
        QVERIFY2(text.contains(QString::number(other.serverPort())) && text.contains("obsazen"), qPrintable(text));
        // The status bar says it too, in red.
        IndikatorWebu indikator(dialog.spoluprace());
        QVERIFY2(indikator.text().contains(QString::number(other.serverPort())), qPrintable(indikator.text()));
        QVERIFY(indikator.styleSheet().contains("color"));
        QCOMPARE(MessageBox::history().size(), 0);
    }

    void openedFromTheMainWindow()
    {
        Configuration config = TestDatabase::config();
        config.listenPort = 0;
        const std::unique_ptr<Recepce> recepce = TestDatabase::openDesk(config);
        TVitranaForm form(recepce.get());
        form.createDialogs();
        QAction *item = form.findChild<QAction *>("SpolupraceSWebem");
        QVERIFY(item->isEnabled());
        TAdministraceSpolupraceSWebem *dialog = form.spolupraceSWebem();
        QVERIFY(dialog->portNaslouchani() != 0);   // listening before it is ever opened
        // The status bar shows the listener and, once there is one, the last export.
        auto *indikator = form.findChild<QStatusBar *>("StatusBar1")->findChild<IndikatorWebu *>();
        QVERIFY(indikator);
        QVERIFY2(indikator->text().contains(QString::number(dialog->portNaslouchani())), qPrintable(indikator->text()));
        dialog->spoluprace()->ExportTypuPokoju();   // no server: not sent
        QVERIFY2(indikator->text().contains("export") && indikator->text().contains("selhal"), qPrintable(indikator->text()));
        bool seen = false;
        GuiTest::inModal<TAdministraceSpolupraceSWebem>([item] { item->trigger(); },
                                                        [&](TAdministraceSpolupraceSWebem *d) {
                                                            seen = d == dialog && d->isModal();
                                                            GuiTest::click(d->findChild<QPushButton *>("ZavriButton"));
                                                        });
        QVERIFY(seen);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestWebExports test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_web_exports.moc"
