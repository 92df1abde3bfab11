#include "db/SqlPrehledy.h"
#include "db/SqlFormat.h"

namespace SqlPrehledy {

QString selectRooms(int skupinaPokojuId)
{
    QString sql = QStringLiteral(
        "SELECT p.pokoj_id, COALESCE(t.typ_pokoje_id, -1) AS typ_pokoje_id, "
        "COALESCE(t.nazev_typu_pokoje, \"\") AS nazev_typu_pokoje FROM pokoje_tab p "
        "LEFT JOIN typy_pokoju_tab t ON t.typ_pokoje_id = p.typ_pokoje_id");
    // IN rather than a join: the links have no key, a room may be linked twice.
    if (skupinaPokojuId >= 0)
        sql += QStringLiteral(" WHERE p.pokoj_id IN (SELECT pokoj_id FROM skupiny_pokoju_propojeni_tab "
                              "WHERE skupina_pokoju_id = ")
               + SqlFormat::quotedInteger(skupinaPokojuId) + u')';
    return sql + QStringLiteral(" ORDER BY p.pokoj_id");
}

QString selectClientTypes()
{
    return QStringLiteral("SELECT typ_klienta_id, typ_klienta FROM typy_klientu_tab ORDER BY typ_klienta_id");
}

QString selectStays(const QDate &first, const QDate &last, bool typKlienta)
{
    // The range on the index (do_kdy, od_kdy, ...) reads only the stays
    // still ending in the period or later, never the years before it; the
    // rooms filter in memory, a group's list of ids would make the server
    // weigh each room in every index.
    const QString zacatek = SqlFormat::quotedDate(first);
    QString sql = QStringLiteral("SELECT o.pokoj_id, DATEDIFF(o.od_kdy, ") + zacatek
                  + QStringLiteral(") AS prvni_noc, DATEDIFF(o.do_kdy, ") + zacatek
                  + QStringLiteral(") AS posledni_noc, o.cena, ");
    sql += typKlienta ? QStringLiteral("COALESCE(k.typ_klienta_id, -1) AS typ_klienta_id FROM objednavky_pokoje_tab o "
                                       "LEFT JOIN klienti_tab k ON k.klient_id = o.klient_id")
                      : QStringLiteral("-1 AS typ_klienta_id FROM objednavky_pokoje_tab o");
    return sql + QStringLiteral(" WHERE o.do_kdy >= ") + zacatek + QStringLiteral(" AND o.od_kdy <= ")
           + SqlFormat::quotedDate(last);
}

} // namespace SqlPrehledy
