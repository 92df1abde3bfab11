// The connection under faults: killed between actions and inside a save,
// a lock another desk holds past the limit, a server without strict mode,
// and the private server killed under a running desk.

#include "TestDatabase.h"

#include "app/Startup.h"
#include "core/Recepce.h"
#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/SqlPokoje.h"
#include "db/SqlSpojeni.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "model/Pokoje.h"
#include "model/SkupinyPokoju.h"
#include "web/engine/UlozeniRezervaci.h"
#include "web/protocol/OdpovedWebu.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QtTest>
#include <functional>
#include <signal.h>

namespace {
using Akce = std::function<void()>;

int connectionId(TMojeDatabaze &db)
{
    TMojeQuery q(db);
    q.setSql(SqlSpojeni::selectConnectionId());
    q.open();
    return q.integer("id");
}

void kill(int id)
{
    auto other = TestDatabase::openAnother();
    TMojeQuery(*other).exec(QStringLiteral("KILL CONNECTION %1").arg(id));
}

// What another desk sees: the desk's own connection may be the one broken.
QStringList rowsSeenByAnother(const QString &select)
{
    return TestDatabase::rows(select, *TestDatabase::openAnother());
}

QStringList rooms()
{
    return rowsSeenByAnother("SELECT pokoj_id, cislo_pokoje FROM pokoje_tab ORDER BY pokoj_id");
}

WebRezervace webGuest(const QString &id, const QString &jmeno)
{
    WebRezervace r;
    r.rezervaceid = id;
    r.typ_pokoje_id = 1;
    r.od_kdy = QDate(2030, 5, 1);
    r.do_kdy = QDate(2030, 5, 3);
    r.cena = 3000;
    r.jmeno = jmeno;
    return r;
}
} // namespace

class TestSpojeni : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{QDir::tempPath() + "/vitrana-spojeni-XXXXXX"};

