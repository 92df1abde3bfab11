#include "db/PrivateServer.h"
#include "db/DatabaseError.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <atomic>

#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> deskSerial{0};

// A unix socket path must fit in sockaddr_un (108 bytes with the NUL).
constexpr int maxSocketPath = 100;

/** True when pid names a live (not zombie) process. */
bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
}

bool isServerProcess(qint64 pid)
{
    if (!processAlive(pid))
        return false;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return false;
    const QByteArray program = cmdline.readAll().split('\0').value(0);
    return program.endsWith("mariadbd") || program.endsWith("mysqld");
}

qint64 readPid(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readAll().trimmed().toLongLong();
}

QString findProgram(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin"});
    if (path.isEmpty())
        throw DatabaseError(QStringLiteral("Program %1 nebyl nalezen; je nainstalován balík mariadb-server?")
                                .arg(name));
    return path;
}

/** Holds the folder's lock file while a desk starts, joins or leaves. */
class FolderLock
{
public:
    explicit FolderLock(const QString &file) : m_lock(file)
    {
        m_lock.setStaleLockTime(0);
        if (!m_lock.tryLock(120000))
            throw DatabaseError(QStringLiteral("Zámek %1 drží jiný proces.").arg(file));
    }

private:
    QLockFile m_lock;
};

} // namespace

