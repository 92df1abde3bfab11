#include "db/SqlIndexy.h"

namespace SqlIndexy {

// Table, index and column names come from the desk's own list, never from a user.

QString selectIndexColumns(const QStringList &tables)
{
    return QStringLiteral("SELECT TABLE_NAME AS tabulka, INDEX_NAME AS nazev, COLUMN_NAME AS sloupec "
                          "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME IN (\"")
           + tables.join(QStringLiteral("\", \"")) + QStringLiteral("\") ORDER BY TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX");
}

QString addIndexes(const QString &table, const QList<QPair<QString, QStringList>> &indexes)
{
    QStringList parts;
    for (const auto &index : indexes)
        parts << QStringLiteral("ADD INDEX ") + index.first + QStringLiteral(" (") + index.second.join(QStringLiteral(", "))
                     + u')';
    return QStringLiteral("ALTER TABLE ") + table + u' ' + parts.join(QStringLiteral(", "));
}

QString countDuplicates(const QString &table, const QStringList &columns)
{
    const QString cols = columns.join(QStringLiteral(", "));
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM (SELECT 1 FROM ") + table + QStringLiteral(" GROUP BY ") + cols
           + QStringLiteral(" HAVING COUNT(*) > 1) AS dvojice");
}

QString addPrimaryKey(const QString &table, const QStringList &columns)
{
    return QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD PRIMARY KEY (") + columns.join(QStringLiteral(", "))
           + u')';
}

} // namespace SqlIndexy
