#include "db/TMojeDatabaze.h"
#include "db/DatabaseError.h"
#include "db/SqlSpojeni.h"
#include "db/SqlZamky.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

namespace {
thread_local TMojeDatabaze *currentConnection = nullptr;
std::atomic<int> connectionCount{0};

// Per thread: the desk's indicator lives on its GUI thread; the second
// desks of the tests run on threads of their own without one.
thread_local std::function<void(bool)> waitIndicator;
thread_local int waitDepth = 0;

QString tr(const char *text)
{
    return QCoreApplication::translate("TMojeDatabaze", text);
}

DatabaseError notAnswering(int seconds, const QString &reason)
{
    return DatabaseError(tr("Databázový server neodpovídá ani po %1 s. Akce nebyla provedena; "
                            "zkuste to prosím za chvíli znovu.").arg(seconds),
                         reason, DatabaseError::Kind::ConnectionLost);
}

DatabaseError notRestored(const QString &reason)
{
    return DatabaseError(tr("Spojení s databází bylo přerušeno a nepodařilo se ho obnovit; "
                            "zkuste to prosím za chvíli znovu."),
                         reason, DatabaseError::Kind::ConnectionLost);
}
} // namespace

WaitingForDatabase::WaitingForDatabase()
{
    if (waitDepth++ == 0 && waitIndicator)
        waitIndicator(true);
}

WaitingForDatabase::~WaitingForDatabase()
{
    if (--waitDepth == 0 && waitIndicator)
        waitIndicator(false);
}

void TMojeDatabaze::setWaitIndicator(std::function<void(bool)> indicator)
{
    waitIndicator = std::move(indicator);
}

TMojeDatabaze::TMojeDatabaze(const Configuration &config)
    : m_config(config), m_lockWaitSeconds(config.lockWaitSeconds), m_pocitac(QSysInfo::machineHostName().left(255))
{
    // The desk's one connection bears the name the queries know it by;
    // further ones (a second desk in a test, an installation step) are numbered.
    m_name = QStringLiteral("HotelDatabaze");
    if (QSqlDatabase::contains(m_name))
        m_name += QStringLiteral("-%1").arg(++connectionCount);
    const bool odbc = config.mode == Configuration::Mode::Odbc;
    QSqlDatabase db = QSqlDatabase::addDatabase(odbc ? "QODBC" : "QMYSQL", m_name);
    if (!odbc) {
        db.setDatabaseName(config.name);
        m_servers = config.servers();
        useServer(0);
    }
    applyConnectOptions();
}

int TMojeDatabaze::readTimeoutSeconds() const
{
    // A statement waiting for another desk's tables must end with the
    // server's lock wait error, not as a server that stopped answering.
    return std::max(m_config.timeoutSeconds, m_lockWaitSeconds + 2);
}

void TMojeDatabaze::applyConnectOptions()
{
    QSqlDatabase db = database();
    const QString connect = QString::number(m_config.timeoutSeconds);
    const QString answer = QString::number(readTimeoutSeconds());
    if (m_config.mode == Configuration::Mode::Odbc) {
        // The MariaDB driver takes its bounds from the connection text only
        // (drivers ignore keys they do not know); the two attributes are the
        // standard ones, for drivers that honour them.
        QString dsn = m_config.dsn;
        while (dsn.endsWith(u';'))
            dsn.chop(1);
        db.setDatabaseName(dsn + QStringLiteral(";CONN_TIMEOUT=") + connect + QStringLiteral(";READ_TIMEOUT=") + answer
                           + QStringLiteral(";WRITE_TIMEOUT=") + answer);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=") + connect
                             + QStringLiteral(";SQL_ATTR_CONNECTION_TIMEOUT=") + answer);
        return;
    }
    QStringList options;
    if (!m_config.socket.isEmpty())
        options << QStringLiteral("UNIX_SOCKET=") + m_config.socket;
    options << QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=") + connect << QStringLiteral("MYSQL_OPT_READ_TIMEOUT=") + answer
            << QStringLiteral("MYSQL_OPT_WRITE_TIMEOUT=") + answer;
    db.setConnectOptions(options.join(u';'));
}

bool TMojeDatabaze::waitedOut(qint64 elapsedMs, int seconds)
{
    // The client library gives up right at its bound; a connection killed
    // or refused fails long before it.
    return elapsedMs >= seconds * qint64(1000) - 250;
}

void TMojeDatabaze::setRetryPauses(int firstMs, int longestMs)
{
    m_firstPauseMs = firstMs;
    m_longestPauseMs = longestMs;
}

int TMojeDatabaze::pauseMs() const
{
    qint64 pause = m_firstPauseMs;
    for (int i = 1; i < m_failures && pause < m_longestPauseMs; ++i)
        pause *= 2;
    return int(std::min<qint64>(pause, m_longestPauseMs));
}

