#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on day types and the day-type calendar. */
namespace SqlTypyDnu {

QString selectDayTypes();
QString lockDayTypes();
QString deleteDayTypes();
/**
 * With an empty poradi the column is left out and takes its default;
 * otherwise the stored value goes back as it was read.
 */
QString insertDayType(const SqlFormat &f, int typDneId, const QString &nazev, const QString &poradi);
/** Prices of every day type but the ones kept; all prices when none is kept. */
QString deletePricesOfOtherDayTypes(const QList<int> &keptIds);
/** Calendar rows of every day type but the ones kept; all rows when none is kept. */
QString deleteCalendarOfOtherDayTypes(const QList<int> &keptIds);

QString selectCalendar(int typDneId);
QString lockCalendar();
QString deleteCalendar(int typDneId);
QString insertCalendarDay(const QDate &datum, int typDneId);

} // namespace SqlTypyDnu
