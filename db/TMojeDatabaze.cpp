#include "db/TMojeDatabaze.h"
#include "db/DatabaseError.h"
#include "db/SqlSpojeni.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QStringList>
#include <atomic>

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
    : m_config(config), m_lockWaitSeconds(config.lockWaitSeconds)
{
    // The desk's one connection bears the name the queries know it by;
    // further ones (a second desk in a test, an installation step) are numbered.
    m_name = QStringLiteral("HotelDatabaze");
    if (QSqlDatabase::contains(m_name))
        m_name += QStringLiteral("-%1").arg(++connectionCount);
    const bool odbc = config.mode == Configuration::Mode::Odbc;
    QSqlDatabase db = QSqlDatabase::addDatabase(odbc ? "QODBC" : "QMYSQL", m_name);
    if (odbc) {
        db.setDatabaseName(config.dsn);
    } else {
        db.setDatabaseName(config.name);
        db.setHostName(config.host);
        if (config.socket.isEmpty())
            db.setPort(config.port);
        else
            db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + config.socket);
    }
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
    if (!db.open())
        throw DatabaseError(DatabaseError::serverText(db.lastError()));
    if (!currentConnection)
        currentConnection = this;
    m_lost = false;
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
    const auto failed = [](const QString &reason) {
        return DatabaseError(tr("Spojení s databází bylo přerušeno a nepodařilo se ho obnovit; "
                                "zkuste to prosím za chvíli znovu."),
                             reason, DatabaseError::Kind::ConnectionLost);
    };
    try {
        if (m_reconnectHook)
            m_reconnectHook();
    } catch (const DatabaseError &e) {
        throw failed(e.text());
    }
    if (!db.open())
        throw failed(DatabaseError::serverText(db.lastError()));
    try {
        prepareSession();
    } catch (const DatabaseError &e) {
        db.close();
        throw failed(e.text());
    }
    m_lost = false;
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
    try {
        q.exec(lockStatement);
        statements(q);
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
