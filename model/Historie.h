#pragma once

// The history of changes: what a save tells it, and what the history
// window reads back.

#include "db/SqlHistorie.h"
#include "model/Zmeny.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class TMojeQuery;

namespace Historie {

/** Notes a change of the running save on this thread's connection (inside its save). */
void zapis(const QString &popis, const QString &ids);

/** The newest row's id: it moves with every save that changes data, at any desk. */
qint64 posledniZmena(TMojeQuery &q);

/** A day as the sentences write it: "7. 12. 2026". */
QString datum(const QDate &den);
/** A stay: "pokoj 101, 7. 12. 2026 – 9. 12. 2026, klient Novák Jan". */
QString pobyt(const QString &cisloPokoje, const QDate &odKdy, const QDate &doKdy, const QString &klient);
/** The names joined by ", "; past a few dozen, "a N dalších" ends the list (a sentence stays short). */
QString vycet(const QStringList &nazvy);
/** The ids of one kind as the history keeps them: "pokoj=105 pokoj=103". */
QString ids(const QString &druh, const QList<int> &ids);

/**
 * What a save of a list added, removed and changed: "přidány 105, 106;
 * smazány 103; změněny 104 → 104A"; empty when nothing. nazev names a
 * row; a changed row whose name stayed shows once.
 */
template <class T, class Nazev>
QString zmeny(const Zmeny<T> &z, Nazev nazev)
{
    QStringList casti;
    QStringList pridane, odstranene, zmenene;
    for (const T &r : z.pridane)
        pridane << nazev(r);
    for (const T &r : z.odstranene)
        odstranene << nazev(r);
    for (const auto &[nacteny, novy] : z.zmenene)
        zmenene << (nazev(nacteny) == nazev(novy) ? nazev(novy) : nazev(nacteny) + QStringLiteral(" → ") + nazev(novy));
    if (!pridane.isEmpty())
        casti << QCoreApplication::translate("Historie", "přidány %1").arg(vycet(pridane));
    if (!odstranene.isEmpty())
        casti << QCoreApplication::translate("Historie", "smazány %1").arg(vycet(odstranene));
    if (!zmenene.isEmpty())
        casti << QCoreApplication::translate("Historie", "změněny %1").arg(vycet(zmenene));
    return casti.join(QStringLiteral("; "));
}

/** The ids of every row a save of a list touched; added rows by the id they were stored under. */
template <class T, class IdOf, class Ulozene>
QList<int> idsZmen(const Zmeny<T> &z, IdOf idOf, Ulozene ulozene)
{
    QList<int> out;
    for (const T &r : z.pridane)
        out << ulozene(idOf(r));
    for (const T &r : z.odstranene)
        out << idOf(r);
    for (const auto &[nacteny, novy] : z.zmenene)
        out << idOf(novy);
    return out;
}

} // namespace Historie

/** One row of the history as the window shows it. */
struct ZaznamHistorie
{
    qint64 id = 0;
    QDateTime kdy;
    QString uzivatel;
    QString pocitac;
    QString popis;
    QString ids;
};

/** Reading the history: a page at a time, newest first. */
namespace HistorieZmen {

/**
 * Up to `pocet` rows matching the filter, newest first: the newest ones,
 * those older than zaId (the next page) or those just newer than predId
 * (the page before).
 */
std::vector<ZaznamHistorie> stranka(const SqlHistorie::Filtr &filtr, qint64 zaId, qint64 predId, int pocet);
/** The accounts the history names, in order. */
QStringList uzivatele();

} // namespace HistorieZmen
