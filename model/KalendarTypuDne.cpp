#include "model/KalendarTypuDne.h"

#include "db/SqlTypyDnu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLocale>

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
    for (const QDate &d : m_dny)
        seznam << locale.toString(d, QLocale::ShortFormat);
}

void KalendarTypuDne::PridejDen(const QDate &den)
{
    if (den.isValid())
        m_dny.insert(den);
}

void KalendarTypuDne::OdstranDen(const QString &radek)
{
    // A short format with a two-digit year (cs_CZ "dd.MM.yy") parses back
    // into the 1900s, so the line is first matched against the held dates'
    // own lines.
    const QLocale locale;
    for (auto it = m_dny.begin(); it != m_dny.end(); ++it) {
        if (locale.toString(*it, QLocale::ShortFormat) == radek) {
            m_dny.erase(it);
            return;
        }
    }
    const QDate den = locale.toDate(radek, QLocale::ShortFormat);
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