private slots:
    void initTestCase()
    {
        TestDatabase::setUp();
        showBusyCursorWhileWaiting();
    }
    void cleanupTestCase()
    {
        m_lax.reset();
        m_laxServer.reset();
        TestDatabase::tearDown();
    }
    void init()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (7, 'Host')");
        TestDatabase::db().setLockWaitSeconds(1);
    }

    void killedBetweenActions_data()
    {
        QTest::addColumn<Akce>("akce");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("load the rooms") << Akce([] { QCOMPARE(Pokoje().prvky().size(), std::size_t(2)); })
                                        << "SELECT COUNT(*) FROM pokoje_tab" << QStringList{"2"};
        QTest::newRow("save the rooms") << Akce([] {
            Pokoje p;
            p.Pridej("103", 1);
            p.Uloz();
        }) << "SELECT cislo_pokoje FROM pokoje_tab ORDER BY pokoj_id" << QStringList{"101", "102", "103"};
        QTest::newRow("store a reservation") << Akce([] {
            QVERIFY(Objednavka(7, 0, QDate(2030, 1, 1), QDate(2030, 2, 1), QDate(2030, 2, 3), 1, 900).Zarezervuj());
        }) << "SELECT cislo_objednavky, pokoj_id FROM objednavky_pokoje_tab ORDER BY 1" << QStringList{"5|2", "6|1"};
        QTest::newRow("delete a reservation") << Akce([] { Objednavka::SmazObjednavku(5); })
                                              << "SELECT COUNT(*) FROM objednavky_pokoje_tab" << QStringList{"0"};
    }
    void killedBetweenActions()
    {
        QFETCH(Akce, akce);
        QFETCH(QString, check);
        QFETCH(QStringList, expected);
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES (1, 5, '2030-01-01', '2030-01-01', '2030-01-02', 2, 0)");

        const int before = connectionId(TestDatabase::db());
        kill(before);
        akce();   // a session wait_timeout ended, a server restart: the same
        QVERIFY(connectionId(TestDatabase::db()) != before);
        QCOMPARE(rowsSeenByAnother(check), expected);
        // the new session is strict and waits boundedly, as the first was
        QVERIFY(TestDatabase::value("SELECT @@SESSION.sql_mode").toString().contains("STRICT"));
        QCOMPARE(TestDatabase::value("SELECT @@SESSION.lock_wait_timeout").toInt(), 1);
    }

    void killedInsideASave()
    {
        TMojeDatabaze &db = TestDatabase::db();
        const int id = connectionId(db);
        try {
            db.save(SqlPokoje::lockRooms(), [&](TMojeQuery &q) {
                q.exec(SqlPokoje::deleteRooms());
                q.exec(SqlPokoje::insertRoom(q.format(), 3, "103", 1));
                kill(id);
                q.exec(SqlPokoje::insertRoom(q.format(), 4, "104", 1));
            });
            QFAIL("the save went on after its connection was killed");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::ConnectionLost);
            QVERIFY2(e.text().contains(QStringLiteral("Nic z této změny nebylo uloženo")), qPrintable(e.text()));
        }
        QCOMPARE(rooms(), (QStringList{"1|101", "2|102"}));   // nothing half-written

        // The next action reconnects.
        Pokoje p;
        p.Pridej("103", 1);
        p.Uloz();
        QCOMPARE(rooms(), (QStringList{"1|101", "2|102", "3|103"}));
        QVERIFY(connectionId(db) != id);
    }

    void lockHeldPastTheLimit_data()
    {
        QTest::addColumn<QString>("held");
        QTest::addColumn<Akce>("akce");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QStringList>("expected");
        // The rooms load freely; their save needs the group links too.
        QTest::newRow("save the rooms") << "skupiny_pokoju_propojeni_tab" << Akce([] {
            Pokoje p;
            p.Pridej("103", 1);
            p.Uloz();
        }) << "SELECT cislo_pokoje FROM pokoje_tab ORDER BY pokoj_id" << QStringList{"101", "102", "103"};
        QTest::newRow("store a reservation") << "objednavky_pokoje_tab" << Akce([] {
            QVERIFY(Objednavka(7, 0, QDate(2030, 1, 1), QDate(2030, 2, 1), QDate(2030, 2, 3), 1, 900).Zarezervuj());
        }) << "SELECT COUNT(*) FROM objednavky_pokoje_tab" << QStringList{"1"};
        QTest::newRow("load the room groups") << "skupiny_pokoju_tab" << Akce([] {
            QCOMPARE(SkupinyPokoju().prvky().size(), std::size_t(0));
        }) << QString() << QStringList();
    }
    void lockHeldPastTheLimit()
    {
        QFETCH(QString, held);
        QFETCH(Akce, akce);
        QFETCH(QString, check);
        QFETCH(QStringList, expected);
        auto other = TestDatabase::openAnother();
        TMojeQuery(*other).exec("LOCK TABLES " + held + " WRITE");

        // The desk's own indicator; the cursor is read on this, the GUI, thread as each wait begins.
        QList<int> cursorsWhileWaiting;
        TMojeDatabaze::setWaitIndicator([&cursorsWhileWaiting](bool waiting) {
            showBusyCursor(waiting);
            if (waiting) {
                const QCursor *c = QGuiApplication::overrideCursor();
                cursorsWhileWaiting << (c ? int(c->shape()) : int(Qt::ArrowCursor));
            }
        });
        const auto restore = qScopeGuard([] { showBusyCursorWhileWaiting(); });
        try {
            akce();
            QFAIL("the action did not wait for the other desk's lock");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::LockWait);
            QVERIFY2(e.text().startsWith(QStringLiteral("Tabulky právě používá jiná recepce")), qPrintable(e.text()));
        }
        QVERIFY(!cursorsWhileWaiting.isEmpty());
        QCOMPARE(cursorsWhileWaiting, QList<int>(cursorsWhileWaiting.size(), int(Qt::WaitCursor)));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);   // gone once the wait ended

        TMojeQuery(*other).exec("UNLOCK TABLES");   // the other desk of an older version lets go
        if (!check.isEmpty())
            QVERIFY(rowsSeenByAnother(check) != expected);   // nothing stored
        akce();   // usable right after, without a restart
        if (!check.isEmpty())
            QCOMPARE(rowsSeenByAnother(check), expected);
    }

    void laxServerGetsStrictSessions()
    {
        TMojeQuery q(laxServer());
        q.setSql("SELECT @@GLOBAL.sql_mode AS g, @@SESSION.sql_mode AS s");
        q.open();
        QCOMPARE(q.text("g"), QString());
        QVERIFY(q.text("s").contains("STRICT"));
    }

    void strictValuesOnALaxServer_data()
    {
        QTest::addColumn<Akce>("akce");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("field");
        QTest::newRow("room number of 51 characters") << Akce([] {
            Pokoje p;
            p.Pridej(QString(51, u'1'), 1);
            p.Uloz();
        }) << "cislo_pokoje" << "číslo pokoje";
        QTest::newRow("group name of 101 characters") << Akce([] {
            SkupinyPokoju s;
            s.Pridej(QString(101, u'S'));
            s.Uloz();
        }) << "nazev_skupiny_pokoju" << "název skupiny pokojů";
        QTest::newRow("price beyond the column") << Akce([] {
            Objednavka(7, 0, QDate(2030, 1, 1), QDate(2030, 2, 1), QDate(2030, 2, 3), 1, 1e20).Zarezervuj();
        }) << "cena" << "cena";
    }
    void strictValuesOnALaxServer()
    {
        QFETCH(Akce, akce);
        QFETCH(QString, column);
        QFETCH(QString, field);
        TMojeDatabaze &lax = laxServer();
        const QStringList before = laxRows();
        lax.makeCurrent();
        try {
            akce();
            TestDatabase::db().makeCurrent();
            QFAIL("the value was taken");
        } catch (const DatabaseError &e) {
            TestDatabase::db().makeCurrent();
            QCOMPARE(e.kind(), DatabaseError::Kind::ValueRefused);
            QCOMPARE(e.column(), column);
            QVERIFY2(e.text().contains(u'„' + field + u'“'), qPrintable(e.text()));
        }
        QCOMPARE(laxRows(), before);
    }

    void webImportRefusesOneReservation()
    {
        TMojeDatabaze &lax = laxServer();
        const QStringList before = laxRows();
        RezervaceZWebu web;
        web.pocet_rezervaci = "2";
        web.rezervace = {webGuest("w1", QString(256, u'J')), webGuest("w2", "Eva")};
        lax.makeCurrent();
        const ImportRezervaci::Vysledek vysledek = ImportRezervaci::ulozRezervace(web, QDate(2030, 1, 1));
        TestDatabase::db().makeCurrent();
        QCOMPARE(vysledek.odpoved, QStringLiteral("pocet_rezervaci=2&rezervace[w1]=-1&rezervace[w2]=1"));
        const QStringList &odmitnute = vysledek.chyby;
        QCOMPARE(odmitnute.size(), 1);
        QVERIFY2(odmitnute[0].startsWith("Rezervace w1 (") && odmitnute[0].contains(QStringLiteral("„jméno“")),
                 qPrintable(odmitnute[0]));
        QCOMPARE(laxRows().size(), before.size() + 2);   // Eva and her stay only
        TMojeQuery q(lax);
        q.exec("DELETE FROM klienti_tab WHERE jmeno = 'Eva'");
        q.exec("DELETE FROM objednavky_pokoje_tab");
    }

    void privateServerKilledAndBroughtBack()
    {
        // A folder with a space and Czech letters, as a user may choose.
        Configuration c;
        c.datadir = m_dir.path() + QStringLiteral("/Recepce Žďár");
        c.name = "hotel";
        auto pripojeni = std::make_unique<Recepce>(c, true);
        pripojeni->pripoj();
        TMojeDatabaze &db = *pripojeni->databaze();
        const qint64 pid = pripojeni->server()->serverPid();
        QVERIFY(pid > 0);
        TMojeQuery(db).exec(SqlPokoje::insertRoom(db.format(), 1, "101", 1));

        ::kill(static_cast<pid_t>(pid), SIGKILL);
        QTRY_VERIFY(!TestDatabase::processAlive(pid));
        TMojeQuery q(db);
        q.setSql(SqlPokoje::selectRooms());
        q.open();   // the desk starts its server again and goes on
        QCOMPARE(q.text("cislo_pokoje"), QStringLiteral("101"));
        const qint64 again = pripojeni->server()->serverPid();
        QVERIFY(again > 0 && again != pid);

        pripojeni.reset();   // the desk exits: no server of its own left running
        QVERIFY(!TestDatabase::processAlive(again));
    }

