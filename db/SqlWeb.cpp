#include "db/SqlWeb.h"
#include "db/SqlFormat.h"

namespace SqlWeb {

QString selectTypyPokoju()
{
    return QStringLiteral("SELECT typy.typ_pokoje_id, typy.nazev_typu_pokoje, typy.pocet_luzek , COUNT(*) AS pocet_pokoju "
                          "FROM typy_pokoju_tab AS typy, pokoje_tab AS pokoje "
                          "WHERE pokoje.typ_pokoje_id = typy.typ_pokoje_id GROUP BY typy.typ_pokoje_id");
}

QString selectCenyAObsazenost()
{
    // The comma-joined tables stand in parentheses: without them MariaDB binds
    // the LEFT JOIN to ceny alone and the ON clause cannot see pokoje and
    // kalendar. The grouping names ungrouped columns (cena), which the
    // connection allows by keeping ONLY_FULL_GROUP_BY off.
    // The reservations are those touching the exported year, read first on
    // their own through the index on do_kdy (a stay covering a day of the
    // year ends on or after today and begins before the year's end): joined
    // straight, every calendar day would read every stay its room ever had.
    return QStringLiteral(
        "SELECT count(distinct objednavky.cislo_objednavky) AS rezervovano, ceny.typ_pokoje_id, kalendar.datum, ceny.cena "
        "FROM (ceny_pokoje_tab AS ceny, typy_dnu_tab AS typy, kalendar_typy_dnu_tab AS kalendar, pokoje_tab AS pokoje) "
        "LEFT JOIN (SELECT DISTINCT cislo_objednavky, pokoj_id, od_kdy, do_kdy FROM objednavky_pokoje_tab "
        "WHERE do_kdy >= CURDATE() AND od_kdy < FROM_DAYS(TO_DAYS(CURDATE()) + 365)) AS objednavky "
        "ON (ceny.typ_pokoje_id = pokoje.typ_pokoje_id "
        "AND pokoje.pokoj_id = objednavky.pokoj_id AND objednavky.od_kdy <= kalendar.datum "
        "AND objednavky.do_kdy >= kalendar.datum) "
        "WHERE typy.typ_dne_id = ceny.typ_dne_id AND typy.typ_dne_id = kalendar.typ_dne_id "
        "AND ceny.typ_klienta_id = 1 AND pokoje.typ_pokoje_id = ceny.typ_pokoje_id "
        "AND kalendar.datum >= CURDATE() AND kalendar.datum < FROM_DAYS(TO_DAYS(CURDATE()) + 365) "
        "GROUP BY ceny.typ_pokoje_id, kalendar.datum");
}

QString lockImport()
{
    // The free-room search reads the reservations under two aliases.
    return QStringLiteral("LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE, webove_rezervace_tab WRITE, "
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
