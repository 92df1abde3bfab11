// Two desks on two connections store at the same moment, round after round:
// the table locks must keep their reservations from colliding and their
// reservation numbers and client identifiers unique.

#include "TestDatabase.h"

#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "model/Pobyt.h"

#include <QtTest>
#include <atomic>
#include <barrier>
#include <functional>
#include <mutex>
#include <thread>

namespace {
const int kola = 150;
const QDate prvni(2025, 1, 1);

/**
 * Runs work(desk, round) for desks 0 and 1, each on a thread and a
 * connection of its own, both released together at every round. Returns the
 * errors the desks met.
 */
QStringList souboj(const std::function<void(int, int)> &work)
{
    std::barrier start(2);
    QStringList errors;
    std::mutex errorsLock;
    auto desk = [&](int d) {
        std::unique_ptr<TMojeDatabaze> db;
        try {
            db = TestDatabase::openAnother();
            db->makeCurrent();
        } catch (const std::exception &e) {
            const std::lock_guard guard(errorsLock);
            errors << QString::fromUtf8(e.what());
        }
        for (int round = 0; round < kola; ++round) {
            start.arrive_and_wait();
            if (!db)
                continue;
            try {
                work(d, round);
            } catch (const std::exception &e) {
                const std::lock_guard guard(errorsLock);
                errors << QString::fromUtf8(e.what());
            }
        }
    };
    std::thread other(desk, 1);
    desk(0);
    other.join();
    return errors;
}

// Round r: desk 0 wants days 4r..4r+2 of room 5, desk 1 days 4r+1..4r+3.
Objednavka pobyt(int desk, int round)
{
    const QDate od = prvni.addDays(4 * round + desk);
    return Objednavka(desk + 1, 0, prvni, od, od.addDays(2), 5, 1000);
}

void checkStoredReservations(const std::vector<int> &winners)
{
    QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab a, objednavky_pokoje_tab b "
                                 "WHERE a.pokoj_id = b.pokoj_id AND a.od_kdy <> b.od_kdy "
                                 "AND a.od_kdy <= b.do_kdy AND b.od_kdy <= a.do_kdy").toInt(), 0);
    QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), kola);
    QCOMPARE(TestDatabase::value("SELECT COUNT(DISTINCT cislo_objednavky) FROM objednavky_pokoje_tab").toInt(), kola);
    QCOMPARE(TestDatabase::value("SELECT MAX(cislo_objednavky) FROM objednavky_pokoje_tab").toInt(), kola - 1);
    for (int round = 0; round < kola; ++round)
        QVERIFY2(winners[round] == 1, qPrintable(QStringLiteral("round %1: %2 desks stored").arg(round).arg(winners[round])));
}
} // namespace

class TestSoubojRecepci : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void reservationsNeverCollide()
    {
        std::vector<std::atomic<int>> winners(kola);
        const QStringList errors = souboj([&](int desk, int round) {
            const Objednavka o = pobyt(desk, round);
            if (o.Zarezervuj())
                ++winners[round];
        });
        QCOMPARE(errors, QStringList());
        checkStoredReservations(std::vector<int>(winners.begin(), winners.end()));
    }

    void noReservationOutlivesItsClient()
    {
        // Desk 0 books client r as the desk does; desk 1 deletes client r
        // when it has no reservation, checking and deleting under one lock
        // set. Each round exactly one of them wins.
        QStringList clients;
        for (int round = 0; round < kola; ++round)
            clients << QStringLiteral("(%1, 1, 'k%1')").arg(round + 1);
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES " + clients.join(", "));
        std::vector<std::atomic<int>> winners(kola);
        const QStringList errors = souboj([&](int desk, int round) {
            const int klient = round + 1;
            if (desk == 0) {
                const Objednavka o(klient, 0, prvni, prvni.addDays(round), prvni.addDays(round), 5, 1000);
                if (ZarezervujKlientovi(o) == VysledekRezervace::Ulozena)
                    ++winners[round];
                return;
            }
            TMojeDatabaze::current().writeLocked(
                "LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE", [&](TMojeQuery &q) {
                    q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab WHERE klient_id = %1").arg(klient));
                    q.open();
                    if (q.integer("pocet") > 0)
                        return;
                    q.exec(QStringLiteral("DELETE FROM klienti_tab WHERE klient_id = %1").arg(klient));
                    ++winners[round];
                });
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab o LEFT JOIN klienti_tab k "
                                     "ON k.klient_id = o.klient_id WHERE k.klient_id IS NULL").toInt(), 0);
        for (int round = 0; round < kola; ++round)
            QVERIFY2(winners[round] == 1, qPrintable(QStringLiteral("round %1: %2 desks won").arg(round).arg(winners[round])));
    }

    void webClientIdentifiersAreUnique()
    {
        std::vector<int> ids[2];
        const QStringList errors = souboj([&](int desk, int round) {
            Klient k(0, QStringLiteral("%1-%2").arg(desk).arg(round));
            k.UlozKlienta();
            ids[desk].push_back(k.klient_id);
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(TestDatabase::value("SELECT COUNT(DISTINCT klient_id) FROM klienti_tab").toInt(), 2 * kola);
        QCOMPARE(TestDatabase::value("SELECT MIN(klient_id) FROM klienti_tab").toInt(), 0);
        QCOMPARE(TestDatabase::value("SELECT MAX(klient_id) FROM klienti_tab").toInt(), 2 * kola - 1);
        // each desk holds the identifier its client was stored under
        for (int desk = 0; desk < 2; ++desk)
            for (int round = 0; round < kola; ++round)
                QCOMPARE(TestDatabase::value(QStringLiteral("SELECT jmeno FROM klienti_tab WHERE klient_id = %1")
                                                 .arg(ids[desk][round])).toString(),
                         QStringLiteral("%1-%2").arg(desk).arg(round));
    }

    void webImportAgainstTheDesk()
    {
        // Desk 0 stores as the web import does, inside its own lock set on
        // both tables; desk 1 as the new-reservation dialog does.
        std::vector<std::atomic<int>> winners(kola);
        const QStringList errors = souboj([&](int desk, int round) {
            Objednavka o = pobyt(desk, round);
            if (desk == 1) {
                if (o.Zarezervuj())
                    ++winners[round];
                return;
            }
            TMojeDatabaze::current().writeLocked(
                "LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE", [&](TMojeQuery &q) {
                    if (o.JeKolize(&q))
                        return;
                    Klient k(0, QStringLiteral("web-%1").arg(round));
                    k.UlozKlienta(&q);
                    o.klient_id = k.klient_id;
                    if (o.Zarezervuj(&q))
                        ++winners[round];
                });
        });
        QCOMPARE(errors, QStringList());
        checkStoredReservations(std::vector<int>(winners.begin(), winners.end()));
        // every web reservation belongs to the client stored with it
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab o LEFT JOIN klienti_tab k "
                                     "ON k.klient_id = o.klient_id WHERE DATEDIFF(o.od_kdy, '2025-01-01') % 4 = 0 "
                                     "AND NOT (k.jmeno <=> CONCAT('web-', DATEDIFF(o.od_kdy, '2025-01-01') DIV 4))")
                     .toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSoubojRecepci)
#include "test_souboj_recepci.moc"
