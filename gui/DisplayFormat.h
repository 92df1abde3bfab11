#pragma once

#include <QDate>
#include <QString>

class QFontMetrics;
class QLocale;

/** Prices and days as the windows show them, in the user's regional settings. */
namespace DisplayFormat {

/** The general number form (3200, 1200.5) with the locale's decimal separator and no grouping. */
QString price(double value);
/** Short weekday and short date with the year in full, e.g. "pá 13.06.2025". */
QString day(const QDate &value);

/** The locale's short date format with the year in full. */
QString shortDateFormat(const QLocale &locale);

/** How wide the widest date that the format writes is, whatever the weekday and month. */
int widestDate(const QLocale &locale, const QFontMetrics &metrics, const QString &format);

/**
 * The locale's long date format, shortened where its widest date would not
 * fit the width: names abbreviated first, then the weekday alone; empty
 * when not even that fits.
 */
QString longDateFormatFitting(const QLocale &locale, const QFontMetrics &metrics, int width);

} // namespace DisplayFormat
