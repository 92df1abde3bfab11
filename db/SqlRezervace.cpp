#include "db/SqlRezervace.h"
#include "db/SqlFormat.h"

namespace SqlRezervace {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
QString d(const QDate &value) { return SqlFormat::quotedDate(value); }
} // namespace

QString selectStayNights(int klientId, int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    // A left join keeps the nights whose day types have no price, so the
    // desk can say which type it is; the first row of a day is the price
    // the stay is charged (lowest poradi among the priced types).
    return QStringLiteral("SELECT kalendar.datum AS datum, typy.nazev_typu_dne AS typ_dne,"
                          " ceny.cena IS NOT NULL AS ma_cenu, ceny.cena AS cena"
                          " FROM kalendar_typy_dnu_tab AS kalendar"
                          " JOIN typy_dnu_tab AS typy ON typy.typ_dne_id = kalendar.typ_dne_id"
                          " LEFT JOIN ceny_pokoje_tab AS ceny ON ceny.typ_dne_id = kalendar.typ_dne_id"
                          " AND ceny.typ_pokoje_id = (SELECT typ_pokoje_id FROM pokoje_tab WHERE pokoj_id = ")
           + i(pokojId)
           + QStringLiteral(") AND ceny.typ_klienta_id = (SELECT typ_klienta_id FROM klienti_tab WHERE klient_id = ")
           + i(klientId) + QStringLiteral(") WHERE kalendar.datum >= ") + d(odKdy)
           + QStringLiteral(" AND kalendar.datum <= ") + d(doKdy)
           + QStringLiteral(" ORDER BY kalendar.datum, ceny.cena IS NULL, typy.poradi");
}

QString selectStaysOfRoom(int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    return QStringLiteral("SELECT objednavky.cislo_objednavky AS cislo_objednavky, objednavky.od_kdy AS od_kdy,"
                          " objednavky.do_kdy AS do_kdy, objednavky.cena AS cena, klienti.jmeno AS jmeno"
                          " FROM objednavky_pokoje_tab AS objednavky"
                          " LEFT JOIN klienti_tab AS klienti ON klienti.klient_id = objednavky.klient_id"
                          " WHERE objednavky.pokoj_id = ")
           + i(pokojId) + QStringLiteral(" AND objednavky.od_kdy <= ") + d(doKdy)
           + QStringLiteral(" AND objednavky.do_kdy >= ") + d(odKdy)
           + QStringLiteral(" ORDER BY objednavky.od_kdy, objednavky.cislo_objednavky");
}

} // namespace SqlRezervace
