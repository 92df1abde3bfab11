#include "model/KalendarTypuDne.h"

#include "db/SqlTypyDnu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Historie.h"
#include "model/TypyDnu.h"
#include "model/Zmeny.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <iterator>

namespace {
// The locale's short date format with a four-digit year: a two-digit year
// (cs_CZ "dd.MM.yy") shows 1999 and 2099 alike and parses back into one
// century only.
QString lineFormat(const QLocale &locale)
{
    static const QRegularExpression year(QStringLiteral("y+"));
    return locale.dateFormat(QLocale::ShortFormat).replace(year, QStringLiteral("yyyy"));
}

std::set<QDate> nactiDny(TMojeQuery &q, int typDneId)
{
    q.setSql(SqlTypyDnu::selectCalendar(typDneId));
    q.open();
    std::set<QDate> dny;
    // A zero date reads as invalid; it names no day and could not be written back.
    for (; !q.eof(); q.next())
        if (const QDate den = q.date("datum"); den.isValid())
            dny.insert(den);
    return dny;
}

std::set<QDate> rozdil(const std::set<QDate> &a, const std::set<QDate> &b)
{
    std::set<QDate> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
    return out;
}
} // namespace

KalendarTypuDne::KalendarTypuDne(int typDneId, const QString &nazev)
    : m_typDneId(typDneId), m_nazev(nazev)
{
    Nacti();
}

KalendarTypuDne::KalendarTypuDne(int typDneId, const QString &nazev, std::set<QDate> dny)
    : m_typDneId(typDneId), m_nazev(nazev), m_dny(std::move(dny))
{
}

void KalendarTypuDne::Nacti()
{
    TMojeQuery q;
    m_dny = nactiDny(q, m_typDneId);
    m_nactene = m_dny;
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

void KalendarTypuDne::Uloz()
{
    if (jeDocasneId(m_typDneId))
        return;
    const std::set<QDate> pridane = rozdil(m_dny, m_nactene);
    const std::set<QDate> odstranene = rozdil(m_nactene, m_dny);
    if (pridane.empty() && odstranene.empty())
        return;
    TMojeDatabaze::current().save(SqlTypyDnu::lockCalendar(), [&](TMojeQuery &q) {
        q.setSql(SqlTypyDnu::selectDayType(m_typDneId));
        q.open();
        if (q.eof())
            throw Konflikt::odstranen(popisTypuDne(m_nazev));
        const std::set<QDate> ulozene = nactiDny(q, m_typDneId);
        QStringList smazane, pridaneDny;
        for (const QDate &den : odstranene)
            if (ulozene.count(den)) {
                q.exec(SqlTypyDnu::deleteCalendarDay(den, m_typDneId));
                smazane << Historie::datum(den);
            }
        for (const QDate &den : pridane)
            if (!ulozene.count(den)) {
                q.exec(SqlTypyDnu::insertCalendarDay(den, m_typDneId));
                pridaneDny << Historie::datum(den);
            }
        // Another desk may have made the same change: then this save changed nothing.
        if (smazane.isEmpty() && pridaneDny.isEmpty())
            return;
        QStringList casti;
        if (!pridaneDny.isEmpty())
            casti << QCoreApplication::translate("Historie", "přidány %1").arg(Historie::vycet(pridaneDny));
        if (!smazane.isEmpty())
            casti << QCoreApplication::translate("Historie", "smazány %1").arg(Historie::vycet(smazane));
        Historie::zapis(QCoreApplication::translate("Historie", "Kalendář uložen: typ dne %1 – %2")
                            .arg(Konflikt::uvozovky(m_nazev), casti.join(QStringLiteral("; "))),
                        Historie::ids(QStringLiteral("typ_dne"), {m_typDneId}));
    });
    m_nactene = m_dny;
}

void KalendarTypuDne::reloadKeepingChanges()
{
    const std::set<QDate> pridane = rozdil(m_dny, m_nactene);
    const std::set<QDate> odstranene = rozdil(m_nactene, m_dny);
    TMojeQuery q;
    std::set<QDate> dny = nactiDny(q, m_typDneId);
    m_nactene = dny;
    for (const QDate &den : odstranene)
        dny.erase(den);
    dny.insert(pridane.begin(), pridane.end());
    m_dny = std::move(dny);
}
