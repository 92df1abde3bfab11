#pragma once

#include <QDate>
#include <QList>
#include <QString>

class SqlFormat;

/** Statements on day types and the day-type calendar. */
namespace SqlTypyDnu {

QString selectDayTypes();
/** Every day-type id that calendar rows or prices refer to, each once. */
QString selectReferencedDayTypeIds();
QString lockDayTypes();
QString deleteDayTypes();
QString insertDayType(const SqlFormat &f, int typDneId, const QString &nazev, int poradi);
/** Prices of every day type but the ones kept; all prices when none is kept. */
QString deletePricesOfOtherDayTypes(const QList<int> &keptIds);
/** Calendar rows of every day type but the ones kept; all rows when none is kept. */
QString deleteCalendarOfOtherDayTypes(const QList<int> &keptIds);

QString selectCalendar(int typDneId);
QString lockCalendar();
QString deleteCalendar(int typDneId);
QString insertCalendarDay(const QDate &datum, int typDneId);

} // namespace SqlTypyDnu
