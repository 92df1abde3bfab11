#pragma once

#include <QDate>
#include <QString>

/** Prices and days as the windows show them, in the user's regional settings. */
namespace DisplayFormat {

/** The general number form (3200, 1200.5) with the locale's decimal separator and no grouping. */
QString price(double value);
/** Short weekday and short date, e.g. "pá 13.06.2025". */
QString day(const QDate &value);

} // namespace DisplayFormat
