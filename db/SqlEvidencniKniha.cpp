#include "db/SqlEvidencniKniha.h"
#include "db/SqlFormat.h"

namespace SqlEvidencniKniha {

QString selectGuests(const QDate &od, const QDate &doKdy)
{
    return QStringLiteral(
               "SELECT h.*, o.do_kdy, COALESCE(p.cislo_pokoje, '') AS cislo_pokoje, "
               "COALESCE(x.nazev, '') AS osvobozeni_nazev "
               "FROM objednavky_pokoje_tab AS o "
               "JOIN prijezdy_tab AS a ON a.cislo_objednavky = o.cislo_objednavky AND a.pokoj_id = o.pokoj_id "
               "AND a.od_kdy = o.od_kdy "
               "JOIN hoste_tab AS h ON h.cislo_objednavky = o.cislo_objednavky AND h.pokoj_id = o.pokoj_id "
               "AND h.od_kdy = o.od_kdy "
               "LEFT JOIN pokoje_tab AS p ON p.pokoj_id = o.pokoj_id "
               "LEFT JOIN osvobozeni_tab AS x ON x.osvobozeni_id = h.osvobozeni_id AND h.osvobozeni_id <> 0 "
               "WHERE o.do_kdy >= ")
           + SqlFormat::quotedDate(od) + QStringLiteral(" AND o.od_kdy <= ") + SqlFormat::quotedDate(doKdy)
           + QStringLiteral(" ORDER BY o.od_kdy, p.cislo_pokoje, h.poradi, h.host_id");
}

} // namespace SqlEvidencniKniha
