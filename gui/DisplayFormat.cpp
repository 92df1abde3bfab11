#include "gui/DisplayFormat.h"

#include "db/SqlFormat.h"

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

} // namespace DisplayFormat
