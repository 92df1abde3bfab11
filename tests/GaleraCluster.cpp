#include "GaleraCluster.h"

#include "db/Installation.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTcpServer>
#include <stdexcept>

#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString provider = QStringLiteral("/usr/lib/galera/libgalera_smm.so");
constexpr int nodeStartMs = 120000;
constexpr int viewChangeMs = 60000;
// sockaddr_un holds 108 bytes with the NUL; keep a margin like the private server.
constexpr int maxSocketPath = 100;

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString findProgram(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    return path;
}

QString programName()
{
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    return name.isEmpty() ? QStringLiteral("cluster") : name;
}

// mariadb-install-db and the state transfer scripts are shell scripts.
bool shellSafe(const QString &path)
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9/_.+-]+$"));
    return safe.match(path).hasMatch();
}

// Run by root, rsync's daemon on a joiner drops to nobody, who must reach the data directory.
bool othersCanEnter(const QString &path)
{
    for (QDir dir(path);; ) {
        struct stat st {};
        if (::stat(QFile::encodeName(dir.absolutePath()).constData(), &st) != 0 || !(st.st_mode & S_IXOTH))
            return false;
        if (dir.isRoot() || !dir.cdUp())
            return true;
    }
}

void makeFolder(const QString &path, mode_t mode)
{
    if (!QDir().mkpath(path) || ::chmod(QFile::encodeName(path).constData(), mode) != 0)
        fail(QStringLiteral("Cannot create the folder %1").arg(path));
}

} // namespace

struct GaleraCluster::Node
{
    QString dir;
    QString socket;
    int port = 0;
    int gcommPort = 0;
    int istPort = 0;
    int sstPort = 0;
    std::unique_ptr<QProcess> process;

    QString dataDir() const { return dir + QStringLiteral("/data"); }
    QString tmpDir() const { return dir + QStringLiteral("/tmp"); }
    QString optionFile() const { return dir + QStringLiteral("/node.cnf"); }
    QString log() const { return dir + QStringLiteral("/error.log"); }
};

GaleraCluster::GaleraCluster() = default;

GaleraCluster::~GaleraCluster()
{
    stop();
}

bool GaleraCluster::available(QString *reason)
{
    QString missing;
    if (!QFileInfo::exists(provider))
        missing = QStringLiteral("galera-4 is not installed (no %1)").arg(provider);
    else if (findProgram(QStringLiteral("rsync")).isEmpty())
        missing = QStringLiteral("rsync is not installed (the nodes' state transfer)");
    else if (findProgram(QStringLiteral("mariadbd")).isEmpty()
             || findProgram(QStringLiteral("wsrep_sst_rsync")).isEmpty())
        missing = QStringLiteral("mariadb-server is not installed");
    if (reason && !missing.isEmpty())
        *reason = missing + QStringLiteral("; scripts/setup.sh --test installs it");
    return missing.isEmpty();
}

void GaleraCluster::start(int count)
{
    stop();
    QString reason;
    if (!available(&reason))
        fail(reason);
    if (count < 1)
        fail(QStringLiteral("A cluster needs a node"));
    for (int i = 0; i < count; ++i)
        m_nodes.push_back(std::make_unique<Node>());
    m_clusterName = QStringLiteral("vitrana-test-%1-%2")
                        .arg(::getpid())
                        .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0'));
    try {
        prepareFolders();
        pickPorts();
        for (int i = 0; i < count; ++i)
            writeOptionFile(i);
        install();
        launch(0, true);
        waitUntilSynced(0, 1);
        // Before the joiners, so their state transfer brings it along.
        createAccount();
        // One joiner at a time: the donor serves one state transfer at a time anyway.
        for (int i = 1; i < count; ++i) {
            launch(i, false);
            waitUntilSynced(i, i + 1);
        }
        for (int i = 0; i < count; ++i)
            waitUntilSynced(i, count);
    } catch (...) {
        stop();
        throw;
    }
}