bool TMojeDatabaze::pausing() const
{
    return m_failures > 0 && m_sinceFailure.isValid() && m_sinceFailure.elapsed() < pauseMs();
}

void TMojeDatabaze::failedToReach(const DatabaseError &error)
{
    m_lost = true;
    ++m_failures;
    m_failure = error;
    m_sinceFailure.start();
}

DatabaseError TMojeDatabaze::statementTimedOut(bool mayHaveRun, const QString &reason)
{
    const int seconds = readTimeoutSeconds();
    failedToReach(notAnswering(seconds, reason));
    // Inside a save the server rolls its transaction back when it finds the
    // connection closed; a single write may still be carried out then.
    if (m_saves > 0)
        return DatabaseError(tr("Databázový server neodpovídá ani po %1 s. Nic z této změny nebylo uloženo; "
                                "zkuste to prosím za chvíli znovu.").arg(seconds),
                             reason, DatabaseError::Kind::ConnectionLost);
    if (mayHaveRun)
        return DatabaseError(tr("Databázový server neodpovídá ani po %1 s; není jisté, zda se příkaz provedl. "
                                "Až bude server zase odpovídat, zkontrolujte prosím výsledek a případně akci zopakujte.")
                                 .arg(seconds),
                             reason, DatabaseError::Kind::ConnectionLost);
    return *m_failure;
}

TMojeDatabaze::~TMojeDatabaze()
{
    if (currentConnection == this)
        currentConnection = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase TMojeDatabaze::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool TMojeDatabaze::isOpen() const
{
    return database().isOpen();
}

void TMojeDatabaze::useServer(int index)
{
    m_server = index;
    if (m_servers.isEmpty() || !m_config.socket.isEmpty())
        return;
    QSqlDatabase db = database();
    db.setHostName(m_servers[index].host);
    db.setPort(m_servers[index].port);
}

QString TMojeDatabaze::serverInUse() const
{
    if (m_config.mode == Configuration::Mode::Odbc)
        return m_config.dsn;
    if (!m_config.socket.isEmpty() || m_servers.isEmpty())
        return m_config.socket;
    const Configuration::Server &s = m_servers[m_server];
    return (s.host.contains(u':') ? u'[' + s.host + u']' : s.host) + u':' + QString::number(s.port);
}

bool TMojeDatabaze::openServer(int index, QString &reason, bool &notAnswering)
{
    useServer(index);
    QSqlDatabase db = database();
    applyConnectOptions();
    QElapsedTimer took;
    took.start();
    if (!db.open()) {
        reason = DatabaseError::serverText(db.lastError());
        notAnswering = waitedOut(took.elapsed(), timeoutSeconds());
        return false;
    }
    m_lost = false;
    try {
        prepareSession();
        if (m_clusterNode) {
            // A node cut off from the others, or still receiving their data,
            // refuses work or would decide on stale rows: the next one is asked.
            TMojeQuery q(*this);
            q.setSql(SqlSpojeni::selectWsrepState());
            QString ready, state;
            for (q.open(); !q.eof(); q.next())
                (q.text(QStringLiteral("Variable_name")) == QLatin1String("wsrep_ready") ? ready : state) =
                    q.text(QStringLiteral("Value"));
            if (ready.compare(QLatin1String("ON"), Qt::CaseInsensitive) != 0) {
                db.close();
                reason = tr("Uzel clusteru %1 není připraven (%2).").arg(serverInUse(), state);
                notAnswering = false;
                return false;
            }
        }
    } catch (const DatabaseError &e) {
        db.close();
        reason = e.text();
        notAnswering = e.kind() == DatabaseError::Kind::ConnectionLost && waitedOut(took.elapsed(), timeoutSeconds());
        return false;
    }
    if (m_servers.size() > 1)
        qInfo("Vitrana: databázový server %s", qUtf8Printable(serverInUse()));
    if (m_serverChanged)
        m_serverChanged(serverInUse());
    return true;
}

void TMojeDatabaze::openAnyServer(int first)
{
    const int count = std::max<int>(1, int(m_servers.size()));
    QStringList reasons;
    bool allNotAnswering = true;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        QString reason;
        bool notAnswering = false;
        if (openServer(index, reason, notAnswering))
            return;
        allNotAnswering = allNotAnswering && notAnswering;
        reasons << (count > 1 ? serverInUse() + QStringLiteral(": ") + reason : reason);
    }
    const QString reason = reasons.join(u'\n');
    if (allNotAnswering)
        throw DatabaseError(tr("Databázový server neodpovídá ani po %1 s.").arg(timeoutSeconds()), reason,
                            DatabaseError::Kind::ConnectionLost);
    if (count > 1)
        throw DatabaseError(tr("Žádný z databázových serverů není dostupný."), reason, DatabaseError::Kind::ConnectionLost);
    throw DatabaseError(reason);
}

