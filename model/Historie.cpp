#include "model/Historie.h"

#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <algorithm>

namespace Historie {

void zapis(const QString &popis, const QString &ids)
{
    TMojeDatabaze::current().noteChange(popis, ids);
}

qint64 posledniZmena(TMojeQuery &q)
{
    q.setSql(SqlHistorie::selectLastId());
    q.open();
    return q.text(QStringLiteral("posledni")).toLongLong();
}

QString datum(const QDate &den)
{
    return den.isValid() ? QStringLiteral("%1. %2. %3").arg(den.day()).arg(den.month()).arg(den.year())
                         : QStringLiteral("?");
}

QString pobyt(const QString &cisloPokoje, const QDate &odKdy, const QDate &doKdy, const QString &klient)
{
    return QCoreApplication::translate("Historie", "pokoj %1, %2 – %3, klient %4")
        .arg(cisloPokoje, datum(odKdy), datum(doKdy), klient);
}

QString vycet(const QStringList &nazvy)
{
    // A whole table saved at once (a new hotel) must not make a sentence
    // of thousands of names.
    constexpr qsizetype nejvic = 40;
    if (nazvy.size() <= nejvic)
        return nazvy.join(QStringLiteral(", "));
    return nazvy.first(nejvic).join(QStringLiteral(", "))
           + QCoreApplication::translate("Historie", " a %1 dalších").arg(nazvy.size() - nejvic);
}

QString ids(const QString &druh, const QList<int> &ids)
{
    QString out;
    out.reserve(ids.size() * (druh.size() + 8));
    for (int id : ids) {
        if (!out.isEmpty())
            out += u' ';
        out += druh + u'=' + QString::number(id);
    }
    return out;
}

} // namespace Historie

namespace HistorieZmen {

namespace {
qint64 readId(TMojeQuery &q, const QString &select)
{
    q.setSql(select);
    q.open();
    return q.eof() ? -1 : q.text(QStringLiteral("id")).toLongLong();
}
} // namespace

std::vector<ZaznamHistorie> stranka(const SqlHistorie::Filtr &filtr, qint64 zaId, qint64 predId, int pocet)
{
    std::vector<ZaznamHistorie> radky;
    TMojeQuery q;
    SqlHistorie::Meze meze;
    if (filtr.od.isValid() && (meze.od = readId(q, SqlHistorie::selectFirstIdFrom(filtr.od))) < 0)
        return radky;   // nothing written since
    if (filtr.doKdy.isValid() && (meze.po = readId(q, SqlHistorie::selectLastIdUntil(filtr.doKdy))) < 0)
        return radky;   // nothing written by then
    q.setSql(SqlHistorie::selectPage(q.format(), filtr, meze, zaId, predId, pocet));
    for (q.open(); !q.eof(); q.next()) {
        ZaznamHistorie z;
        z.id = q.text(QStringLiteral("id")).toLongLong();
        z.kdy = QDateTime::fromString(q.text(QStringLiteral("kdy")), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        z.uzivatel = q.text(QStringLiteral("uzivatel"));
        z.pocitac = q.text(QStringLiteral("pocitac"));
        z.popis = q.text(QStringLiteral("popis"));
        z.ids = q.text(QStringLiteral("ids"));
        radky.push_back(std::move(z));
    }
    if (predId > 0)
        std::reverse(radky.begin(), radky.end());
    return radky;
}

QStringList uzivatele()
{
    QStringList out;
    TMojeQuery q;
    q.setSql(SqlHistorie::selectUsers());
    for (q.open(); !q.eof(); q.next())
        out << q.text(QStringLiteral("uzivatel"));
    return out;
}

} // namespace HistorieZmen
