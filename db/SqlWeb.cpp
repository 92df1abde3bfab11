#include "db/SqlWeb.h"
#include "db/SqlFormat.h"

namespace SqlWeb {

QString selectTypyPokoju()
{
    return QStringLiteral("SELECT typy.typ_pokoje_id, typy.nazev_typu_pokoje, typy.pocet_luzek , COUNT(*) AS pocet_pokoju "
                          "FROM typy_pokoju_tab AS typy, pokoje_tab AS pokoje "
                          "WHERE pokoje.typ_pokoje_id = typy.typ_pokoje_id GROUP BY typy.typ_pokoje_id");
}

QString selectCenyTypuDnu()
{
    // The prices and the days (selectKalendarRoku) read apart, each a few
    // hundred rows at most; the export pairs them and counts the occupancy
    // from selectPobytyVObdobi.
    return QStringLiteral("SELECT ceny.typ_pokoje_id, ceny.typ_dne_id, ceny.cena "
                          "FROM ceny_pokoje_tab AS ceny, typy_dnu_tab AS typy "
                          "WHERE typy.typ_dne_id = ceny.typ_dne_id AND ceny.typ_klienta_id = 1 "
                          "AND ceny.typ_pokoje_id IN (SELECT pokoje.typ_pokoje_id FROM pokoje_tab AS pokoje)");
}

QString selectKalendarRoku()
{
    return QStringLiteral("SELECT kalendar.datum, kalendar.typ_dne_id FROM kalendar_typy_dnu_tab AS kalendar "
                          "WHERE kalendar.datum >= CURDATE() AND kalendar.datum < FROM_DAYS(TO_DAYS(CURDATE()) + 365) "
                          "ORDER BY kalendar.datum");
}

QString selectPobytyVObdobi(const QDate &od, const QDate &dO)
{
    // Through the index on do_kdy: only the stays still ending by then, never
    // the years before, read from the index alone. Days as numbers: cheaper
    // to read than dates. The rooms' types come apart (selectTypyPokoju of
    // the rooms): joined here, the room looked up for each stay took twice
    // as long as reading the stays.
    const QString prvni = SqlFormat::quotedDate(od);
    return QStringLiteral("SELECT cislo_objednavky, pokoj_id, TO_DAYS(od_kdy) - TO_DAYS(") + prvni
           + QStringLiteral(") AS od, TO_DAYS(do_kdy) - TO_DAYS(") + prvni
           + QStringLiteral(") AS do_ FROM objednavky_pokoje_tab WHERE do_kdy >= ") + prvni
           + QStringLiteral(" AND od_kdy <= ") + SqlFormat::quotedDate(dO);
}

QString selectTypyPokojuPokoju()
{
    return QStringLiteral("SELECT pokoj_id, typ_pokoje_id FROM pokoje_tab");
}

QString stopStatement(qint64 connectionId)
{
    return QStringLiteral("KILL QUERY ") + SqlFormat::integer(connectionId);
}

QString lockImport()
{
    // The free-room search reads the reservations under two aliases; the
    // clients' change stamp moves with the clients stored.
    return QStringLiteral("LOCK TABLES klienti_tab WRITE, klienti_zmeny_tab WRITE, objednavky_pokoje_tab WRITE, "
                          "webove_rezervace_tab WRITE, "
                          "pokoje_tab READ, objednavky_pokoje_tab AS konci READ, objednavky_pokoje_tab AS zacina READ");
}

QString selectStoredWebReservations(const SqlFormat &f, const QStringList &rezervaceIds)
{
    // Full table names, no aliases: the import's lock set names the tables themselves.
    QString sql = QStringLiteral(
        "SELECT webove_rezervace_tab.rezervaceid AS rezervaceid, "
        "webove_rezervace_tab.cislo_objednavky AS cislo_objednavky, "
        "webove_rezervace_tab.typ_pokoje_id AS typ_pokoje_id, webove_rezervace_tab.od_kdy AS od_kdy, "
        "webove_rezervace_tab.do_kdy AS do_kdy, "
        "objednavky_pokoje_tab.cislo_objednavky IS NOT NULL AS nalezena, objednavky_pokoje_tab.cena AS cena, "
        "klienti_tab.jmeno AS jmeno, klienti_tab.telefon AS telefon, klienti_tab.email AS email, "
        "klienti_tab.stat AS stat "
        "FROM webove_rezervace_tab "
        "LEFT JOIN objednavky_pokoje_tab "
        "ON objednavky_pokoje_tab.cislo_objednavky = webove_rezervace_tab.cislo_objednavky "
        "LEFT JOIN klienti_tab ON klienti_tab.klient_id = objednavky_pokoje_tab.klient_id "
        "WHERE webove_rezervace_tab.rezervaceid IN (");
    qsizetype delka = sql.size() + 1;
    for (const QString &id : rezervaceIds)
        delka += 4 + id.size();
    sql.reserve(delka + delka / 8);
    bool prvni = true;
    for (const QString &id : rezervaceIds) {
        if (!prvni)
            sql += QLatin1String(", ");
        prvni = false;
        f.appendQuotedText(sql, id);
    }
    sql += u')';
    return sql;
}

QString selectNewClientId()
{
    return QStringLiteral("SELECT (MAX(klient_id) + 1) AS nove_id FROM klienti_tab");
}

// The import's statements run to a thousand rows: each is built in one
// buffer, values appended in place.

QString insertWebClients(const SqlFormat &f, const QList<WebKlient> &klienti)
{
    QString sql = QStringLiteral("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email, stat) VALUES ");
    qsizetype delka = sql.size();
    for (const WebKlient &k : klienti)
        delka += 40 + k.jmeno.size() + k.telefon.size() + k.email.size() + k.stat.size();
    sql.reserve(delka + delka / 8);
    bool prvni = true;
    for (const WebKlient &k : klienti) {
        sql += prvni ? QLatin1String("(") : QLatin1String(", (");
        prvni = false;
        SqlFormat::appendQuotedInteger(sql, k.klient_id);
        sql += QLatin1String(", \"1\", ");
        f.appendQuotedText(sql, k.jmeno);
        sql += QLatin1String(", ");
        f.appendQuotedText(sql, k.telefon);
        sql += QLatin1String(", ");
        f.appendQuotedText(sql, k.email);
        sql += QLatin1String(", ");
        f.appendQuotedText(sql, k.stat);
        sql += u')';
    }
    return sql;
}

QString insertWebReservations(const QList<WebObjednavka> &objednavky)
{
    QString sql = QStringLiteral("INSERT INTO objednavky_pokoje_tab (klient_id, cislo_objednavky, datum_objednavky, od_kdy, "
                                 "do_kdy, pokoj_id, cena) VALUES ");
    sql.reserve(sql.size() + objednavky.size() * 100);
    bool prvni = true;
    for (const WebObjednavka &o : objednavky) {
        sql += prvni ? QLatin1String("(") : QLatin1String(", (");
        prvni = false;
        SqlFormat::appendQuotedInteger(sql, o.klient_id);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedInteger(sql, o.cislo_objednavky);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedDate(sql, o.datum_objednavky);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedDate(sql, o.od_kdy);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedDate(sql, o.do_kdy);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedInteger(sql, o.pokoj_id);
        sql += QLatin1String(", ");
        sql += u'"';
        sql += SqlFormat::price(o.cena);
        sql += QLatin1String("\")");
    }
    return sql;
}

QString rememberWebReservations(const SqlFormat &f, const QList<WebObjednavka> &objednavky)
{
    QString sql = QStringLiteral("INSERT INTO webove_rezervace_tab (rezervaceid, cislo_objednavky, typ_pokoje_id, od_kdy, "
                                 "do_kdy, datum_importu) VALUES ");
    qsizetype delka = sql.size();
    for (const WebObjednavka &o : objednavky)
        delka += 70 + o.rezervaceid.size();
    sql.reserve(delka + delka / 8);
    bool prvni = true;
    for (const WebObjednavka &o : objednavky) {
        sql += prvni ? QLatin1String("(") : QLatin1String(", (");
        prvni = false;
        f.appendQuotedText(sql, o.rezervaceid);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedInteger(sql, o.cislo_objednavky);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedInteger(sql, o.typ_pokoje_id);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedDate(sql, o.od_kdy);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedDate(sql, o.do_kdy);
        sql += QLatin1String(", ");
        SqlFormat::appendQuotedDate(sql, o.datum_objednavky);
        sql += u')';
    }
    return sql;
}

QString savepoint() { return QStringLiteral("SAVEPOINT webova_rezervace"); }
QString rollbackToSavepoint() { return QStringLiteral("ROLLBACK TO SAVEPOINT webova_rezervace"); }

} // namespace SqlWeb
