#include "db/SqlWeb.h"

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
    return QStringLiteral("LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE");
}

} // namespace SqlWeb
