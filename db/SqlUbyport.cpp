#include "db/SqlUbyport.h"
#include "db/SqlFormat.h"

namespace SqlUbyport {

namespace {
QString select(const QString &condition)
{
    return QStringLiteral(
               "SELECT h.*, DATE_FORMAT(a.prijezd, '%Y-%m-%d') AS prijezd, o.do_kdy, "
               "COALESCE(p.cislo_pokoje, '') AS cislo_pokoje, "
               "COALESCE(DATE_FORMAT(u.nahlaseno, '%Y-%m-%dT%H:%i:%s'), '') AS nahlaseno, "
               "COALESCE(u.uzivatel, '') AS nahlasil, COALESCE(u.otisk, '') AS otisk "
               "FROM hoste_tab AS h "
               "JOIN prijezdy_tab AS a ON a.cislo_objednavky = h.cislo_objednavky AND a.pokoj_id = h.pokoj_id "
               "AND a.od_kdy = h.od_kdy "
               "JOIN objednavky_pokoje_tab AS o ON o.cislo_objednavky = h.cislo_objednavky "
               "AND o.pokoj_id = h.pokoj_id AND o.od_kdy = h.od_kdy "
               "LEFT JOIN pokoje_tab AS p ON p.pokoj_id = h.pokoj_id "
               "LEFT JOIN ubyport_tab AS u ON u.host_id = h.host_id WHERE ")
           + condition + QStringLiteral(" ORDER BY a.prijezd, p.cislo_pokoje, h.poradi, h.host_id");
}
} // namespace

QString selectGuests(const QDate &prijezdOd)
{
    return select(QStringLiteral("h.statni_prislusnost <> \"CZE\" AND (a.odjezd IS NULL OR a.prijezd >= ")
                  + SqlFormat::quotedDate(prijezdOd) + u')');
}

QString selectGuestsByIds(const QList<int> &hostIds)
{
    return select(QStringLiteral("h.host_id IN (") + SqlFormat::quotedIntegers(hostIds) + u')');
}

QString markReported(const SqlFormat &f, int hostId, const QString &otisk)
{
    return QStringLiteral("REPLACE INTO ubyport_tab SET host_id = ") + SqlFormat::quotedInteger(hostId)
           + QStringLiteral(", nahlaseno = NOW(), uzivatel = SUBSTRING_INDEX(USER(), \"@\", 1), otisk = ")
           + f.quotedText(otisk);
}

} // namespace SqlUbyport
