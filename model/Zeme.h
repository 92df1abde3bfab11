#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

/**
 * The countries the desk offers for nationality and residence: Czech names
 * with ISO 3166 alpha-3 codes (what the police's guest reports take),
 * sorted the Czech way.
 */
namespace Zeme {

struct Zeme
{
    QString kod;     // ISO 3166 alpha-3
    QString nazev;   // in Czech
};

/** Every country known, in Czech order of their names. */
const QList<Zeme> &seznam();
/** The Czech name of the code; the code itself when unknown, empty for none. */
QString nazev(const QString &kod);
/** The code of Czechia: a guest of another nationality is a foreigner. */
inline QString cesko()
{
    return QStringLiteral("CZE");
}

} // namespace Zeme
