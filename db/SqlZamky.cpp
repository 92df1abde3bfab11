#include "db/SqlZamky.h"
#include "db/SqlFormat.h"

namespace SqlZamky {

QString pokoj(int pokojId) { return QStringLiteral("pokoj:") + SqlFormat::integer(pokojId); }
QString klient(int klientId) { return QStringLiteral("klient:") + SqlFormat::integer(klientId); }
QString objednavka(int cisloObjednavky) { return QStringLiteral("objednavka:") + SqlFormat::integer(cisloObjednavky); }

QString lockRows(const SqlFormat &f, const QStringList &names)
{
    QString sql = QStringLiteral("INSERT INTO zamky_tab (zamek, zmena) VALUES ");
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0)
            sql += u',';
        sql += u'(' + f.quotedText(names[i]) + QStringLiteral(", 1)");
    }
    return sql + QStringLiteral(" ON DUPLICATE KEY UPDATE zmena = zmena + 1");
}

QString insertSeries(const SqlFormat &f, const QString &rada)
{
    return QStringLiteral("INSERT IGNORE INTO ciselne_rady_tab (rada, posledni) VALUES (") + f.quotedText(rada)
           + QStringLiteral(", 0)");
}

QString insertSeriesAt(const SqlFormat &f, const QString &rada, const QString &maxSelect)
{
    return QStringLiteral("INSERT IGNORE INTO ciselne_rady_tab (rada, posledni) SELECT ") + f.quotedText(rada)
           + QStringLiteral(", COALESCE((") + maxSelect + QStringLiteral("), 0)");
}

QString reserveNumbers(const SqlFormat &f, const QString &rada, const QString &maxSelect, int count)
{
    return QStringLiteral("UPDATE ciselne_rady_tab SET posledni = LAST_INSERT_ID(GREATEST(posledni, COALESCE((")
           + maxSelect + QStringLiteral("), 0)) + ") + SqlFormat::integer(count) + QStringLiteral(") WHERE rada = ")
           + f.quotedText(rada);
}

QString selectLastReserved() { return QStringLiteral("SELECT LAST_INSERT_ID() AS posledni"); }

} // namespace SqlZamky
