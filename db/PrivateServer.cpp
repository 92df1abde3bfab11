#include "db/PrivateServer.h"
#include "db/DatabaseError.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <optional>

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

/** The command line of a process, one argument per element. */
QList<QByteArray> commandLine(qint64 pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> args = cmdline.readAll().split('\0');
    if (!args.isEmpty() && args.last().isEmpty())
        args.removeLast();
    return args;
}

bool ownedByUs(qint64 pid)
{
    struct stat st {};
    return ::stat(QStringLiteral("/proc/%1").arg(pid).toLocal8Bit().constData(), &st) == 0
           && st.st_uid == ::geteuid();
}

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(path) : c;
}

// mariadb-install-db is a shell script that splits unquoted paths at blanks
// and expands wildcards in them.
bool shellSafe(const QString &path)
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9/_.+-]+$"));
    return safe.match(path).hasMatch();
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

/**
 * Holds the folder's lock file while a desk starts, joins or leaves. The
 * message says what really stands in the way: another desk, or a lock file
 * that cannot be written (a full disk, a folder without rights).
 */
class FolderLock
{
public:
    enum class Problem { None, HeldByOther, CannotWrite };

    explicit FolderLock(const QString &file) : m_lock(file)
    {
        m_lock.setStaleLockTime(0);
        const QDeadlineTimer deadline(120000);
        while (!m_lock.tryLock(250)) {
            if (m_lock.error() != QLockFile::LockFailedError) {
                m_problem = Problem::CannotWrite;
                m_text = QStringLiteral("Zámek %1 nelze vytvořit; je na disku místo a smí se do složky zapisovat?")
                             .arg(file);
                return;
            }
            // A lock file of no desk at all, left half-written when the disk
            // was full: nobody but us will ever remove it.
            qint64 pid = 0;
            if (!m_lock.getLockInfo(&pid, nullptr, nullptr)
                && QFileInfo(file).lastModified().secsTo(QDateTime::currentDateTime()) > 2) {
                m_lock.removeStaleLockFile();
                continue;
            }
            if (deadline.hasExpired()) {
                m_problem = Problem::HeldByOther;
                m_text = QStringLiteral("Zámek %1 drží jiný proces (%2).").arg(file).arg(pid);
                return;
            }
        }
    }

    Problem problem() const { return m_problem; }
    /** Throws when the lock is not held. */
    void require() const
    {
        if (m_problem != Problem::None)
            throw DatabaseError(m_text);
    }

private:
    QLockFile m_lock;
    Problem m_problem = Problem::None;
    QString m_text;
};

// A server that hangs (stopped, out of disk) must not hold the desk's start
// or exit for ever: its probes and its shutdown wait a bounded time.
QString boundedWaits()
{
    return QStringLiteral(";MYSQL_OPT_CONNECT_TIMEOUT=10;MYSQL_OPT_READ_TIMEOUT=10;MYSQL_OPT_WRITE_TIMEOUT=10");
}

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

bool PrivateServer::isOurServer(qint64 pid) const
{
    // Only the server started on this folder's data: a pid file may outlive
    // its server and its pid come to name any other process, even another
    // MariaDB server.
    if (!processAlive(pid) || !ownedByUs(pid))
        return false;
    const QList<QByteArray> args = commandLine(pid);
    if (args.isEmpty())
        return false;
    const QByteArray &program = args.first();
    if (!program.endsWith("mariadbd") && !program.endsWith("mysqld"))
        return false;
    const QString ourData = canonical(dataDir());
    for (const QByteArray &arg : args)
        if (arg.startsWith("--datadir=") && canonical(QString::fromLocal8Bit(arg.mid(10))) == ourData)
            return true;
    return false;
}

qint64 PrivateServer::serverPid() const
{
    const qint64 pid = readPid(pidFile());
    return isOurServer(pid) ? pid : 0;
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
    // The buffer pool holds the indexes of a large hotel's years of stays
    // (a million of them take some 200 MB); it is taken from the system
    // only as pages are read. A larger redo log spares a big web import
    // the flushes of a full one.
    cnf.write("# Written by the desk at every server start.\n"
              "[mysqld]\n"
              "skip_networking\n"
              "skip_name_resolve\n"
              "character_set_server=utf8mb4\n"
              "collation_server=utf8mb4_unicode_ci\n"
              "innodb_buffer_pool_size=256M\n"
              "innodb_log_file_size=64M\n"
              "max_connections=100\n");
}

