// Two desks on two connections store at the same moment, round after round:
// the saves' row locks must keep their reservations from colliding, their
// reservation numbers and client identifiers unique, and every reservation
// pointing at a client that exists.

#include "Souboj.h"
#include "TestDatabase.h"

#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "db/SqlObjednavky.h"

#include <QtTest>
#include <atomic>
#include <functional>

namespace {
const int kola = 150;
const QDate prvni(2025, 1, 1);

QStringList souboj(const std::function<void(int, int)> &work)
{
    return ::souboj(kola, [](int) { return TestDatabase::openAnother(); }, work);
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
    void init()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 1)");   // the room both desks book
    }

    void reservationsNeverCollide()
    {
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (1, 'A'), (2, 'B')");
        std::vector<std::atomic<int>> winners(kola);
        const QStringList errors = souboj([&](int desk, int round) {
            const Objednavka o = pobyt(desk, round);
            if (o.Zarezervuj())
                ++winners[round];
        });
        QCOMPARE(errors, QStringList());
        checkStoredReservations(std::vector<int>(winners.begin(), winners.end()));
    }

    void webImportOfTheOldVersionAgainstTheDesk()
    {
        // Desk 0 stores as the web import of the previous version did, with
        // its statements under LOCK TABLES and its numbers the maximum plus
        // one (a desk not yet upgraded on the same server); desk 1 as the
        // new-reservation dialog does now.
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (2, 'B')");
        std::vector<std::atomic<int>> winners(kola);
        const QStringList errors = souboj([&](int desk, int round) {
            Objednavka o = pobyt(desk, round);
            if (desk == 1) {
                if (o.Zarezervuj())
                    ++winners[round];
                return;
            }
            TMojeQuery q;
            q.exec("SET autocommit=0");
            q.exec("LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE, historie_zmen_tab WRITE");
            bool stored = false;
            try {
                // The previous version's collision count, word for word.
                q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab WHERE pokoj_id = 5 AND "
                                        "((do_kdy >= '%1' AND (od_kdy <= '%2' OR do_kdy <= '%2')) OR "
                                        "(od_kdy >= '%1' AND od_kdy <= '%2'))")
                             .arg(o.od_kdy.toString(Qt::ISODate), o.do_kdy.toString(Qt::ISODate)));
                q.open();
                if (q.integer("pocet") == 0) {
                    q.exec(QStringLiteral("INSERT INTO klienti_tab SET jmeno = 'web-%1'").arg(round));
                    q.setSql("SELECT LAST_INSERT_ID() AS id, (SELECT MAX(cislo_objednavky) + 1 FROM "
                             "objednavky_pokoje_tab) AS cislo");
                    q.open();
                    const int klient = q.integer("id"), cislo = q.integer("cislo");
                    q.exec(SqlObjednavky::insertReservation(klient, cislo, prvni, o.od_kdy, o.do_kdy, 5, 1000));
                    stored = true;
                }
                q.exec("COMMIT");
            } catch (...) {
                q.exec("ROLLBACK");
                q.exec("UNLOCK TABLES");
                q.exec("SET autocommit=1");
                throw;
            }
            q.exec("UNLOCK TABLES");
            q.exec("SET autocommit=1");
            if (stored)
                ++winners[round];
        });
        QCOMPARE(errors, QStringList());
        checkStoredReservations(std::vector<int>(winners.begin(), winners.end()));
        // every web reservation belongs to the client stored with it
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab o LEFT JOIN klienti_tab k "
                                     "ON k.klient_id = o.klient_id WHERE DATEDIFF(o.od_kdy, '2025-01-01') % 4 = 0 "
                                     "AND NOT (k.jmeno <=> CONCAT('web-', DATEDIFF(o.od_kdy, '2025-01-01') DIV 4))")
                     .toInt(), 0);
    }

    void noReservationForADeletedClient()
    {
        // Round r: client 1000 + r without reservations. Desk 0 deletes it as
        // the edit-client dialog does, desk 1 books for it as the
        // new-reservation dialog does: exactly one of them may succeed.
        QStringList clients;
        for (int round = 0; round < kola; ++round)
            clients << QStringLiteral("(%1, 'K%2')").arg(1000 + round).arg(round);
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES " + clients.join(", "));
        std::vector<std::atomic<int>> deleted(kola), booked(kola);
        const QStringList errors = souboj([&](int desk, int round) {
            if (desk == 0) {
                if (Klient::SmazKlienta(1000 + round) == Klient::Smazani::Smazan)
                    ++deleted[round];
            } else {
                Objednavka o = pobyt(0, round);
                o.klient_id = 1000 + round;
                if (o.Zarezervuj())
                    ++booked[round];
            }
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab o LEFT JOIN klienti_tab k "
                                     "ON k.klient_id = o.klient_id WHERE k.klient_id IS NULL").toInt(), 0);
        for (int round = 0; round < kola; ++round)
            QVERIFY2(deleted[round] + booked[round] == 1,
                     qPrintable(QStringLiteral("round %1: deleted %2, booked %3")
                                    .arg(round).arg(deleted[round]).arg(booked[round])));
    }
};

QTEST_GUILESS_MAIN(TestSoubojRecepci)
#include "test_souboj_recepci.moc"