void TMojeDatabaze::open(const QString &user, const QString &password)
{
    QSqlDatabase db = database();
    if (!db.isValid())
        throw DatabaseError(tr("Databázový ovladač %1 není nainstalován.")
                                .arg(m_config.mode == Configuration::Mode::Odbc ? "QODBC" : "QMYSQL"));
    db.setUserName(user);
    db.setPassword(password);
    openAnyServer(0);
    if (!currentConnection)
        currentConnection = this;
    m_lost = false;
    m_failures = 0;
    m_failure.reset();
}

void TMojeDatabaze::prepareSession()
{
    readSqlMode();
    setLockWaitSeconds(m_lockWaitSeconds);
    // On a cluster node a read must see what any node committed before it,
    // or a save would decide on a node that has not applied it yet.
    TMojeQuery q(*this);
    q.setSql(SqlSpojeni::selectWsrepOn());
    q.open();
    m_clusterNode = !q.eof() && q.text(QStringLiteral("Value")).compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
    if (m_clusterNode)
        q.exec(SqlSpojeni::setSyncWait());
}

void TMojeDatabaze::setLockWaitSeconds(int seconds)
{
    m_lockWaitSeconds = seconds;
    if (isOpen()) {
        TMojeQuery q(*this);
        q.exec(SqlSpojeni::setLockWaits(seconds));
    }
}

void TMojeDatabaze::readSqlMode()
{
    TMojeQuery q(*this);
    q.setSql(SqlSpojeni::selectSqlMode());
    q.open();
    const QStringList before = q.text(QStringLiteral("sql_mode")).split(u',', Qt::SkipEmptyParts);
    QStringList modes = before;
    // Values are written between double quotes, so ANSI_QUOTES (which makes
    // them identifiers) must be off; the grouped statements name columns
    // that are not grouped on, as MariaDB allows unless ONLY_FULL_GROUP_BY.
    modes.removeAll(QStringLiteral("ANSI_QUOTES"));
    modes.removeAll(QStringLiteral("ONLY_FULL_GROUP_BY"));
    if (modes.contains(QStringLiteral("ANSI"))) {
        modes.removeAll(QStringLiteral("ANSI"));
        modes.append(QStringLiteral("REAL_AS_FLOAT,PIPES_AS_CONCAT,IGNORE_SPACE").split(u','));
    }
    // A value that does not fit its column must be an error, never stored
    // cut, clamped or zeroed, whatever a shared server is set to.
    if (!modes.contains(QStringLiteral("STRICT_TRANS_TABLES")) && !modes.contains(QStringLiteral("STRICT_ALL_TABLES")))
        modes.append(QStringLiteral("STRICT_ALL_TABLES"));
    if (modes != before)
        q.exec(SqlSpojeni::setSqlMode(modes));
    m_format = SqlFormat(modes.contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));
}

void TMojeDatabaze::reconnectIfLost()
{
    if (!m_lost || m_reconnecting)
        return;
    if (m_saves > 0)
        throw DatabaseError(tr("Spojení s databází bylo přerušeno během ukládání. Nic z této změny nebylo uloženo; "
                               "zkuste to prosím znovu."),
                            DatabaseError::Kind::ConnectionLost);
    // Not again so soon: the last attempt waited its whole bound or was refused.
    if (pausing())
        throw *m_failure;
    reconnect();
}

void TMojeDatabaze::connectionLost()
{
    m_lost = true;
    // The server has rolled the save back and dropped its locks with the
    // connection; nothing of it may be sent again on a new one.
    reconnectIfLost();
}

void TMojeDatabaze::reconnect()
{
    if (m_reconnecting)
        throw DatabaseError(tr("Spojení s databází bylo přerušeno."), DatabaseError::Kind::ConnectionLost);
    m_reconnecting = true;
    struct Done
    {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_reconnecting};

    QSqlDatabase db = database();
    db.close();
    ++m_generation;
    m_lost = true;
    try {
        if (m_reconnectHook)
            m_reconnectHook();
    } catch (const DatabaseError &e) {
        failedToReach(notRestored(e.text()));
        throw *m_failure;
    }
    // The next server of the list first: the one just lost may be gone for
    // good (a cluster node that died); it is tried again last.
    try {
        openAnyServer(m_servers.size() > 1 ? m_server + 1 : 0);
    } catch (const DatabaseError &e) {
        failedToReach(e.veta().startsWith(tr("Databázový server neodpovídá"))
                          ? notAnswering(timeoutSeconds(), e.detail())
                          : notRestored(e.detail().isEmpty() ? e.text() : e.detail()));
        throw *m_failure;
    }
    m_lost = false;
    m_failures = 0;
    m_failure.reset();
    qInfo("Spojení s databází bylo přerušeno a znovu navázáno.");
}

