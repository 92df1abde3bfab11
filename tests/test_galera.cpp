// The test cluster itself, and the cluster's behaviour the desk's saves rely on.

#include "GaleraCluster.h"

#include "db/TMojeDatabaze.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

std::unique_ptr<TMojeDatabaze> openNode(const GaleraCluster &cluster, int node)
{
    auto db = std::make_unique<TMojeDatabaze>(cluster.config(node));
    db->open(GaleraCluster::user(), GaleraCluster::password());
    return db;
}

// The statement's error code, "" when it succeeded.
QString run(TMojeDatabaze &db, const QString &statement)
{
    QSqlQuery q(db.database());
    return q.exec(statement) ? QString() : q.lastError().nativeErrorCode();
}

QString roomNumber(TMojeDatabaze &db, int id)
{
    QSqlQuery q(db.database());
    // Reads what the cluster has committed, not what this node has applied so far.
    if (!q.exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1"))
        || !q.exec(QStringLiteral("SELECT cislo_pokoje FROM pokoje_tab WHERE pokoj_id = %1").arg(id)))
        return QStringLiteral("error: ") + q.lastError().text();
    return q.next() ? q.value(0).toString() : QStringLiteral("no row");
}

} // namespace

class TestGalera : public QObject
{
    Q_OBJECT

    GaleraCluster cluster;

private slots:
    void initTestCase()
    {
        QString reason;
        if (!GaleraCluster::available(&reason))
            QSKIP(qPrintable(reason));
        QElapsedTimer started;
        started.start();
        try {
            cluster.start(3);
            qInfo("3 nodes synced in %lld ms", started.elapsed());
            cluster.createDatabase(QStringLiteral("test_galera"));
        } catch (const std::exception &e) {
            QFAIL(e.what());
        }
        const QStringList hosts = cluster.hostList().split(u',');
        QCOMPARE(hosts.size(), 3);
        QCOMPARE(hosts.at(2), QStringLiteral("127.0.0.1:%1").arg(cluster.port(2)));
    }
    void cleanupTestCase() { cluster.stop(); }

    void rowWrittenOnOneNodeIsReadOnAnother()
    {
        auto first = openNode(cluster, 0);
        auto third = openNode(cluster, 2);
        // The installation data came through to the third node as well.
        QSqlQuery types(third->database());
        QVERIFY(types.exec("SELECT COUNT(*) FROM typy_klientu_tab") && types.next());
        QVERIFY(types.value(0).toInt() > 0);

        QCOMPARE(run(*first, "INSERT INTO pokoje_tab (pokoj_id, cislo_pokoje, typ_pokoje_id) VALUES (1, '101', 0)"),
                 QString());
        QCOMPARE(roomNumber(*third, 1), QStringLiteral("101"));
    }

    void concurrentUpdatesOnTwoNodesFailOneAtCommit()
    {
        auto first = openNode(cluster, 0);
        auto second = openNode(cluster, 1);
        QCOMPARE(run(*first, "INSERT INTO pokoje_tab (pokoj_id, cislo_pokoje, typ_pokoje_id) VALUES (2, '201', 0)"),
                 QString());
        QCOMPARE(roomNumber(*second, 2), QStringLiteral("201"));

        // Row locks are local to a node: both updates go through, and only
        // the cluster's certification tells them apart at COMMIT.
        QCOMPARE(run(*first, "START TRANSACTION"), QString());
        QCOMPARE(run(*second, "START TRANSACTION"), QString());
        QCOMPARE(run(*first, "UPDATE pokoje_tab SET cislo_pokoje = 'first' WHERE pokoj_id = 2"), QString());
        QCOMPARE(run(*second, "UPDATE pokoje_tab SET cislo_pokoje = 'second' WHERE pokoj_id = 2"), QString());
        QCOMPARE(run(*first, "COMMIT"), QString());
        QCOMPARE(run(*second, "COMMIT"), QStringLiteral("1213"));

        // The loser's change is nowhere; its connection works on.
        for (int node = 0; node < 3; ++node) {
            auto db = openNode(cluster, node);
            QCOMPARE(roomNumber(*db, 2), QStringLiteral("first"));
        }
        QCOMPARE(run(*second, "UPDATE pokoje_tab SET cislo_pokoje = 'again' WHERE pokoj_id = 2"), QString());
        QCOMPARE(roomNumber(*first, 2), QStringLiteral("again"));
    }

    void killedNodeLeavesTheOthersWorking()
    {
        try {
            cluster.kill(2);
        } catch (const std::exception &e) {
            QFAIL(e.what());
        }
        QVERIFY(!cluster.running(2));
        QCOMPARE(cluster.status(0, "wsrep_cluster_size"), QStringLiteral("2"));
        auto first = openNode(cluster, 0);
        auto second = openNode(cluster, 1);
        QCOMPARE(run(*first, "INSERT INTO pokoje_tab (pokoj_id, cislo_pokoje, typ_pokoje_id) VALUES (3, '301', 0)"),
                 QString());
        QCOMPARE(roomNumber(*second, 3), QStringLiteral("301"));
    }
};

QTEST_GUILESS_MAIN(TestGalera)
#include "test_galera.moc"
