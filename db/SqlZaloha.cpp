#include "db/SqlZaloha.h"

#include <QList>

namespace SqlZaloha {

Druh druhSloupce(const QString &dataType)
{
    static const QStringList cisla{"tinyint", "smallint", "mediumint", "int", "integer", "bigint",
                                   "decimal", "numeric", "float", "double", "real", "year"};
    static const QStringList bajty{"binary", "varbinary", "tinyblob", "blob", "mediumblob", "longblob", "bit"};
    const QString type = dataType.toLower();
    if (cisla.contains(type))
        return Druh::Cislo;
    if (bajty.contains(type))
        return Druh::Bajty;
    return Druh::Text;
}

QString quoteName(const QString &name)
{
    QString out = name;
    out.replace(u'`', QLatin1String("``"));
    return u'`' + out + u'`';
}

QString selectDatabaseName() { return QStringLiteral("SELECT DATABASE()"); }

QString selectTables()
{
    return QStringLiteral("SELECT TABLE_NAME, TABLE_ROWS FROM information_schema.TABLES "
                          "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_TYPE = 'BASE TABLE' AND TABLE_NAME <> 'recepce_tab' "
                          "ORDER BY TABLE_NAME");
}

QString selectColumns(const QString &table, const SqlFormat &format)
{
    return QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE FROM information_schema.COLUMNS "
                          "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ")
           + format.quotedText(table) + QStringLiteral(" ORDER BY ORDINAL_POSITION");
}

QString selectPrimaryKey(const QString &table, const SqlFormat &format)
{
    return QStringLiteral("SELECT COLUMN_NAME FROM information_schema.STATISTICS "
                          "WHERE TABLE_SCHEMA = DATABASE() AND INDEX_NAME = 'PRIMARY' AND TABLE_NAME = ")
           + format.quotedText(table) + QStringLiteral(" ORDER BY SEQ_IN_INDEX");
}

QString showCreateTable(const QString &table) { return QStringLiteral("SHOW CREATE TABLE ") + quoteName(table); }

QString selectOtherConnections()
{
    return QStringLiteral("SELECT USER, HOST, ID FROM information_schema.PROCESSLIST "
                          "WHERE DB = DATABASE() AND ID <> CONNECTION_ID() ORDER BY ID");
}

QString snapshotIsolation() { return QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"); }
QString startSnapshot() { return QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT"); }
QString commit() { return QStringLiteral("COMMIT"); }
QString rollback() { return QStringLiteral("ROLLBACK"); }

QString selectChunk(const QString &table, const QList<Sloupec> &columns, const QList<int> &key,
                    const QStringList &after, qint64 offset, int limit)
{
    QStringList select, order;
    for (const Sloupec &c : columns) {
        const QString name = quoteName(c.jmeno);
        // The server's own text of every value: exact decimals and dates, whatever the driver makes of them.
        select << (c.druh == Druh::Bajty ? QStringLiteral("HEX(%1)") : QStringLiteral("CAST(%1 AS CHAR)")).arg(name);
        // Without a key, text is ordered by its bytes: rows equal under the collation keep one order.
        if (key.isEmpty())
            order << (c.druh == Druh::Text ? QStringLiteral("CAST(%1 AS BINARY)").arg(name) : name);
    }
    for (int k : key)
        order << quoteName(columns[k].jmeno);
    QString sql = QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                  + quoteName(table);
    if (!key.isEmpty() && !after.isEmpty()) {
        // (a, b) > (x, y) spelled out: a > x OR (a = x AND b > y)
        QStringList any;
        for (int i = 0; i < key.size(); ++i) {
            QStringList all;
            for (int j = 0; j < i; ++j)
                all << quoteName(columns[key[j]].jmeno) + QStringLiteral(" = ") + after[j];
            all << quoteName(columns[key[i]].jmeno) + QStringLiteral(" > ") + after[i];
            any << u'(' + all.join(QStringLiteral(" AND ")) + u')';
        }
        sql += QStringLiteral(" WHERE ") + any.join(QStringLiteral(" OR "));
    }
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", ")) + QStringLiteral(" LIMIT ")
           + SqlFormat::integer(limit);
    if (key.isEmpty())
        sql += QStringLiteral(" OFFSET ") + SqlFormat::integer(offset);
    return sql;
}

QString scriptSessionStart()
{
    // The values are written with backslash escapes and in double quotes: the
    // script sets the one mode that reads them so; a zero in an
    // AUTO_INCREMENT column stays zero.
    return QStringLiteral("SET NAMES utf8mb4;\n"
                          "SET @zaloha_sql_mode = @@SESSION.sql_mode, @zaloha_fk = @@SESSION.foreign_key_checks, "
                          "@zaloha_unique = @@SESSION.unique_checks;\n"
                          "SET SESSION sql_mode = 'NO_AUTO_VALUE_ON_ZERO', foreign_key_checks = 0, unique_checks = 0;\n");
}

QString scriptSessionEnd()
{
    return QStringLiteral("SET SESSION sql_mode = @zaloha_sql_mode, foreign_key_checks = @zaloha_fk, "
                          "unique_checks = @zaloha_unique;\n");
}

QString dropTable(const QString &table) { return QStringLiteral("DROP TABLE IF EXISTS ") + quoteName(table); }
QString insertInto(const QString &table) { return QStringLiteral("INSERT INTO ") + quoteName(table) + QStringLiteral(" VALUES\n"); }

QString renameTable(const QString &from, const QString &to)
{
    return QStringLiteral("RENAME TABLE ") + quoteName(from) + QStringLiteral(" TO ") + quoteName(to);
}

QString historyTable() { return QStringLiteral("historie_zmen_tab"); }
QString historyAside() { return QStringLiteral("historie_zmen_pred_obnovou_tab"); }

QString insertHistoryNotRestored()
{
    // Written after the backup, or while it read (committed after its snapshot): ids the file lacks.
    return QStringLiteral("INSERT INTO historie_zmen_tab (id, kdy, uzivatel, pocitac, popis, ids) "
                          "SELECT s.id, s.kdy, s.uzivatel, s.pocitac, s.popis, s.ids FROM historie_zmen_pred_obnovou_tab s "
                          "WHERE NOT EXISTS (SELECT 1 FROM historie_zmen_tab h WHERE h.id = s.id) ORDER BY s.id");
}

void appendValue(QString &out, Druh druh, const QString &value, bool isNull)
{
    if (isNull) {
        out += QLatin1String("NULL");
        return;
    }
    switch (druh) {
    case Druh::Cislo:
        out += value;
        return;
    case Druh::Bajty:
        out += QLatin1String("X'");
        if (value.size() % 2)
            out += u'0';   // a bit column's HEX() may be odd
        out += value;
        out += u'\'';
        return;
    case Druh::Text:
        SqlFormat(false).appendQuotedText(out, value);
        return;
    }
}

QString literal(Druh druh, const QString &value, const SqlFormat &format)
{
    if (druh == Druh::Text)
        return format.quotedText(value);
    QString out;
    appendValue(out, druh, value, false);
    return out;
}

QString selectSession()
{
    return QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.foreign_key_checks, @@SESSION.unique_checks");
}

QString setSession(const QString &sqlMode, int foreignKeyChecks, int uniqueChecks)
{
    // mode names are the server's own words
    return QStringLiteral("SET SESSION sql_mode = '") + sqlMode + QStringLiteral("', foreign_key_checks = ")
           + SqlFormat::integer(foreignKeyChecks) + QStringLiteral(", unique_checks = ")
           + SqlFormat::integer(uniqueChecks);
}

} // namespace SqlZaloha
