#pragma once

#include <QString>
#include <QStringList>

/** Statements that inspect and add the indexes of the hotel's tables. */
namespace SqlIndexy {

/**
 * tabulka, nazev and sloupec of every index of the tables in the current
 * database, column by column in index order.
 */
QString selectIndexColumns(const QStringList &tables);
/** One statement adding the indexes, each given as its name and its columns. */
QString addIndexes(const QString &table, const QList<QPair<QString, QStringList>> &indexes);
/** Column pocet: how many values of the columns more than one row shares. */
QString countDuplicates(const QString &table, const QStringList &columns);
/** The primary key on columns the table has. */
QString addPrimaryKey(const QString &table, const QStringList &columns);

} // namespace SqlIndexy