namespace {
// Runs of one save after it lost a race: enough for a contested room on a
// busy cluster, few enough that a save that cannot win is told soon.
constexpr int pokusu = 8;
std::atomic<qint64> repeatedCount{0};
std::function<void()> beforeCommit;
std::mutex beforeCommitLock;

void runBeforeCommit()
{
    std::function<void()> hook;
    {
        const std::lock_guard guard(beforeCommitLock);
        hook = beforeCommit;
    }
    if (hook)
        hook();
}
} // namespace

qint64 TMojeDatabaze::savesRepeated()
{
    return repeatedCount.load();
}

void TMojeDatabaze::setBeforeCommit(std::function<void()> hook)
{
    const std::lock_guard guard(beforeCommitLock);
    beforeCommit = std::move(hook);
}

void TMojeDatabaze::lock(TMojeQuery &q, QStringList zamky)
{
    Q_ASSERT(m_saves > 0);
    if (zamky.isEmpty())
        return;
    // One order for every save, so that two saves wait for each other
    // rather than each holding what the other wants.
    zamky.sort();
    zamky.removeDuplicates();
    // Bounded statements: an import may lock every room of a large hotel.
    constexpr qsizetype naDotaz = 1000;
    for (qsizetype i = 0; i < zamky.size(); i += naDotaz)
        q.exec(SqlZamky::lockRows(q.format(), zamky.mid(i, naDotaz)));
}

void TMojeDatabaze::save(const QStringList &zamky, const std::function<void(TMojeQuery &)> &statements)
{
    const WaitingForDatabase waiting;
    for (int pokus = 1;; ++pokus) {
        TMojeQuery q(*this);
        // Outside the save still: a connection lost since the last action is
        // opened again here, and the statement sent once more.
        q.exec(SqlSpojeni::readCommittedNext());
        // From here a lost connection fails the save whole: the server rolls
        // back what the lost session did, and nothing is repeated on a new one.
        struct InSave
        {
            int &depth;
            explicit InSave(int &d) : depth(++d) {}
            ~InSave() { --depth; }
        } inSave(m_saves);
        m_historie.clear();
        try {
            q.exec(SqlSpojeni::startTransaction());
            lock(q, zamky);
            statements(q);
            writeHistory(q);
            runBeforeCommit();
            try {
                q.exec(SqlSpojeni::commit());
            } catch (const DatabaseError &e) {
                if (e.kind() != DatabaseError::Kind::ConnectionLost)
                    throw;
                // the server may have committed before the connection broke
                throw DatabaseError(tr("Spojení s databází bylo přerušeno právě při dokončení ukládání; "
                                       "není jisté, zda se změna uložila. Zkontrolujte ji prosím."),
                                    DatabaseError::Kind::ConnectionLost);
            }
            return;
        } catch (const DatabaseError &e) {
            m_historie.clear();
            // The first error is the one worth showing; what fails while
            // cleaning up (a lost connection, say) is a consequence of it.
            try {
                q.exec(SqlSpojeni::rollback());
            } catch (const DatabaseError &) {
            }
            if (e.kind() != DatabaseError::Kind::Contention || pokus == pokusu)
                throw;
        } catch (...) {
            m_historie.clear();
            try {
                q.exec(SqlSpojeni::rollback());
            } catch (const DatabaseError &) {
            }
            throw;
        }
        ++repeatedCount;
        // A commit refused by the cluster lost to one already certified: the
        // run again waits for it in its reads, no pause needed. Two desks
        // that keep deadlocking each other get apart by a short pause,
        // longer each time and never the same for both.
        if (pokus > 1)
            QThread::msleep(QRandomGenerator::global()->bounded(0, 4 * pokus));
    }
}

void TMojeDatabaze::noteChange(const QString &popis, const QString &ids)
{
    Q_ASSERT(m_saves > 0);
    m_historie.append({popis, ids});
}

void TMojeDatabaze::writeHistory(TMojeQuery &q)
{
    const QList<SqlHistorie::Radek> radky = std::exchange(m_historie, {});
    if (!radky.isEmpty())
        q.exec(SqlHistorie::insertRows(q.format(), m_pocitac, radky));
}

TMojeDatabaze &TMojeDatabaze::current()
{
    if (!currentConnection)
        throw DatabaseError(tr("Databáze není připojena."));
    return *currentConnection;
}

void TMojeDatabaze::makeCurrent()
{
    currentConnection = this;
}
