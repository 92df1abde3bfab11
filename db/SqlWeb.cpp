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
    QStringList ids;
    for (const QString &id : rezervaceIds)
        ids << f.quotedText(id);
    // Full table names, no aliases: the import's lock set names the tables themselves.
    return QStringLiteral(
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
               "WHERE webove_rezervace_tab.rezervaceid IN (")
           + ids.join(QStringLiteral(", ")) + u')';
}

QString selectNewClientId()
{
    return QStringLiteral("SELECT (MAX(klient_id) + 1) AS nove_id FROM klienti_tab");
}

QString insertWebClients(const SqlFormat &f, const QList<WebKlient> &klienti)
{
    QStringList rows;
    for (const WebKlient &k : klienti)
        rows << u'(' + SqlFormat::quotedInteger(k.klient_id) + QStringLiteral(", \"1\", ") + f.quotedText(k.jmeno)
                    + QStringLiteral(", ") + f.quotedText(k.telefon) + QStringLiteral(", ") + f.quotedText(k.email)
                    + QStringLiteral(", ") + f.quotedText(k.stat) + u')';
    return QStringLiteral("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email, stat) VALUES ")
           + rows.join(QStringLiteral(", "));
}

QString insertWebReservations(const QList<WebObjednavka> &objednavky)
{
    QStringList rows;
    for (const WebObjednavka &o : objednavky)
        rows << u'(' + SqlFormat::quotedInteger(o.klient_id) + QStringLiteral(", ")
                    + SqlFormat::quotedInteger(o.cislo_objednavky) + QStringLiteral(", ")
                    + SqlFormat::quotedDate(o.datum_objednavky) + QStringLiteral(", ") + SqlFormat::quotedDate(o.od_kdy)
                    + QStringLiteral(", ") + SqlFormat::quotedDate(o.do_kdy) + QStringLiteral(", ")
                    + SqlFormat::quotedInteger(o.pokoj_id) + QStringLiteral(", ") + SqlFormat::quotedPrice(o.cena) + u')';
    return QStringLiteral("INSERT INTO objednavky_pokoje_tab (klient_id, cislo_objednavky, datum_objednavky, od_kdy, "
                          "do_kdy, pokoj_id, cena) VALUES ")
           + rows.join(QStringLiteral(", "));
}

QString rememberWebReservations(const SqlFormat &f, const QList<WebObjednavka> &objednavky)
{
    QStringList rows;
    for (const WebObjednavka &o : objednavky)
        rows << u'(' + f.quotedText(o.rezervaceid) + QStringLiteral(", ") + SqlFormat::quotedInteger(o.cislo_objednavky)
                    + QStringLiteral(", ") + SqlFormat::quotedInteger(o.typ_pokoje_id) + QStringLiteral(", ")
                    + SqlFormat::quotedDate(o.od_kdy) + QStringLiteral(", ") + SqlFormat::quotedDate(o.do_kdy)
                    + QStringLiteral(", ") + SqlFormat::quotedDate(o.datum_objednavky) + u')';
    return QStringLiteral("INSERT INTO webove_rezervace_tab (rezervaceid, cislo_objednavky, typ_pokoje_id, od_kdy, "
                          "do_kdy, datum_importu) VALUES ")
           + rows.join(QStringLiteral(", "));
}

QString savepoint() { return QStringLiteral("SAVEPOINT webova_rezervace"); }
QString rollbackToSavepoint() { return QStringLiteral("ROLLBACK TO SAVEPOINT webova_rezervace"); }

} // namespace SqlWeb
