#include "db/TMojeQuery.h"
#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"

#include <QDateTime>
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
    : m_db(&db), m_query(db.database())
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

void TMojeQuery::run()
{
    ++sentCount;
    m_empty = m_eof = true;
    if (!m_query.exec(m_sql)) {
        const QSqlError error = m_query.lastError();
        QString text = error.databaseText();
        if (text.isEmpty())
            text = error.text();
        throw DatabaseError(text);
    }
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
