// Desks on two nodes of a Galera cluster save at the same moment, round
// after round: no room is booked twice, no web reservation stored twice, no
// name or number given twice, nothing lost, and the cluster keeps going;
// a desk whose node dies goes on on the next node of its list.

#include "GaleraCluster.h"
#include "Souboj.h"

#include "db/DatabaseError.h"
#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "model/Pokoje.h"
#include "web/engine/UlozeniRezervaci.h"
#include "web/protocol/OdpovedWebu.h"

#include <QtTest>
#include <atomic>

namespace {
const int kola = 30;
const QDate prvni(2027, 3, 1);

QStringList rows(TMojeDatabaze &db, const QString &select)
{
    QStringList out;
    TMojeQuery q(db);
    q.setSql(select);
    for (q.open(); !q.eof(); q.next()) {
        QStringList row;
        for (int i = 0; i < q.columnNames().size(); ++i)
            row << q.text(q.columnNames()[i]);
        out << row.join(u'|');
    }
    return out;
}

int count(TMojeDatabaze &db, const QString &select)
{
    return rows(db, select).value(0).toInt();
}
} // namespace

class TestCluster : public QObject
{
    Q_OBJECT

    GaleraCluster cluster;
    std::unique_ptr<TMojeDatabaze> admin;   // on node 2, which neither racing desk uses

    std::unique_ptr<TMojeDatabaze> desk(int node, const QString &hosts = QString())
    {
        Configuration c = cluster.config(node);
        if (!hosts.isEmpty())
            c.host = hosts;
        auto db = std::make_unique<TMojeDatabaze>(c);
        db->open(GaleraCluster::user(), GaleraCluster::password());
        return db;
    }

    QStringList race(const std::function<void(int, int)> &work)
    {
        const qint64 repeated = TMojeDatabaze::savesRepeated();
        const QStringList errors = souboj(kola, [this](int d) { return desk(d); }, work);
        qInfo("saves run again after a lost race: %lld", TMojeDatabaze::savesRepeated() - repeated);
        return errors;
    }

