#pragma once

#include "db/Configuration.h"

#include <QString>
#include <memory>
#include <vector>

class QProcess;

/**
 * A Galera cluster of Debian's mariadbd (galera-4, rsync state transfer) on
 * 127.0.0.1 for one test program: node 0 starts the cluster, the others join
 * it with an empty data directory. Every port is picked free at start, the
 * cluster name is new at every run and the folder is the program's own, so
 * programs run side by side without their clusters meeting.
 *
 * Tests connect over TCP with user() and password() (all privileges). The
 * nodes are killed with the test program if it dies, and stopped by stop()
 * or the destructor. Failures to start throw std::runtime_error naming the
 * node's log and its error lines.
 *
 * Start it on the thread that lives as long as the cluster: the nodes go
 * down with the thread that started them.
 */
class GaleraCluster
{
public:
    GaleraCluster();
    ~GaleraCluster();
    GaleraCluster(const GaleraCluster &) = delete;
    GaleraCluster &operator=(const GaleraCluster &) = delete;

    /** Whether galera-4, rsync and the server are installed; else why not, to skip a test with. */
    static bool available(QString *reason = nullptr);

    /** Starts the nodes and waits until all are synced (at most 120 s a node). Throws std::runtime_error. */
    void start(int count = 3);
    /** Shuts every running node down (SIGTERM, then SIGKILL after a bound). */
    void stop();
    /** SIGKILLs a node and waits until the other running nodes see the smaller cluster. Throws std::runtime_error. */
    void kill(int node);

    int nodes() const { return int(m_nodes.size()); }
    bool running(int node) const;
    /** The node's client port on 127.0.0.1. */
    int port(int node) const;
    /** "127.0.0.1:P1,127.0.0.1:P2,..." of all nodes, in node order. */
    QString hostList() const;
    QString logFile(int node) const;
    /** A status variable of a running node (SHOW STATUS), empty when the node does not answer. */
    QString status(int node, const QString &variable) const;

    static QString user();
    static QString password();

    /**
     * Makes the database anew on node 0 with the desk's tables and
     * installation data, and waits until every running node has them.
     * Later configurations name it. Throws DatabaseError or std::runtime_error.
     */
    void createDatabase(const QString &name);
    /** How a desk reaches a node: TCP to its port, the last created database unless another is named. */
    Configuration config(int node, const QString &database = QString()) const;

private:
    struct Node;

    void prepareFolders();
    void pickPorts();
    void writeOptionFile(int node) const;
    void install() const;
    void launch(int node, bool newCluster);
    /** Waits until the node is synced in a cluster of `size` nodes. */
    void waitUntilSynced(int node, int size);
    void createAccount();
    QString adminConnection(int node) const;
    QString failure(int node, const QString &what) const;

    QString m_folder;
    QString m_socketFolder;     // under /tmp when the node folders make too long a socket path
    QString m_clusterName;
    QString m_database;
    std::vector<std::unique_ptr<Node>> m_nodes;
};
