// Rooms out of order: not sold at the desk, not given to a web guest,
// counted as occupied by the export, and not taken out over booked nights.

#include "Souboj.h"
#include "TestDatabase.h"
#include "WebTestSupport.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Historie.h"
#include "model/Objednavky.h"
#include "model/StavPokoju.h"
#include "web/engine/DataExportu.h"

#include <QtTest>
#include <atomic>

using namespace WebTest;
Q_DECLARE_METATYPE(SimRezervace)

namespace {
QDate den(int offset) { return QDate::currentDate().addDays(offset); }

void outOfOrder(int pokoj, int od, int dO)
{
    static int id = 100;
    TestDatabase::exec(QStringLiteral("INSERT INTO mimo_provoz_tab VALUES (%1, %2, '%3', '%4', 'Oprava')")
                           .arg(++id).arg(pokoj).arg(day(od), day(dO)));
}

SimRezervace guest(const QString &id, const QString &typ, int od, int doKdy)
{
    return {id, typ, day(od), day(doKdy), "3000", "Host " + id, "+420 777 123 456", "host@example.cz", "Česko"};
}
} // namespace

class TestMimoProvoz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
        // Type 3 has room 5 only, type 4 rooms 7 and 8.
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (3, 'Jednolůžkový', 1), (4, 'Dvoulůžkový', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3), (7, '201', 4), (8, '202', 4)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (40, 1, 'Novák')");
    }

    void deskBooking_data()
    {
        QTest::addColumn<int>("pokoj");
        QTest::addColumn<int>("od");
        QTest::addColumn<int>("dO");
        QTest::addColumn<bool>("ulozena");
        // room 5 is out of order on days 10 to 12
        QTest::newRow("its first night") << 5 << 8 << 10 << false;
        QTest::newRow("its last night") << 5 << 12 << 14 << false;
        QTest::newRow("inside it") << 5 << 11 << 11 << false;
        QTest::newRow("around it") << 5 << 5 << 20 << false;
        QTest::newRow("the night before") << 5 << 7 << 9 << true;
        QTest::newRow("the night after") << 5 << 13 << 15 << true;
        QTest::newRow("another room") << 7 << 10 << 12 << true;
    }
    void deskBooking()
    {
        QFETCH(int, pokoj);
        QFETCH(int, od);
        QFETCH(int, dO);
        QFETCH(bool, ulozena);
        outOfOrder(5, 10, 12);
        const Objednavka o(40, 0, den(0), den(od), den(dO), pokoj, 500);
        TMojeQuery q;
        QCOMPARE(o.JeKolize(q), !ulozena);
        QCOMPARE(o.ZarezervujKlientovi() == VysledekRezervace::Ulozena, ulozena);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), ulozena ? 1 : 0);
    }

    void freeRoomSearchSkipsIt()
    {
        outOfOrder(7, 10, 12);
        TMojeQuery q;
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 4, den(11), den(13)), 8);
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 4, den(13), den(14)), 7);
        outOfOrder(8, 12, 12);
        QCOMPARE(Objednavka::NajdiVolnyPokoj(q, 4, den(11), den(13)), 0);
        // The import's search in memory chooses as the desk's statement does.
        const VolnePokoje volne = VolnePokoje::Nacti(q, {3, 4}, den(0), den(30));
        for (int od = 8; od <= 14; ++od)
            for (int dO = od; dO <= 15; ++dO)
                QCOMPARE(volne.NajdiVolnyPokoj(4, den(od), den(dO)), Objednavka::NajdiVolnyPokoj(q, 4, den(od), den(dO)));
    }

    void webImport_data()
    {
        QTest::addColumn<SimRezervace>("host");
        QTest::addColumn<QString>("odpoved");
        QTest::addColumn<int>("pokoj");
        // room 5 (the only one of type 3) out of order days 1 to 3, room 7 day 2
        QTest::newRow("the type's only room") << guest("1", "3", 2, 4) << "-1" << 0;
        QTest::newRow("the type's only room, after the span") << guest("2", "3", 4, 5) << "1" << 5;
        QTest::newRow("another room of the type") << guest("3", "4", 1, 2) << "1" << 8;
        QTest::newRow("the lowest room, the span over") << guest("4", "4", 3, 3) << "1" << 7;
    }
    void webImport()
    {
        QFETCH(SimRezervace, host);
        QFETCH(QString, odpoved);
        QFETCH(int, pokoj);
        outOfOrder(5, 1, 3);
        outOfOrder(7, 2, 2);
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.web->pridejRezervaci(host);
        const int before = requests(*desk.web, "rezervace_na_vitrane2.php");
        desk.desk->ImportRezervaci();
        QTRY_VERIFY_WITH_TIMEOUT(requests(*desk.web, "rezervace_na_vitrane2.php") > before, 10000);
        QCOMPARE(desk.web->vysledky().value(host.id), odpoved);
        QCOMPARE(TestDatabase::value("SELECT COALESCE(MAX(pokoj_id), 0) FROM objednavky_pokoje_tab").toInt(), pokoj);
    }

    void exportCountsItOccupied()
    {
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední')");
        for (int d = 0; d < 6; ++d)
            TestDatabase::exec(QStringLiteral("INSERT INTO kalendar_typy_dnu_tab VALUES ('%1', 1)").arg(day(d)));
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (4, 1, 1, 1000)");
        // room 7 out of order days 1 to 3 in two spans that overlap, room 8 booked days 2 to 4
        outOfOrder(7, 1, 2);
        outOfOrder(7, 2, 3);
        TestDatabase::exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (40, 1, '%1', '%2', '%3', 8, 900)")
                               .arg(day(0), day(2), day(4)));
        QStringList obsazeno;
        for (const Exporty::CenaDne &c : DataExportu::cenyAObsazenost())
            obsazeno << QString::number(c.rezervovano);
        QCOMPARE(obsazeno, (QStringList{"0", "1", "2", "2", "1", "0"}));
    }

    void notOverBookedNights_data()
    {
        QTest::addColumn<int>("od");
        QTest::addColumn<int>("dO");
        QTest::addColumn<QStringList>("rezervace");
        // room 7 is booked (no. 12) for nights 5 to 7
        const QString pobyt = QStringLiteral("č. 12: pokoj 201, %1 – %2, klient Novák")
                                  .arg(Historie::datum(den(5)), Historie::datum(den(7)));
        QTest::newRow("over the stay") << 4 << 9 << QStringList{pobyt};
        QTest::newRow("its last night") << 7 << 8 << QStringList{pobyt};
        QTest::newRow("the night after it") << 8 << 10 << QStringList{};
        QTest::newRow("the night before it") << 1 << 4 << QStringList{};
    }
    void notOverBookedNights()
    {
        QFETCH(int, od);
        QFETCH(int, dO);
        QFETCH(QStringList, rezervace);
        TestDatabase::exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (40, 12, '%1', '%2', '%3', 7, 900)")
                               .arg(day(0), day(5), day(7)));
        QStringList pojmenovane{"stale"};
        const int id = MimoProvozPokoju::pridej({-1, 7, den(od), den(dO), "Malování"}, "201", &pojmenovane);
        QCOMPARE(pojmenovane, rezervace);
        QCOMPARE(id > 0, rezervace.isEmpty());
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM mimo_provoz_tab").toInt(), rezervace.isEmpty() ? 1 : 0);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM historie_zmen_tab").toInt(), rezervace.isEmpty() ? 1 : 0);
    }

    // Another desk takes the room out of order after this one chose it and
    // before it books: the booking, checked under the room's lock, is refused.
    void takenOutOfOrderBeforeTheBooking()
    {
        const Objednavka o(40, den(0), den(3), den(4), 0, 3);
        QCOMPARE(o.pokoj_id, 5);
        auto other = TestDatabase::openAnother();
        other->makeCurrent();
        QVERIFY(MimoProvozPokoju::pridej({-1, 5, den(4), den(6), "Voda"}, "105", nullptr) > 0);
        TestDatabase::db().makeCurrent();
        QCOMPARE(o.ZarezervujKlientovi(), VysledekRezervace::Kolize);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 0);
    }

    // Round after round one desk books nights of room 5 while the other
    // takes an overlapping span of it out of order: one of them only wins.
    void bookingAndOutOfOrderNeverOverlap()
    {
        constexpr int kola = 60;
        std::vector<std::atomic<int>> vitezove(kola);
        const QStringList chyby = souboj(kola, [](int) { return TestDatabase::openAnother(); }, [&](int desk, int kolo) {
            const QDate od = den(10 + 4 * kolo);
            if (desk == 0) {
                if (Objednavka(40, 0, den(0), od, od.addDays(1), 5, 500).ZarezervujKlientovi() == VysledekRezervace::Ulozena)
                    ++vitezove[kolo];
            } else if (MimoProvozPokoju::pridej({-1, 5, od.addDays(1), od.addDays(2), "Oprava"}, "105", nullptr) > 0) {
                ++vitezove[kolo];
            }
        });
        TestDatabase::db().makeCurrent();   // desk 0 ran on this thread on a connection of its own
        QCOMPARE(chyby, QStringList());
        for (int kolo = 0; kolo < kola; ++kolo)
            QVERIFY2(vitezove[kolo] == 1, qPrintable(QStringLiteral("round %1: %2 won").arg(kolo).arg(vitezove[kolo])));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab o, mimo_provoz_tab m "
                                     "WHERE o.pokoj_id = m.pokoj_id AND o.od_kdy <= m.do_kdy AND m.od_kdy <= o.do_kdy")
                     .toInt(),
                 0);
    }

    // A span removed at another desk since this one listed it is told, not removed twice.
    void removedMeanwhile()
    {
        const int id = MimoProvozPokoju::pridej({-1, 5, den(1), den(2), "Voda"}, "105", nullptr);
        QVERIFY(id > 0);
        TMojeQuery q;
        const std::vector<MimoProvoz> nactene = MimoProvozPokoju::nactiPokoje(q, 5);
        QCOMPARE(nactene.size(), std::size_t(1));
        auto other = TestDatabase::openAnother();
        TMojeQuery o(*other);
        o.exec(QStringLiteral("UPDATE mimo_provoz_tab SET do_kdy = '%1'").arg(day(4)));
        try {
            MimoProvozPokoju::odstran(nactene.front(), "105");
            QFAIL("removed a span changed meanwhile");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Conflict);
        }
        MimoProvozPokoju::odstran(MimoProvozPokoju::nactiPokoje(q, 5).front(), "105");
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM mimo_provoz_tab").toInt(), 0);
    }
};

QTEST_MAIN(TestMimoProvoz)
#include "test_mimo_provoz.moc"