    void exec(const QString &statement)
    {
        TMojeQuery q(*admin);
        q.exec(statement);
    }

private slots:
    void initTestCase()
    {
        QString reason;
        if (!GaleraCluster::available(&reason))
            QSKIP(qPrintable(reason));
        try {
            cluster.start(3);
            cluster.createDatabase(QStringLiteral("test_cluster"));
            admin = desk(2);
        } catch (const std::exception &e) {
            QFAIL(e.what());
        }
        QVERIFY(admin->isClusterNode());
        exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2), (7, 'Apartmá', 4)");
        exec("INSERT INTO pokoje_tab VALUES (5, '105', 1), (70, '700', 7)");
        exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'A'), (2, 1, 'B')");
    }
    void cleanupTestCase()
    {
        admin.reset();
        cluster.stop();
    }

    void bookingsOfOneRoom()
    {
        // Round r: desk 0 wants nights 4r..4r+2 of room 5, desk 1 nights 4r+1..4r+3.
        std::vector<std::atomic<int>> winners(kola);
        const QStringList errors = race([&](int d, int round) {
            const QDate od = prvni.addDays(4 * round + d);
            if (Objednavka(d + 1, 0, prvni, od, od.addDays(2), 5, 1000).Zarezervuj())
                ++winners[round];
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM objednavky_pokoje_tab a JOIN objednavky_pokoje_tab b "
                               "ON a.pokoj_id = b.pokoj_id AND a.cislo_objednavky < b.cislo_objednavky "
                               "AND a.od_kdy <= b.do_kdy AND b.od_kdy <= a.do_kdy"),
                 0);
        QCOMPARE(count(*admin, "SELECT COUNT(DISTINCT cislo_objednavky) FROM objednavky_pokoje_tab WHERE pokoj_id = 5"),
                 kola);
        for (int round = 0; round < kola; ++round)
            QVERIFY2(winners[round] == 1, qPrintable(QStringLiteral("round %1: %2 stored").arg(round).arg(winners[round])));
    }

    void webImportsOfTheSameAndOfCompetingReservations()
    {
        // Each round both desks import the same offer, and each one of its
        // own for the one room of type 7 on the same nights.
        const auto web = [](const QString &id, const QDate &od) {
            WebRezervace r;
            r.rezervaceid = id;
            r.typ_pokoje_id = 7;
            r.od_kdy = od;
            r.do_kdy = od.addDays(1);
            r.cena = 3000;
            r.jmeno = id;
            return r;
        };
        std::vector<std::atomic<int>> competing(kola);
        const QStringList errors = race([&](int d, int round) {
            const QDate od = prvni.addDays(200 + 6 * round);
            RezervaceZWebu reply;
            reply.pocet_rezervaci = QStringLiteral("2");
            reply.rezervace = {web(QStringLiteral("spolecna-%1").arg(round), od),
                               web(QStringLiteral("vlastni-%1-%2").arg(round).arg(d), od.addDays(3))};
            const ImportRezervaci::Vysledek v = ImportRezervaci::ulozRezervace(reply, QDate(2027, 1, 1));
            if (!v.preruseno.isEmpty())
                throw DatabaseError(v.preruseno);
            if (v.odpoved.contains(QStringLiteral("rezervace[vlastni-%1-%2]=1").arg(round).arg(d)))
                ++competing[round];
        });
        QCOMPARE(errors, QStringList());
        // Each offer stored once, with a client of its own.
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM webove_rezervace_tab WHERE rezervaceid LIKE 'spolecna-%'"), kola);
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM objednavky_pokoje_tab o JOIN klienti_tab k ON k.klient_id = o.klient_id "
                               "WHERE k.jmeno LIKE 'spolecna-%'"),
                 kola);
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM objednavky_pokoje_tab a JOIN objednavky_pokoje_tab b "
                               "ON a.pokoj_id = b.pokoj_id AND a.cislo_objednavky < b.cislo_objednavky "
                               "AND a.od_kdy <= b.do_kdy AND b.od_kdy <= a.do_kdy"),
                 0);
        QCOMPARE(count(*admin, "SELECT COUNT(*) - COUNT(DISTINCT cislo_objednavky) FROM objednavky_pokoje_tab"), 0);
        for (int round = 0; round < kola; ++round)
            QVERIFY2(competing[round] == 1, qPrintable(QStringLiteral("round %1: %2 stored").arg(round).arg(competing[round])));
    }

    void setUpAndClientsSavedOnTwoNodes()
    {
        // Each round both desks add a room of one number and one of their
        // own, and a client: one number is stored once, every id once.
        std::vector<std::atomic<int>> shared(kola);
        const QStringList errors = race([&](int d, int round) {
            Klient::PridejKlienta({{QStringLiteral("jmeno"), QStringLiteral("K%1-%2").arg(round).arg(d)}}, 1);
            Pokoje pokoje;
            pokoje.Pridej(QStringLiteral("S%1").arg(round), 1);
            pokoje.Pridej(QStringLiteral("D%1-%2").arg(round).arg(d), 1);
            try {
                pokoje.Uloz();
                ++shared[round];
            } catch (const DatabaseError &e) {
                if (e.kind() != DatabaseError::Kind::Conflict)
                    throw;
                pokoje.reloadKeepingChanges();   // the other desk's S room stays; D is added now
                pokoje.Uloz();
            }
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM pokoje_tab WHERE cislo_pokoje LIKE 'S%'"), kola);
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM pokoje_tab WHERE cislo_pokoje LIKE 'D%'"), 2 * kola);
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM klienti_tab WHERE jmeno LIKE 'K%'"), 2 * kola);
        for (int round = 0; round < kola; ++round)
            QVERIFY2(shared[round] >= 1, qPrintable(QString::number(round)));
    }

    void roomRemovedWhileBookedOnAnotherNode()
    {
        // Round r: room 1000 + r; desk 0 removes it, desk 1 books it. No
        // number or name is shared, only the room's row: never a booking
        // of a room that is gone.
        QStringList rooms;
        for (int round = 0; round < kola; ++round)
            rooms << QStringLiteral("(%1, 'R%1', 1)").arg(1000 + round);
        exec("INSERT INTO pokoje_tab VALUES " + rooms.join(", "));
        const QStringList errors = race([&](int d, int round) {
            const int pokoj = 1000 + round;
            if (d == 1) {
                Objednavka(2, 0, prvni, prvni.addDays(500), prvni.addDays(501), pokoj, 1000).ZarezervujKlientovi();
                return;
            }
            Pokoje pokoje;
            const auto &p = pokoje.prvky();
            const auto it = std::find_if(p.begin(), p.end(), [&](const Pokoj &x) { return x.pokoj_id == pokoj; });
            pokoje.Odstran(int(it - p.begin()));
            try {
                pokoje.Uloz();
            } catch (const DatabaseError &e) {
                if (e.kind() != DatabaseError::Kind::Conflict)
                    throw;
            }
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(rows(*admin, "SELECT o.pokoj_id FROM objednavky_pokoje_tab o LEFT JOIN pokoje_tab p "
                              "ON p.pokoj_id = o.pokoj_id WHERE p.pokoj_id IS NULL"),
                 QStringList());
    }

    // Last: it takes a node away.
    void aDeskGoesOnWhenItsNodeDies()
    {
        const QString hosts = QStringLiteral("127.0.0.1:%1,127.0.0.1:%2").arg(cluster.port(1)).arg(cluster.port(0));
        auto db = desk(1, hosts);
        db->makeCurrent();
        QCOMPARE(db->serverInUse(), QStringLiteral("127.0.0.1:%1").arg(cluster.port(1)));
        try {
            db->save({QStringLiteral("pokoj:5")}, [&](TMojeQuery &q) {
                q.exec(SqlPokoje::insertRoom(q.format(), 900, QStringLiteral("900"), 1));
                cluster.kill(1);
                q.exec(SqlPokoje::insertRoom(q.format(), 901, QStringLiteral("901"), 1));
            });
            QFAIL("a save whose node died must fail");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::ConnectionLost);
        }
        // The next action goes to the next node; nothing of the broken save is there.
        const QDate od = prvni.addDays(400);
        QVERIFY(Objednavka(1, 0, prvni, od, od, 5, 1000).Zarezervuj());
        QCOMPARE(db->serverInUse(), QStringLiteral("127.0.0.1:%1").arg(cluster.port(0)));
        QCOMPARE(count(*admin, "SELECT COUNT(*) FROM pokoje_tab WHERE pokoj_id IN (900, 901)"), 0);
        QCOMPARE(count(*admin, QStringLiteral("SELECT COUNT(*) FROM objednavky_pokoje_tab WHERE od_kdy = '%1'")
                                   .arg(od.toString(Qt::ISODate))),
                 1);
        TMojeDatabaze::current();   // still this desk's
        admin->makeCurrent();
    }
};

QTEST_GUILESS_MAIN(TestCluster)
#include "test_cluster.moc"
