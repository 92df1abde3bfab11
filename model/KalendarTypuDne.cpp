#include "model/KalendarTypuDne.h"

#include "db/SqlTypyDnu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
// The locale's short date format with a four-digit year: a two-digit year
// (cs_CZ "dd.MM.yy") shows 1999 and 2099 alike and parses back into one
// century only.
QString lineFormat(const QLocale &locale)
{
    static const QRegularExpression year(QStringLiteral("y+"));
    return locale.dateFormat(QLocale::ShortFormat).replace(year, QStringLiteral("yyyy"));
}
} // namespace

KalendarTypuDne::KalendarTypuDne(int typDneId)
    : m_typDneId(typDneId)
{
    Nacti();
}

void KalendarTypuDne::Nacti()
{
    m_dny.clear();
    TMojeQuery q;
    q.setSql(SqlTypyDnu::selectCalendar(m_typDneId));
    q.open();
    // A zero date reads as invalid; it names no day and could not be written back.
    for (; !q.eof(); q.next())
        PridejDen(q.date("datum"));
}

void KalendarTypuDne::Vypis(QStringList &seznam) const
{
    seznam.clear();
    const QLocale locale;
    const QString format = lineFormat(locale);
    for (const QDate &d : m_dny)
        seznam << locale.toString(d, format);
}

void KalendarTypuDne::PridejDen(const QDate &den)
{
    if (den.isValid())
        m_dny.insert(den);
}

void KalendarTypuDne::OdstranDen(const QString &radek)
{
    const QLocale locale;
    const QDate den = locale.toDate(radek, lineFormat(locale));
    if (den.isValid())
        m_dny.erase(den);
}

void KalendarTypuDne::Uloz() const
{
    TMojeDatabaze::current().writeLocked(SqlTypyDnu::lockCalendar(), [this](TMojeQuery &q) {
        q.exec(SqlTypyDnu::deleteCalendar(m_typDneId));
        for (const QDate &d : m_dny)
            q.exec(SqlTypyDnu::insertCalendarDay(d, m_typDneId));
    });
}
