#include "db/SqlStavPokoju.h"
#include "db/SqlFormat.h"

namespace SqlStavPokoju {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
QString d(const QDate &value) { return SqlFormat::quotedDate(value); }

// One row of the room, through the key pokoj (pokoj_id, do_kdy) or pokoj (pokoj_id, od_kdy).
QString stayOfRoom(const QString &condition)
{
    return QStringLiteral("EXISTS (SELECT 1 FROM objednavky_pokoje_tab AS o WHERE o.pokoj_id = p.pokoj_id AND ")
           + condition + u')';
}
} // namespace

QString selectRooms(const QDate &den)
{
    const QString dnes = d(den);
    const QString mimo = QStringLiteral("FROM mimo_provoz_tab AS m WHERE m.pokoj_id = p.pokoj_id AND m.do_kdy >= ")
                         + dnes + QStringLiteral(" AND m.od_kdy <= ") + dnes;
    return QStringLiteral("SELECT p.pokoj_id, p.cislo_pokoje, t.nazev_typu_pokoje, COALESCE(s.stav, 0) AS stav, "
                          "EXISTS (SELECT 1 ")
           + mimo + QStringLiteral(") AS mimo_provoz, (SELECT m.duvod ") + mimo
           + QStringLiteral(" ORDER BY m.od_kdy LIMIT 1) AS duvod, ")
           + stayOfRoom(QStringLiteral("o.do_kdy = ") + d(den.addDays(-1))) + QStringLiteral(" AS odjezd, ")
           + stayOfRoom(QStringLiteral("o.do_kdy >= ") + dnes + QStringLiteral(" AND o.od_kdy < ") + dnes)
           + QStringLiteral(" AS zustava, ") + stayOfRoom(QStringLiteral("o.od_kdy = ") + dnes)
           + QStringLiteral(" AS prijezd FROM pokoje_tab AS p "
                            "LEFT JOIN typy_pokoju_tab AS t ON t.typ_pokoje_id = p.typ_pokoje_id "
                            "LEFT JOIN stav_pokoju_tab AS s ON s.pokoj_id = p.pokoj_id ORDER BY p.cislo_pokoje");
}

QString selectStatus(int pokojId)
{
    return QStringLiteral("SELECT COALESCE((SELECT stav FROM stav_pokoju_tab WHERE pokoj_id = ") + i(pokojId)
           + QStringLiteral("), 0) AS stav, EXISTS (SELECT 1 FROM pokoje_tab WHERE pokoj_id = ") + i(pokojId)
           + QStringLiteral(") AS pokoj_existuje");
}

QString writeStatus(int pokojId, int stav)
{
    return QStringLiteral("INSERT INTO stav_pokoju_tab (pokoj_id, stav) VALUES (") + i(pokojId) + QStringLiteral(", ")
           + i(stav) + QStringLiteral(") ON DUPLICATE KEY UPDATE stav = VALUES(stav)");
}

QString selectStatuses()
{
    return QStringLiteral("SELECT pokoj_id, stav FROM stav_pokoju_tab");
}

QString selectOutOfOrder(const QDate &od, const QDate &dO)
{
    return QStringLiteral("SELECT mimo_provoz_id, pokoj_id, od_kdy, do_kdy, duvod FROM mimo_provoz_tab WHERE do_kdy >= ")
           + d(od) + QStringLiteral(" AND od_kdy <= ") + d(dO) + QStringLiteral(" ORDER BY pokoj_id, od_kdy");
}

QString selectOutOfOrderOfRoom(int pokojId)
{
    return QStringLiteral("SELECT mimo_provoz_id, pokoj_id, od_kdy, do_kdy, duvod FROM mimo_provoz_tab "
                          "WHERE pokoj_id = ")
           + i(pokojId) + QStringLiteral(" ORDER BY od_kdy");
}

QString selectOutOfOrderById(int mimoProvozId)
{
    return QStringLiteral("SELECT mimo_provoz_id, pokoj_id, od_kdy, do_kdy, duvod FROM mimo_provoz_tab "
                          "WHERE mimo_provoz_id = ")
           + i(mimoProvozId);
}

QString insertOutOfOrder(const SqlFormat &f, int mimoProvozId, int pokojId, const QDate &od, const QDate &dO,
                         const QString &duvod)
{
    return QStringLiteral("INSERT INTO mimo_provoz_tab SET mimo_provoz_id = ") + i(mimoProvozId)
           + QStringLiteral(", pokoj_id = ") + i(pokojId) + QStringLiteral(", od_kdy = ") + d(od)
           + QStringLiteral(", do_kdy = ") + d(dO) + QStringLiteral(", duvod = ") + f.quotedText(duvod);
}

QString deleteOutOfOrder(int mimoProvozId)
{
    return QStringLiteral("DELETE FROM mimo_provoz_tab WHERE mimo_provoz_id = ") + i(mimoProvozId);
}

QString selectStaysOfRoom(int pokojId, const QDate &od, const QDate &dO)
{
    return QStringLiteral("SELECT o.cislo_objednavky, o.od_kdy, o.do_kdy, p.cislo_pokoje, k.jmeno "
                          "FROM objednavky_pokoje_tab AS o "
                          "LEFT JOIN pokoje_tab AS p ON p.pokoj_id = o.pokoj_id "
                          "LEFT JOIN klienti_tab AS k ON k.klient_id = o.klient_id WHERE o.pokoj_id = ")
           + i(pokojId) + QStringLiteral(" AND o.do_kdy >= ") + d(od) + QStringLiteral(" AND o.od_kdy <= ") + d(dO)
           + QStringLiteral(" ORDER BY o.od_kdy");
}

QString selectCheckedInStays(const QList<int> &pokojIds, const QDate &first, const QDate &last)
{
    return QStringLiteral("SELECT o.pokoj_id, o.od_kdy, o.do_kdy FROM prijezdy_tab AS p "
                          "JOIN objednavky_pokoje_tab AS o ON o.cislo_objednavky = p.cislo_objednavky "
                          "AND o.pokoj_id = p.pokoj_id AND o.od_kdy = p.od_kdy "
                          "WHERE p.odjezd IS NULL AND p.pokoj_id IN (")
           + SqlFormat::quotedIntegers(pokojIds) + QStringLiteral(") AND o.od_kdy <= ") + d(last)
           + QStringLiteral(" AND o.do_kdy >= ") + d(first);
}

QString selectOutOfOrderOfRooms(const QList<int> &pokojIds, const QDate &first, const QDate &last)
{
    return QStringLiteral("SELECT pokoj_id, od_kdy, do_kdy, duvod FROM mimo_provoz_tab WHERE pokoj_id IN (")
           + SqlFormat::quotedIntegers(pokojIds) + QStringLiteral(") AND do_kdy >= ") + d(first)
           + QStringLiteral(" AND od_kdy <= ") + d(last);
}

} // namespace SqlStavPokoju
