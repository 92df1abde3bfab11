#include "gui/DisplayFormat.h"

#include "db/SqlFormat.h"

#include <QFontMetrics>
#include <QLocale>

namespace DisplayFormat {

QString price(double value)
{
    // The form prices are written in everywhere else, only the separator differs.
    return SqlFormat::price(value).replace(u'.', QLocale().decimalPoint());
}

QString day(const QDate &value)
{
    const QLocale locale;
    // The year in full, as the date pickers show it: "31.12.99" could be either century.
    return locale.toString(value, QStringLiteral("ddd")) + u' ' + locale.toString(value, shortDateFormat(locale));
}

int widestDate(const QLocale &locale, const QFontMetrics &metrics, const QString &format)
{
    // Seven years hold every weekday on every day of every month.
    int widest = 0;
    for (QDate d(2026, 1, 1); d.year() < 2033; d = d.addDays(1))
        widest = qMax(widest, metrics.horizontalAdvance(locale.toString(d, format)));
    return widest;
}

QString shortDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

QString longDateFormatFitting(const QLocale &locale, const QFontMetrics &metrics, int width)
{
    const QString dlouhy = locale.dateFormat(QLocale::LongFormat);
    QString zkraceny = dlouhy;
    zkraceny.replace(QStringLiteral("dddd"), QStringLiteral("ddd")).replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    for (const QString &format : {dlouhy, zkraceny, QStringLiteral("dddd"), QStringLiteral("ddd")})
        if (widestDate(locale, metrics, format) <= width)
            return format;
    return QString();
}

} // namespace DisplayFormat