void GaleraCluster::prepareFolders()
{
    QString base = QStringLiteral(VITRANA_TEST_CLUSTER_DIR) + u'/' + programName();
    const bool asRoot = ::geteuid() == 0;
    if (shellSafe(base)) {
        makeFolder(base, 0755);
        if (asRoot && !othersCanEnter(base))
            base.clear();
    } else {
        base.clear();
    }
    if (base.isEmpty()) {
        const QString tmp = shellSafe(QDir::tempPath()) ? QDir::tempPath() : QStringLiteral("/tmp");
        base = QStringLiteral("%1/vitrana-galera-%2-%3").arg(tmp).arg(::geteuid()).arg(programName());
    }
    // Throwaway: whatever an earlier run left (its nodes died with it).
    QDir(base).removeRecursively();
    makeFolder(base, 0755);
    m_folder = base;

    if ((base + QStringLiteral("/node0/mysql.sock")).toLocal8Bit().size() > maxSocketPath) {
        const QByteArray hash = QCryptographicHash::hash(base.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
        m_socketFolder = QStringLiteral("%1/vitrana-galera-%2-%3")
                             .arg(QDir::tempPath())
                             .arg(::geteuid())
                             .arg(QString::fromLatin1(hash));
        QDir(m_socketFolder).removeRecursively();
        makeFolder(m_socketFolder, 0700);
    }

    uid_t nobodyUid = 65534;
    gid_t nobodyGid = 65534;
    if (const passwd *pw = ::getpwnam("nobody")) {
        nobodyUid = pw->pw_uid;
        nobodyGid = pw->pw_gid;
    }
    for (int i = 0; i < nodes(); ++i) {
        Node &n = *m_nodes[i];
        n.dir = base + QStringLiteral("/node%1").arg(i);
        n.socket = m_socketFolder.isEmpty() ? n.dir + QStringLiteral("/mysql.sock")
                                            : m_socketFolder + QStringLiteral("/node%1.sock").arg(i);
        makeFolder(n.dir, 0755);
        makeFolder(n.tmpDir(), 0700);
        makeFolder(n.dataDir(), 0750);
        // A joiner's data comes by rsync, whose daemon drops from root to nobody.
        if (i > 0 && asRoot && ::chown(QFile::encodeName(n.dataDir()).constData(), nobodyUid, nobodyGid) != 0)
            fail(QStringLiteral("Cannot hand %1 to the user nobody").arg(n.dataDir()));
    }
}

void GaleraCluster::pickPorts()
{
    // All held open until every one is picked, so no two are the same.
    std::vector<std::unique_ptr<QTcpServer>> held;
    const auto freePort = [&held] {
        auto server = std::make_unique<QTcpServer>();
        if (!server->listen(QHostAddress::LocalHost, 0))
            fail(QStringLiteral("No free port on 127.0.0.1: %1").arg(server->errorString()));
        const int port = server->serverPort();
        held.push_back(std::move(server));
        return port;
    };
    for (auto &n : m_nodes) {
        n->port = freePort();
        n->gcommPort = freePort();
        n->istPort = freePort();
        n->sstPort = freePort();
    }
}

void GaleraCluster::writeOptionFile(int node) const
{
    const Node &n = *m_nodes[node];
    QStringList members;
    for (const auto &m : m_nodes)
        members << QStringLiteral("127.0.0.1:%1").arg(m->gcommPort);

    QFile cnf(n.optionFile());
    if (!cnf.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("Cannot write %1").arg(cnf.fileName()));
    // Small buffers, logs and cache: three nodes share a small test machine.
    const QString text = QStringLiteral(
        "[mysqld]\n"
        "datadir=%1\n"
        "tmpdir=%2\n"
        "socket=%3\n"
        "pid-file=%4/mariadbd.pid\n"
        "log-error=%5\n"
        "port=%6\n"
        "bind-address=127.0.0.1\n"
        "skip_name_resolve\n"
        "character_set_server=utf8mb4\n"
        "collation_server=utf8mb4_unicode_ci\n"
        "max_connections=100\n"
        "binlog_format=ROW\n"
        "default_storage_engine=InnoDB\n"
        "innodb_autoinc_lock_mode=2\n"
        "innodb_buffer_pool_size=32M\n"
        "innodb_log_file_size=16M\n"
        "innodb_flush_log_at_trx_commit=2\n"
        "wsrep_on=ON\n"
        "wsrep_provider=%7\n"
        "wsrep_cluster_name=%8\n"
        "wsrep_cluster_address=gcomm://%9\n"
        "wsrep_node_address=127.0.0.1\n"
        "wsrep_node_name=node%10\n"
        "wsrep_sst_method=rsync\n"
        "wsrep_sst_receive_address=127.0.0.1:%11\n"
        "wsrep_provider_options=\"gmcast.listen_addr=tcp://127.0.0.1:%12;ist.recv_addr=127.0.0.1:%13;"
        "gcache.size=16M\"\n")
        .arg(n.dataDir(), n.tmpDir(), n.socket, n.dir, n.log())
        .arg(n.port)
        .arg(provider, m_clusterName, members.join(u','))
        .arg(node)
        .arg(n.sstPort)
        .arg(n.gcommPort)
        .arg(n.istPort);
    if (cnf.write(text.toUtf8()) < 0 || !cnf.flush())
        fail(QStringLiteral("Cannot write %1").arg(cnf.fileName()));
}

void GaleraCluster::install() const
{
    const Node &n = *m_nodes[0];
    QStringList args{QStringLiteral("--no-defaults"),
                     QStringLiteral("--force"),
                     QStringLiteral("--datadir=") + n.dataDir(),
                     QStringLiteral("--tmpdir=") + n.tmpDir(),
                     QStringLiteral("--auth-root-authentication-method=normal"),
                     QStringLiteral("--skip-test-db")};
    if (::geteuid() == 0)
        args << QStringLiteral("--user=root");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(findProgram(QStringLiteral("mariadb-install-db")), args);
    const bool finished = p.waitForFinished(nodeStartMs);
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        fail(QStringLiteral("mariadb-install-db into %1 failed (%2, exit code %3):\n%4")
                 .arg(n.dataDir(), p.errorString())
                 .arg(p.exitCode())
                 .arg(QString::fromLocal8Bit(p.readAll().right(4000))));
}

void GaleraCluster::launch(int node, bool newCluster)
{
    Node &n = *m_nodes[node];
    QStringList args{QStringLiteral("--defaults-file=") + n.optionFile()};
    if (newCluster)
        args << QStringLiteral("--wsrep-new-cluster");
    if (::geteuid() == 0)
        args << QStringLiteral("--user=root");
    n.process = std::make_unique<QProcess>();
    n.process->setProgram(findProgram(QStringLiteral("mariadbd")));
    n.process->setArguments(args);
    n.process->setWorkingDirectory(n.dir);
    // What comes before the server opens its log (and the transfer scripts' words) goes there too.
    n.process->setStandardOutputFile(n.log(), QIODevice::Append);
    n.process->setStandardErrorFile(n.log(), QIODevice::Append);
    // A test program killed by its timeout must not leave three servers behind.
    n.process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    n.process->start();
    if (!n.process->waitForStarted(10000))
        fail(failure(node, QStringLiteral("could not be started: ") + n.process->errorString()));
}

void GaleraCluster::waitUntilSynced(int node, int size)
{
    Node &n = *m_nodes[node];
    const QDeadlineTimer deadline(nodeStartMs);
    QString state;
    QString clusterSize;
    for (;;) {
        if (!running(node))
            fail(failure(node, QStringLiteral("exited (code %1) before it was synced").arg(n.process->exitCode())));
        state = status(node, QStringLiteral("wsrep_local_state_comment"));
        clusterSize = status(node, QStringLiteral("wsrep_cluster_size"));
        if (state == QLatin1String("Synced") && clusterSize.toInt() == size)
            return;
        if (deadline.hasExpired())
            fail(failure(node, QStringLiteral("was not synced in a cluster of %1 within %2 s (state \"%3\", "
                                              "cluster size \"%4\")")
                                   .arg(size)
                                   .arg(nodeStartMs / 1000)
                                   .arg(state, clusterSize)));
        // Waits a little, and notices the server exiting meanwhile.
        n.process->waitForFinished(200);
    }
}

void GaleraCluster::createAccount()
{
    QSqlDatabase db = QSqlDatabase::database(adminConnection(0));
    QSqlQuery q(db);
    for (const QString &statement :
         {QStringLiteral("CREATE USER '%1'@'127.0.0.1' IDENTIFIED BY '%2'").arg(user(), password()),
          QStringLiteral("GRANT ALL PRIVILEGES ON *.* TO '%1'@'127.0.0.1' WITH GRANT OPTION").arg(user())})
        if (!q.exec(statement))
            fail(failure(0, statement + QStringLiteral(" failed: ") + q.lastError().text()));
}

QString GaleraCluster::adminConnection(int node) const
{
    // Root through the node's socket: install-db's root without a password, brought to joiners by their transfer.
    const QString name = QStringLiteral("galera-admin-%1-%2").arg(quintptr(this)).arg(node);
    if (!QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setHostName(QStringLiteral("localhost"));
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=%1;MYSQL_OPT_CONNECT_TIMEOUT=5;"
                                            "MYSQL_OPT_READ_TIMEOUT=30;MYSQL_OPT_WRITE_TIMEOUT=30")
                                 .arg(m_nodes[node]->socket));
    }
    return name;
}

