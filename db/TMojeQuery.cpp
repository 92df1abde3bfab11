#include "db/TMojeQuery.h"
#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlRecord>
#include <atomic>

namespace {
std::atomic<qint64> sentCount{0};
}

TMojeQuery::TMojeQuery()
    : TMojeQuery(TMojeDatabaze::current())
{
}

TMojeQuery::TMojeQuery(TMojeDatabaze &db)
    : m_db(&db), m_query(db.database()), m_generation(db.generation())
{
    m_query.setForwardOnly(true);
}

const SqlFormat &TMojeQuery::format() const
{
    return m_db->format();
}

void TMojeQuery::setSql(const QString &statement)
{
    m_sql = statement;
}

namespace {
// Whether a statement that lost its connection may simply be sent again: a
// read or a setting may; a write only when the server never received it.
bool safeToRepeat(const QSqlError &error, const QString &statement)
{
    const int code = error.nativeErrorCode().toInt();
    if (code != 2013 && code != 2055)
        return true;   // refused or never sent: nothing was done
    const QString verb = statement.trimmed().section(u' ', 0, 0).toUpper();
    return verb == QLatin1String("SELECT") || verb == QLatin1String("SET") || verb == QLatin1String("SHOW")
           || verb == QLatin1String("DO");
}
} // namespace

void TMojeQuery::renewIfStale()
{
    if (m_generation == m_db->generation())
        return;
    m_query = QSqlQuery(m_db->database());
    m_query.setForwardOnly(true);
    m_generation = m_db->generation();
}

void TMojeQuery::run()
{
    const WaitingForDatabase waiting;
    m_empty = m_eof = true;
    m_db->reconnectIfLost();
    renewIfStale();
    QElapsedTimer took;
    took.start();
    ++sentCount;
    if (m_query.exec(m_sql))
        return;
    const auto failed = [this](const QSqlError &e) {
        if (DatabaseError::isConnectionLost(e))
            m_db->m_lost = true;   // the next action reconnects
        return DatabaseError::fromSql(e, m_db->lockWaitSeconds());
    };
    const QSqlError error = m_query.lastError();
    if (!DatabaseError::isConnectionLost(error) || m_db->m_reconnecting)
        throw failed(error);
    const bool repeat = safeToRepeat(error, m_sql);
    // A hung or unreachable server: connecting again now would wait as long once more.
    if (TMojeDatabaze::waitedOut(took.elapsed(), m_db->readTimeoutSeconds()))
        throw m_db->statementTimedOut(!repeat, DatabaseError::serverText(error));

    // Outside a save: connect again and send the statement once more.
    m_db->connectionLost();
    if (!repeat)
        throw DatabaseError(QCoreApplication::translate("TMojeQuery",
                                                        "Spojení s databází bylo přerušeno uprostřed příkazu, není jisté, "
                                                        "zda se provedl. Spojení je znovu navázáno; zkontrolujte prosím "
                                                        "výsledek a případně akci zopakujte."),
                            DatabaseError::serverText(error), DatabaseError::Kind::ConnectionLost);
    renewIfStale();
    took.restart();
    ++sentCount;
    if (m_query.exec(m_sql))
        return;
    const QSqlError again = m_query.lastError();
    if (DatabaseError::isConnectionLost(again) && TMojeDatabaze::waitedOut(took.elapsed(), m_db->readTimeoutSeconds()))
        throw m_db->statementTimedOut(!safeToRepeat(again, m_sql), DatabaseError::serverText(again));
    throw failed(again);
}

void TMojeQuery::open()
{
    run();
    m_record = m_query.record();
    m_eof = !m_query.next();
    m_empty = m_eof;
}

void TMojeQuery::next()
{
    if (!m_eof)
        m_eof = !m_query.next();
}

void TMojeQuery::exec()
{
    run();
    m_rowsAffected = m_query.numRowsAffected();
    m_query.finish();
}

void TMojeQuery::exec(const QString &statement)
{
    setSql(statement);
    exec();
}

QVariant TMojeQuery::value(const QString &column) const
{
    if (m_eof)
        throw DatabaseError(QStringLiteral("Žádný řádek výsledku: %1").arg(column));
    const int index = m_record.indexOf(column);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Sloupec %1 ve výsledku není.").arg(column));
    return m_query.value(index);
}

QStringList TMojeQuery::columnNames() const
{
    QStringList names;
    for (int i = 0; i < m_record.count(); ++i)
        names << m_record.fieldName(i);
    return names;
}

int TMojeQuery::integer(const QString &column) const
{
    return value(column).toInt();
}

int TMojeQuery::integer(int column) const
{
    if (m_eof || column < 0 || column >= m_record.count())
        throw DatabaseError(QStringLiteral("Sloupec %1 ve výsledku není.").arg(column));
    return m_query.value(column).toInt();
}

QString TMojeQuery::text(const QString &column) const
{
    return value(column).toString();
}

double TMojeQuery::real(const QString &column) const
{
    return value(column).toDouble();
}

QDate TMojeQuery::date(const QString &column) const
{
    const QVariant v = value(column);
    if (v.isNull())
        return QDate();
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate();
    case QMetaType::QDateTime: return v.toDateTime().date();
    default: return QDate::fromString(v.toString().left(10), Qt::ISODate);
    }
}

qint64 TMojeQuery::statementsSent()
{
    return sentCount;
}