private:
    std::unique_ptr<PrivateServer> m_laxServer;
    std::unique_ptr<TMojeDatabaze> m_lax;

    /** A server with sql_mode '' (a shared server set up so), the hotel tables in it. */
    TMojeDatabaze &laxServer()
    {
        if (!m_lax) {
            m_laxServer = std::make_unique<PrivateServer>(m_dir.path() + "/lax");
            m_laxServer->setExtraArguments({"--sql-mode="});
            m_laxServer->start();
            Installation::createDatabaseIfMissing(m_laxServer->socketPath(), "hotel", false);
            Configuration c;
            c.mode = Configuration::Mode::MySql;
            c.socket = m_laxServer->socketPath();
            m_lax = std::make_unique<TMojeDatabaze>(c);
            m_lax->open(PrivateServer::osUser(), QString());
            TMojeQuery q(*m_lax);
            q.exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2)");
            q.exec("INSERT INTO pokoje_tab VALUES (1, '101', 1)");
            q.exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')");
            q.exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (7, 'Host')");
        }
        return *m_lax;
    }

    QStringList laxRows()
    {
        QStringList all;
        for (const char *table : {"pokoje_tab", "skupiny_pokoju_tab", "klienti_tab", "objednavky_pokoje_tab"})
            all << TestDatabase::rows(QStringLiteral("SELECT * FROM ") + table, *m_lax);
        return all;
    }
};

QTEST_MAIN(TestSpojeni)
#include "test_spojeni.moc"