PrivateServer::PrivateServer(const QString &folder)
    : m_folder(QDir(folder).absolutePath())
{
    m_deskId = QStringLiteral("%1-%2").arg(::getpid()).arg(++deskSerial);
    m_runDir = m_folder + QStringLiteral("/run");
    if ((m_runDir + QStringLiteral("/mysql.socket")).toLocal8Bit().size() > maxSocketPath) {
        const QByteArray hash =
            QCryptographicHash::hash(m_folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
        m_runDir = QStringLiteral("%1/vitrana-%2-%3")
                       .arg(QDir::tempPath())
                       .arg(::geteuid())
                       .arg(QString::fromLatin1(hash));
    }
}

PrivateServer::~PrivateServer()
{
    try {
        release();
    } catch (const DatabaseError &) {
        // a destructor must not throw; the server is left to the next desk
    }
}

QString PrivateServer::osUser()
{
    if (const passwd *pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString PrivateServer::runDir() const { return m_runDir; }
QString PrivateServer::dataDir() const { return m_folder + QStringLiteral("/data"); }
// Private temporary files: servers sharing /tmp collide on temporary table names.
QString PrivateServer::tmpDir() const { return m_folder + QStringLiteral("/tmp"); }
QString PrivateServer::socketPath() const { return m_runDir + QStringLiteral("/mysql.socket"); }
QString PrivateServer::pidFile() const { return m_runDir + QStringLiteral("/mysql.pid"); }
QString PrivateServer::logFile() const { return m_folder + QStringLiteral("/mariadb.log"); }
QString PrivateServer::deskFile() const { return m_runDir + QStringLiteral("/desk.") + m_deskId; }

qint64 PrivateServer::serverPid() const
{
    const qint64 pid = readPid(pidFile());
    return isServerProcess(pid) ? pid : 0;
}

void PrivateServer::prepareFolders() const
{
    if (!QDir().mkpath(m_folder) || !QDir().mkpath(tmpDir()))
        throw DatabaseError(QStringLiteral("Složku %1 nelze vytvořit.").arg(m_folder));
    const QByteArray run = m_runDir.toLocal8Bit();
    ::mkdir(run.constData(), 0700);
    struct stat st {};
    if (::lstat(run.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw DatabaseError(QStringLiteral("Složku %1 nelze vytvořit.").arg(m_runDir));
    if (st.st_uid != ::geteuid())
        throw DatabaseError(QStringLiteral("Složka %1 patří jinému uživateli.").arg(m_runDir));
    if ((st.st_mode & 0777) != 0700)
        ::chmod(run.constData(), 0700);
}

void PrivateServer::writeOptionFile() const
{
    QFile cnf(m_folder + QStringLiteral("/mariadb.cnf"));
    if (!cnf.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DatabaseError(QStringLiteral("Soubor %1 nelze zapsat.").arg(cnf.fileName()));
    cnf.write("# Written by the desk at every server start.\n"
              "[mysqld]\n"
              "skip_networking\n"
              "skip_name_resolve\n"
              "character_set_server=utf8mb4\n"
              "collation_server=utf8mb4_unicode_ci\n"
              "innodb_buffer_pool_size=64M\n"
              "innodb_log_file_size=16M\n"
              "max_connections=100\n");
}

void PrivateServer::install() const
{
    if (QFileInfo::exists(dataDir() + QStringLiteral("/mysql")))
        return;
    QProcess p;
    // --force: install even where the host name does not resolve.
    QStringList args{QStringLiteral("--no-defaults"),
                     QStringLiteral("--force"),
                     QStringLiteral("--datadir=") + dataDir(),
                     QStringLiteral("--tmpdir=") + tmpDir(),
                     QStringLiteral("--auth-root-authentication-method=socket"),
                     QStringLiteral("--skip-test-db")};
    if (::geteuid() == 0)
        args << QStringLiteral("--user=root");
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(findProgram(QStringLiteral("mariadb-install-db")), args);
    const bool finished = p.waitForFinished(180000);
    const QByteArray output = p.readAll();
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QFile log(logFile());
        if (log.open(QIODevice::Append)) {
            log.write(output);
            log.write(QStringLiteral("mariadb-install-db: %1 (exit code %2)\n")
                          .arg(p.errorString())
                          .arg(p.exitCode())
                          .toLocal8Bit());
        }
        throw DatabaseError(QStringLiteral("Instalace databázového serveru do %1 selhala; podrobnosti jsou v %2.\n%3")
                                .arg(dataDir(), logFile(), logTail()));
    }
}

void PrivateServer::clearStaleFiles() const
{
    // What a crashed server left: a pid file naming a dead process and a
    // socket nobody listens on. The caller has checked no server runs.
    QFile::remove(pidFile());
    QFile::remove(socketPath());
}

void PrivateServer::launch()
{
    writeOptionFile();
    QStringList args{QStringLiteral("--defaults-file=") + m_folder + QStringLiteral("/mariadb.cnf"),
                     QStringLiteral("--datadir=") + dataDir(),
                     QStringLiteral("--socket=") + socketPath(),
                     QStringLiteral("--pid-file=") + pidFile(),
                     QStringLiteral("--log-error=") + logFile(),
                     QStringLiteral("--tmpdir=") + tmpDir(),
                     QStringLiteral("--skip-networking")};
    if (::geteuid() == 0)
        args << QStringLiteral("--user=root");
    args << m_extraArguments;

    // Detached, so the server outlives the desk that started it while other
    // desks still use it.
    QProcess server;
    server.setProgram(findProgram(QStringLiteral("mariadbd")));
    server.setArguments(args);
    server.setWorkingDirectory(m_folder);
    // What the server says before it opens its log goes to the log too.
    server.setStandardOutputFile(logFile(), QIODevice::Append);
    server.setStandardErrorFile(logFile(), QIODevice::Append);
    qint64 pid = 0;
    if (!server.startDetached(&pid))
        throw DatabaseError(QStringLiteral("Databázový server nelze spustit: %1").arg(server.errorString()));
    waitUntilReady(pid);
}

void PrivateServer::waitUntilReady(qint64 pid) const
{
    const QString probe = QStringLiteral("vitrana-probe-%1").arg(m_deskId);
    QDeadlineTimer deadline(m_startTimeoutMs);
    bool ready = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), probe);
        db.setHostName(QStringLiteral("localhost"));
        db.setUserName(osUser());
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socketPath());
        while (!deadline.hasExpired()) {
            if (!processAlive(pid))
                break;
            if (QFileInfo::exists(socketPath()) && db.open()) {
                ready = true;
                db.close();
                break;
            }
            QThread::msleep(50);
        }
    }
    QSqlDatabase::removeDatabase(probe);
    if (ready)
        return;
    const bool alive = processAlive(pid);
    if (alive)
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    throw DatabaseError(QStringLiteral("Databázový server %1; podrobnosti jsou v protokolu %2.\n%3")
                            .arg(alive ? QStringLiteral("nepřijímá spojení")
                                       : QStringLiteral("se ukončil hned po spuštění"),
                                 logFile(), logTail()));
}

QString PrivateServer::logTail() const
{
    QFile log(logFile());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    QStringList tail;
    for (qsizetype i = qMax<qsizetype>(0, lines.size() - 8); i < lines.size(); ++i)
        tail << QString::fromLocal8Bit(lines[i]);
    return tail.join(u'\n');
}

int PrivateServer::liveDesks() const
{
    int live = 0;
    const QStringList desks = QDir(m_runDir).entryList({QStringLiteral("desk.*")}, QDir::Files);
    for (const QString &desk : desks) {
        const qint64 pid = desk.mid(5).section(u'-', 0, 0).toLongLong();
        if (processAlive(pid))
            ++live;
        else
            QFile::remove(m_runDir + u'/' + desk);   // a desk that crashed
    }
    return live;
}

void PrivateServer::start()
{
    if (m_registered)
        return;
    prepareFolders();
    FolderLock lock(m_runDir + QStringLiteral("/vitrana.lock"));
    if (!serverPid()) {
        clearStaleFiles();
        install();
        launch();
    }
    QFile desk(deskFile());
    if (!desk.open(QIODevice::WriteOnly))
        throw DatabaseError(QStringLiteral("Soubor %1 nelze zapsat.").arg(deskFile()));
    m_registered = true;
}

void PrivateServer::release()
{
    if (!m_registered)
        return;
    m_registered = false;
    FolderLock lock(m_runDir + QStringLiteral("/vitrana.lock"));
    QFile::remove(deskFile());
    if (liveDesks() == 0)
        shutdown();
}

void PrivateServer::shutdown() const
{
    const qint64 pid = serverPid();
    if (!pid)
        return;
    const QString name = QStringLiteral("vitrana-shutdown-%1").arg(m_deskId);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setHostName(QStringLiteral("localhost"));
        db.setUserName(osUser());
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socketPath());
        if (db.open()) {
            db.exec(QStringLiteral("SHUTDOWN"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);

    // A clean shutdown first; then ask harder, each step with a bound.
    const auto waitForExit = [pid](int ms) {
        QDeadlineTimer deadline(ms);
        while (processAlive(pid) && !deadline.hasExpired())
            QThread::msleep(20);
        return !processAlive(pid);
    };
    if (waitForExit(30000))
        return;
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    if (waitForExit(15000))
        return;
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    waitForExit(5000);
}