QString GaleraCluster::status(int node, const QString &variable) const
{
    if (!running(node))
        return {};
    QSqlDatabase db = QSqlDatabase::database(adminConnection(node), false);
    if (!db.isOpen() && !(QFileInfo::exists(m_nodes[node]->socket) && db.open()))
        return {};
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SHOW STATUS LIKE '%1'").arg(variable))) {
        db.close();   // reopened at the next call
        return {};
    }
    return q.next() ? q.value(1).toString() : QString();
}

bool GaleraCluster::running(int node) const
{
    const Node &n = *m_nodes.at(node);
    return n.process && n.process->state() != QProcess::NotRunning;
}

int GaleraCluster::port(int node) const
{
    return m_nodes.at(node)->port;
}

QString GaleraCluster::hostList() const
{
    QStringList hosts;
    for (const auto &n : m_nodes)
        hosts << QStringLiteral("127.0.0.1:%1").arg(n->port);
    return hosts.join(u',');
}

QString GaleraCluster::logFile(int node) const
{
    return m_nodes.at(node)->log();
}

QString GaleraCluster::user()
{
    return QStringLiteral("vitrana");
}

QString GaleraCluster::password()
{
    return QStringLiteral("vitrana-galera");
}

void GaleraCluster::kill(int node)
{
    if (!running(node))
        return;
    QSqlDatabase::database(adminConnection(node), false).close();
    Node &n = *m_nodes[node];
    n.process->kill();
    if (!n.process->waitForFinished(10000))
        fail(failure(node, QStringLiteral("did not end on SIGKILL")));

    int live = 0;
    for (int i = 0; i < nodes(); ++i)
        live += running(i) ? 1 : 0;
    // Not "Synced": a node left without a majority of the old cluster is not, yet its size is right.
    for (int i = 0; i < nodes(); ++i) {
        const QDeadlineTimer deadline(viewChangeMs);
        while (running(i) && status(i, QStringLiteral("wsrep_cluster_size")).toInt() != live) {
            if (deadline.hasExpired())
                fail(failure(i, QStringLiteral("still sees cluster size %1 %2 s after node %3 was killed")
                                    .arg(status(i, QStringLiteral("wsrep_cluster_size")))
                                    .arg(viewChangeMs / 1000)
                                    .arg(node)));
            m_nodes[i]->process->waitForFinished(200);
        }
    }
}

