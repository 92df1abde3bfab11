#include "db/TMojeDatabaze.h"
#include "db/DatabaseError.h"
#include "db/TMojeQuery.h"

#include <QSqlError>
#include <QStringList>
#include <atomic>

namespace {
thread_local TMojeDatabaze *currentConnection = nullptr;
std::atomic<int> connectionCount{0};

QString errorText(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    if (text.isEmpty())
        text = error.text();
    return text;
}
} // namespace

TMojeDatabaze::TMojeDatabaze(const Configuration &config)
    : m_config(config)
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
        throw DatabaseError(QStringLiteral("Databázový ovladač %1 není nainstalován.")
                                .arg(m_config.mode == Configuration::Mode::Odbc ? "QODBC" : "QMYSQL"));
    db.setUserName(user);
    db.setPassword(password);
    if (!db.open())
        throw DatabaseError(errorText(db.lastError()));
    if (!currentConnection)
        currentConnection = this;
    readSqlMode();
}

void TMojeDatabaze::readSqlMode()
{
    TMojeQuery q(*this);
    q.setSql(QStringLiteral("SELECT @@SESSION.sql_mode AS sql_mode"));
    q.open();
    QStringList modes = q.text(QStringLiteral("sql_mode")).split(u',', Qt::SkipEmptyParts);
    // Values are written between double quotes, so ANSI_QUOTES (which makes
    // them identifiers) must be off; the grouped statements name columns
    // that are not grouped on, as MariaDB allows unless ONLY_FULL_GROUP_BY.
    const int before = modes.size();
    modes.removeAll(QStringLiteral("ANSI_QUOTES"));
    modes.removeAll(QStringLiteral("ONLY_FULL_GROUP_BY"));
    if (modes.contains(QStringLiteral("ANSI"))) {
        modes.removeAll(QStringLiteral("ANSI"));
        modes.append(QStringLiteral("REAL_AS_FLOAT,PIPES_AS_CONCAT,IGNORE_SPACE").split(u','));
    }
    if (modes.size() != before) {
        q.setSql(QStringLiteral("SET SESSION sql_mode = \"") + modes.join(u',') + u'"');
        q.exec();
    }
    m_format = SqlFormat(modes.contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));
}

void TMojeDatabaze::writeLocked(const QString &lockStatement,
                                const std::function<void(TMojeQuery &)> &statements)
{
    TMojeQuery q(*this);
    q.exec(QStringLiteral("SET autocommit=0"));
    try {
        q.exec(lockStatement);
        statements(q);
        q.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        // The first error is the one worth showing; what fails while cleaning
        // up (a lost connection, say) is a consequence of it.
        for (const char *cleanup : {"ROLLBACK", "UNLOCK TABLES", "SET autocommit=1"}) {
            try {
                q.exec(QString::fromLatin1(cleanup));
            } catch (const DatabaseError &) {
            }
        }
        throw;
    }
    q.exec(QStringLiteral("UNLOCK TABLES"));
    q.exec(QStringLiteral("SET autocommit=1"));
}

TMojeDatabaze &TMojeDatabaze::current()
{
    if (!currentConnection)
        throw DatabaseError(QStringLiteral("Databáze není připojena."));
    return *currentConnection;
}

void TMojeDatabaze::makeCurrent()
{
    currentConnection = this;
}
