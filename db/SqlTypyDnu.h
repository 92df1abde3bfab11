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
/** How many calendar rows (dny) and prices (ceny) refer to the day type. */
QString countRowsOfDayType(int typDneId);
QStringList lockDayTypes();
QString insertDayType(const SqlFormat &f, int typDneId, const QString &nazev, int poradi);
QString updateDayType(const SqlFormat &f, int typDneId, const QString &nazev, int poradi);
/** The day types, their prices and their calendar rows: one statement each. */
QString deleteDayTypes(const QList<int> &ids);
QString deletePricesOfDayTypes(const QList<int> &ids);
QString deleteCalendarOfDayTypes(const QList<int> &ids);

QString selectDayType(int typDneId);
QString selectCalendar(int typDneId);
/** What the calendar's save locks: its rows change, the day type is read. */
QStringList lockCalendar();
QString deleteCalendarDay(const QDate &datum, int typDneId);
QString insertCalendarDay(const QDate &datum, int typDneId);

} // namespace SqlTypyDnu
