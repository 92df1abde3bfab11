#include "gui/DisplayFormat.h"

#include "db/SqlFormat.h"

#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QLineEdit>
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
    return locale.toString(value, QStringLiteral("ddd")) + u' ' + locale.toString(value, QLocale::ShortFormat);
}

namespace {
int widestDate(const QLocale &locale, const QFontMetrics &metrics, const QString &format)
{
    // Seven years hold every weekday on every day of every month.
    int widest = 0;
    for (QDate d(2026, 1, 1); d.year() < 2033; d = d.addDays(1))
        widest = qMax(widest, metrics.horizontalAdvance(locale.toString(d, format)));
    return widest;
}
} // namespace

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
    for (const QString &format : {dlouhy, zkraceny})
        if (widestDate(locale, metrics, format) <= width)
            return format;
    return shortDateFormat(locale);
}

void fitLongDate(std::initializer_list<QDateTimeEdit *> pickers)
{
    // As the edit field lays out its text: 2 px inside its contents on either side.
    QDateTimeEdit *first = *pickers.begin();
    const QLineEdit *edit = first->findChild<QLineEdit *>();
    const int width = edit ? edit->contentsRect().width() - 4 : first->width();
    const QString format =
        longDateFormatFitting(first->locale(), edit ? edit->fontMetrics() : first->fontMetrics(), width);
    for (QDateTimeEdit *picker : pickers)
        picker->setDisplayFormat(format);
}

} // namespace DisplayFormat
