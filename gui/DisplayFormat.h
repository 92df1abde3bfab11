#pragma once

#include <QDate>
#include <QString>
#include <initializer_list>

class QDateTimeEdit;
class QFontMetrics;
class QLocale;

/** Prices and days as the windows show them, in the user's regional settings. */
namespace DisplayFormat {

/** The general number form (3200, 1200.5) with the locale's decimal separator and no grouping. */
QString price(double value);
/** Short weekday and short date, e.g. "pá 13.06.2025". */
QString day(const QDate &value);

/** The locale's short date format with the year in full. */
QString shortDateFormat(const QLocale &locale);

/**
 * The locale's long date format, shortened where its widest date would not
 * fit the width: names abbreviated first, then the short format with the
 * whole year.
 */
QString longDateFormatFitting(const QLocale &locale, const QFontMetrics &metrics, int width);
/** Gives shown date pickers of one width the long date format that fits their edit fields. */
void fitLongDate(std::initializer_list<QDateTimeEdit *> pickers);

} // namespace DisplayFormat
