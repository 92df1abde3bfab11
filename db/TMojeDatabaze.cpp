#include "db/TMojeDatabaze.h"
#include "db/DatabaseError.h"
#include "db/SqlSpojeni.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSysInfo>
#include <QStringList>
#include <algorithm>
#include <atomic>
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
        db.setHostName(config.host);
        if (config.socket.isEmpty())
            db.setPort(config.port);
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
    if (m_lockSets > 0)
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

void TMojeDatabaze::open(const QString &user, const QString &password)
{
    QSqlDatabase db = database();
    if (!db.isValid())
        throw DatabaseError(tr("Databázový ovladač %1 není nainstalován.")
                                .arg(m_config.mode == Configuration::Mode::Odbc ? "QODBC" : "QMYSQL"));
    db.setUserName(user);
    db.setPassword(password);
    applyConnectOptions();
    QElapsedTimer took;
    took.start();
    if (!db.open()) {
        const QString reason = DatabaseError::serverText(db.lastError());
        if (waitedOut(took.elapsed(), timeoutSeconds()))
            throw DatabaseError(tr("Databázový server neodpovídá ani po %1 s.").arg(timeoutSeconds()), reason,
                                DatabaseError::Kind::ConnectionLost);
        throw DatabaseError(reason);
    }
    if (!currentConnection)
        currentConnection = this;
    m_lost = false;
    m_failures = 0;
    m_failure.reset();
    prepareSession();
}

void TMojeDatabaze::prepareSession()
{
    readSqlMode();
    setLockWaitSeconds(m_lockWaitSeconds);
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
    if (m_lockSets > 0)
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
    QElapsedTimer took;
    took.start();
    const auto failed = [&](const QString &reason) {
        failedToReach(waitedOut(took.elapsed(), timeoutSeconds()) ? notAnswering(timeoutSeconds(), reason)
                                                                  : notRestored(reason));
        return *m_failure;
    };
    applyConnectOptions();
    if (!db.open())
        throw failed(DatabaseError::serverText(db.lastError()));
    try {
        prepareSession();
    } catch (const DatabaseError &e) {
        db.close();
        throw failed(e.text());
    }
    m_lost = false;
    m_failures = 0;
    m_failure.reset();
    qInfo("Spojení s databází bylo přerušeno a znovu navázáno.");
}

void TMojeDatabaze::writeLocked(const QString &lockStatement,
                                const std::function<void(TMojeQuery &)> &statements)
{
    const WaitingForDatabase waiting;
    TMojeQuery q(*this);
    q.exec(SqlSpojeni::autocommitOff());
    // From here a lost connection fails the save whole: the server rolls
    // back what the lost session did, and nothing is repeated on a new one.
    struct InLockSet
    {
        int &depth;
        explicit InLockSet(int &d) : depth(++d) {}
        ~InLockSet() { --depth; }
    } inLockSet(m_lockSets);
    m_historie.clear();
    try {
        q.exec(SqlHistorie::withHistory(lockStatement));
        statements(q);
        writeHistory(q);
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
    } catch (...) {
        m_historie.clear();
        // The first error is the one worth showing; what fails while cleaning
        // up (a lost connection, say) is a consequence of it.
        for (const QString &cleanup : {SqlSpojeni::rollback(), SqlSpojeni::unlockTables(), SqlSpojeni::autocommitOn()}) {
            try {
                q.exec(cleanup);
            } catch (const DatabaseError &) {
            }
        }
        throw;
    }
    try {
        q.exec(SqlSpojeni::unlockTables());
        q.exec(SqlSpojeni::autocommitOn());
    } catch (const DatabaseError &e) {
        // Committed already; a lost connection took the locks with it and
        // the next statement reconnects.
        if (e.kind() != DatabaseError::Kind::ConnectionLost)
            throw;
    }
}

void TMojeDatabaze::noteChange(const QString &popis, const QString &ids)
{
    Q_ASSERT(m_lockSets > 0);
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