void GaleraCluster::stop()
{
    for (int i = 0; i < nodes(); ++i) {
        const QString name = QStringLiteral("galera-admin-%1-%2").arg(quintptr(this)).arg(i);
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
    // One at a time: nodes leaving together suspect each other and wait out a timeout.
    for (int i = nodes() - 1; i >= 0; --i) {
        if (!running(i))
            continue;
        QProcess &p = *m_nodes[i]->process;
        p.terminate();
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
    m_nodes.clear();
    // The data stays for a look after a failure; the next start clears it.
    if (!m_socketFolder.isEmpty())
        QDir(m_socketFolder).removeRecursively();
    m_socketFolder.clear();
}

void GaleraCluster::createDatabase(const QString &name)
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plainName.match(name).hasMatch())
        fail(QStringLiteral("Not a plain database name: %1").arg(name));
    {
        Configuration admin = config(0, name);
        admin.name.clear();
        TMojeDatabaze db(admin);
        db.open(user(), password());
        TMojeQuery q(db);
        q.exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        q.exec(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(name));
        q.exec(QStringLiteral("USE `%1`").arg(name));
        Installation::createTables(q, false);
    }
    m_database = name;

    // The other nodes apply the DDL on their own time; a desk connecting there
    // right away must find every table.
    const QString count =
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = '%1'").arg(name);
    const auto tables = [&](int node) {
        QSqlQuery q(QSqlDatabase::database(adminConnection(node)));
        return q.exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1")) && q.exec(count) && q.next()
                   ? q.value(0).toInt()
                   : -1;
    };
    const int expected = tables(0);
    if (expected <= 0)
        fail(failure(0, QStringLiteral("shows no tables in %1 after creating them").arg(name)));
    for (int i = 1; i < nodes(); ++i) {
        const QDeadlineTimer deadline(viewChangeMs);
        while (running(i) && tables(i) != expected) {
            if (deadline.hasExpired())
                fail(failure(i, QStringLiteral("has not got the %1 tables of %2 within %3 s")
                                    .arg(expected)
                                    .arg(name)
                                    .arg(viewChangeMs / 1000)));
            m_nodes[i]->process->waitForFinished(200);
        }
    }
}