void PrivateServer::install() const
{
    if (QFileInfo::exists(dataDir() + QStringLiteral("/mysql")))
        return;
    const qint64 logStart = QFileInfo(logFile()).size();
    // The script gets a plain alias of a folder whose path it would split.
    QString folder = m_folder;
    std::optional<QTemporaryDir> alias;
    if (!shellSafe(folder)) {
        const QString base = shellSafe(QDir::tempPath()) ? QDir::tempPath() : QStringLiteral("/tmp");
        alias.emplace(base + QStringLiteral("/vitrana-XXXXXX"));
        folder = alias->path() + QStringLiteral("/f");
        if (!alias->isValid() || !QFile::link(m_folder, folder))
            throw DatabaseError(QStringLiteral("Pro instalaci databázového serveru do %1 nelze vytvořit odkaz %2.")
                                    .arg(m_folder, folder));
    }
    QProcess p;
    // --force: install even where the host name does not resolve.
    QStringList args{QStringLiteral("--no-defaults"),
                     QStringLiteral("--force"),
                     QStringLiteral("--datadir=") + folder + QStringLiteral("/data"),
                     QStringLiteral("--tmpdir=") + folder + QStringLiteral("/tmp"),
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
                                .arg(dataDir(), logFile(), reasonInLog(logStart)));
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
    // What this start writes to the log, and only that, tells why it failed.
    m_logStart = QFileInfo(logFile()).size();
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
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socketPath() + boundedWaits());
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
        ::kill(static_cast<pid_t>(pid), SIGTERM);   // the child we started, still starting
    throw DatabaseError(QStringLiteral("Databázový server %1; podrobnosti jsou v protokolu %2.\n%3")
                            .arg(alive ? QStringLiteral("nepřijímá spojení")
                                       : QStringLiteral("se ukončil hned po spuštění"),
                                 logFile(), reasonInLog(m_logStart)));
}

QString PrivateServer::reasonInLog(qint64 from) const
{
    QStringList reason;
    // A full disk also keeps the server from writing why.
    const QStorageInfo disk(m_folder);
    if (disk.isValid() && disk.bytesAvailable() < 64 * 1024 * 1024)
        reason << QStringLiteral("Na disku se složkou %1 zbývá jen %2 MB volného místa.")
                      .arg(m_folder)
                      .arg(disk.bytesAvailable() / (1024 * 1024));

    QFile log(logFile());
    QList<QByteArray> lines;
    if (log.open(QIODevice::ReadOnly) && log.seek(qMin(from, log.size())))
        lines = log.readAll().trimmed().split('\n');
    lines.removeAll(QByteArray());
    QStringList errors;
    for (const QByteArray &line : lines)
        if (line.contains("[ERROR]") || line.startsWith("mariadb-install-db:"))
            errors << QString::fromLocal8Bit(line);
    if (errors.isEmpty())
        for (qsizetype i = qMax<qsizetype>(0, lines.size() - 8); i < lines.size(); ++i)
            errors << QString::fromLocal8Bit(lines[i]);
    if (errors.isEmpty())
        reason << QStringLiteral("Server do protokolu nic nezapsal.");
    return (reason + errors.mid(0, 12)).join(u'\n');
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
    lock.require();
    const bool launched = launchIfGone();
    QFile desk(deskFile());
    if (!desk.open(QIODevice::WriteOnly) || !desk.flush()) {
        // A server nobody is registered with would run on after us.
        desk.remove();
        if (launched && liveDesks() == 0)
            shutdown();
        throw DatabaseError(QStringLiteral("Soubor %1 nelze zapsat.").arg(deskFile()));
    }
    m_registered = true;
}

bool PrivateServer::launchIfGone()
{
    if (serverPid())
        return false;
    clearStaleFiles();
    install();
    launch();
    return true;
}

void PrivateServer::ensureRunning()
{
    if (!m_registered) {
        start();
        return;
    }
    prepareFolders();
    FolderLock lock(m_runDir + QStringLiteral("/vitrana.lock"));
    lock.require();
    launchIfGone();
}

void PrivateServer::release()
{
    if (!m_registered)
        return;
    m_registered = false;
    // Leaving must not leave our server running because the lock file
    // cannot be written (a full disk): then the desk leaves without it.
    // Only a desk holding the lock (one starting right now) keeps it running.
    FolderLock lock(m_runDir + QStringLiteral("/vitrana.lock"));
    if (lock.problem() == FolderLock::Problem::HeldByOther)
        lock.require();
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
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socketPath() + boundedWaits());
        if (db.open()) {
            db.exec(QStringLiteral("SHUTDOWN"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);

    // A clean shutdown first; then ask harder, each step with a bound. The
    // pid is checked again before every signal: it may have been reused.
    const auto waitForExit = [pid](int ms) {
        QDeadlineTimer deadline(ms);
        while (processAlive(pid) && !deadline.hasExpired())
            QThread::msleep(20);
        return !processAlive(pid);
    };
    if (waitForExit(30000))
        return;
    if (isOurServer(pid))
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    if (waitForExit(15000))
        return;
    if (isOurServer(pid))
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    waitForExit(5000);
}
