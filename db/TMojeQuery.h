#pragma once

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

class TMojeDatabaze;
class SqlFormat;

/**
 * A short-lived statement on one connection: set the text, then either
 * open() a result and read it forward row by row, or exec() a statement
 * without rows. Statements go as plain text, one round trip each. A failure
 * throws DatabaseError; a lost connection is mended as TMojeDatabaze says.
 */
class TMojeQuery
{
public:
    /** On the current connection of this thread. */
    TMojeQuery();
    explicit TMojeQuery(TMojeDatabaze &db);

    TMojeDatabaze &database() const { return *m_db; }
    const SqlFormat &format() const;

    void setSql(const QString &statement);
    const QString &sql() const { return m_sql; }

    /** Runs a SELECT and stands on its first row (eof() when it is empty). */
    void open();
    bool isEmpty() const { return m_empty; }
    bool eof() const { return m_eof; }
    void next();

    /** Names of the result's columns, in the result's order. */
    QStringList columnNames() const;

    /** Columns of the current row by name; NULL reads as 0, "" or a null date. */
    int integer(const QString &column) const;
    /** By position in columnNames(), for reads of many rows. */
    int integer(int column) const;
    QString text(const QString &column) const;
    double real(const QString &column) const;
    QDate date(const QString &column) const;

    /** Runs a statement without rows. */
    void exec();
    void exec(const QString &statement);
    /** Rows the last statement without rows changed (matched, for an UPDATE to the same values: see the server). */
    int rowsAffected() const { return m_rowsAffected; }

    /** Statements sent by every query of the process so far. */
    static qint64 statementsSent();

private:
    void run();
    void renewIfStale();
    QVariant value(const QString &column) const;

    TMojeDatabaze *m_db;
    QSqlQuery m_query;
    QSqlRecord m_record;
    QString m_sql;
    bool m_empty = true;
    bool m_eof = true;
    int m_generation = 0;
    int m_rowsAffected = 0;
};
