#include "db/SqlKnihy.h"
#include "db/SqlFormat.h"

namespace SqlKnihy {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }

// The particulars a correction keeps, as hoste_tab and hoste_opravy_tab name them alike.
const QString udaje = QStringLiteral("jmeno, prijmeni, datum_narozeni, statni_prislusnost, ulice, mesto, psc, stat, "
                                     "doklad_druh, doklad_cislo, vizum, ucel, osvobozeni_id");
} // namespace

QString selectCheckedInOfReservation(int cisloObjednavky, int klientId)
{
    QString sql = QStringLiteral("SELECT COUNT(*) AS pocet FROM prijezdy_tab AS a "
                                 "JOIN objednavky_pokoje_tab AS o ON o.cislo_objednavky = a.cislo_objednavky "
                                 "AND o.pokoj_id = a.pokoj_id AND o.od_kdy = a.od_kdy WHERE o.cislo_objednavky = ")
                  + i(cisloObjednavky);
    if (klientId >= 0)
        sql += QStringLiteral(" AND o.klient_id = ") + i(klientId);
    return sql;
}

QString selectCheckedInStay(const KlicPobytu &pobyt)
{
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM prijezdy_tab WHERE cislo_objednavky = ")
           + i(pobyt.cislo_objednavky) + QStringLiteral(" AND pokoj_id = ") + i(pobyt.pokoj_id)
           + QStringLiteral(" AND od_kdy = ") + SqlFormat::quotedDate(pobyt.od_kdy);
}

QString insertCorrection(int hostId)
{
    return QStringLiteral("INSERT INTO hoste_opravy_tab (host_id, kdy, uzivatel, ") + udaje
           + QStringLiteral(") SELECT host_id, NOW(), SUBSTRING_INDEX(USER(), \"@\", 1), ") + udaje
           + QStringLiteral(" FROM hoste_tab WHERE host_id = ") + i(hostId);
}

QString selectForeigners(const QDate &od, const QDate &doKdy)
{
    return QStringLiteral(
               "SELECT h.*, DATE_FORMAT(a.prijezd, '%Y-%m-%dT%H:%i:%s') AS prijezd, o.do_kdy, "
               "COALESCE(p.cislo_pokoje, '') AS cislo_pokoje, "
               "COALESCE((SELECT DATE_FORMAT(MAX(r.kdy), '%Y-%m-%dT%H:%i:%s') FROM hoste_opravy_tab AS r "
               "WHERE r.host_id = h.host_id), '') AS opraveno, "
               "COALESCE((SELECT r.uzivatel FROM hoste_opravy_tab AS r WHERE r.host_id = h.host_id "
               "ORDER BY r.kdy DESC, r.id DESC LIMIT 1), '') AS opravil "
               "FROM hoste_tab AS h "
               "JOIN prijezdy_tab AS a ON a.cislo_objednavky = h.cislo_objednavky AND a.pokoj_id = h.pokoj_id "
               "AND a.od_kdy = h.od_kdy "
               "JOIN objednavky_pokoje_tab AS o ON o.cislo_objednavky = h.cislo_objednavky "
               "AND o.pokoj_id = h.pokoj_id AND o.od_kdy = h.od_kdy "
               "LEFT JOIN pokoje_tab AS p ON p.pokoj_id = h.pokoj_id "
               "WHERE h.statni_prislusnost <> \"CZE\" AND a.prijezd >= ")
           + SqlFormat::quotedDate(od) + QStringLiteral(" AND a.prijezd < ") + SqlFormat::quotedDate(doKdy.addDays(1))
           + QStringLiteral(" ORDER BY a.prijezd, p.cislo_pokoje, h.poradi, h.host_id");
}

} // namespace SqlKnihy