Configuration GaleraCluster::config(int node, const QString &database) const
{
    Configuration c;
    c.mode = Configuration::Mode::MySql;
    c.host = QStringLiteral("127.0.0.1");
    c.port = port(node);
    c.name = database.isEmpty() ? m_database : database;
    c.listenPort = 0;   // any free port: test programs run side by side
    return c;
}

QString GaleraCluster::failure(int node, const QString &what) const
{
    const auto lines = [](const QString &log, bool errorsOnly) {
        QStringList all;
        QStringList errors;
        QFile file(log);
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (line.trimmed().isEmpty())
                    continue;
                all << QString::fromLocal8Bit(line);
                // rsync's own complaints carry no [ERROR] mark.
                if (line.contains("[ERROR]") || line.startsWith("rsync"))
                    errors << all.last();
            }
        // The errors say why; without any, the last words do.
        const QStringList &shown = errors.isEmpty() && !errorsOnly ? all : errors;
        return shown.mid(qMax<qsizetype>(0, shown.size() - 15));
    };
    QString text = QStringLiteral("Galera node %1 %2; its log is %3:\n%4")
                       .arg(node)
                       .arg(what, logFile(node), lines(logFile(node), false).join(u'\n'));
    // A joiner's state transfer fails on the donor's side as often as on its own.
    for (int i = 0; i < nodes(); ++i) {
        const QStringList errors = i == node ? QStringList() : lines(logFile(i), true);
        if (!errors.isEmpty())
            text += QStringLiteral("\nErrors in node %1's log %2:\n%3").arg(i).arg(logFile(i), errors.join(u'\n'));
    }
    return text;
}
