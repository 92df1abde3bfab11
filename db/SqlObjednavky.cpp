#include "db/SqlObjednavky.h"
#include "db/SqlFormat.h"

namespace SqlObjednavky {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
QString d(const QDate &value) { return SqlFormat::quotedDate(value); }

// The joins that find the client's type, the room's type, the day types of
// a date and their prices; the date condition follows.
QString priceJoin(int klientId, int pokojId)
{
    return QStringLiteral(" FROM ceny_pokoje_tab, typy_dnu_tab, kalendar_typy_dnu_tab, klienti_tab, pokoje_tab"
                          " WHERE klienti_tab.klient_id = ")
           + i(klientId)
           + QStringLiteral(" AND klienti_tab.typ_klienta_id = ceny_pokoje_tab.typ_klienta_id"
                            " AND pokoje_tab.pokoj_id = ")
           + i(pokojId) + QStringLiteral(" AND pokoje_tab.typ_pokoje_id = ceny_pokoje_tab.typ_pokoje_id");
}

QString priceTypes()
{
    return QStringLiteral(" AND kalendar_typy_dnu_tab.typ_dne_id = ceny_pokoje_tab.typ_dne_id"
                          " AND typy_dnu_tab.typ_dne_id = ceny_pokoje_tab.typ_dne_id");
}
} // namespace

QString lockReservations()
{
    return QStringLiteral("LOCK TABLES klienti_tab WRITE, objednavky_pokoje_tab WRITE, pokoje_tab READ");
}

QString selectCollisions(int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    // The server merges the keys (pokoj_id, od_kdy) and (pokoj_id, do_kdy)
    // for the alternatives, so a room's past stays are not read.
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab WHERE pokoj_id = ") + i(pokojId)
           + QStringLiteral(" AND (( od_kdy >= ") + d(odKdy) + QStringLiteral(" AND od_kdy <= ") + d(doKdy)
           + QStringLiteral(") OR ( do_kdy >= ") + d(odKdy) + QStringLiteral(" AND do_kdy <= ") + d(doKdy)
           + QStringLiteral(") OR ( do_kdy >= ") + d(doKdy) + QStringLiteral(" AND od_kdy <= ") + d(odKdy)
           + QStringLiteral("))");
}

QString selectNewNumber()
{
    return QStringLiteral("SELECT MAX(cislo_objednavky)+ 1 AS nove_cislo FROM objednavky_pokoje_tab");
}

QString insertReservation(int klientId, int cisloObjednavky, const QDate &datumObjednavky,
                          const QDate &odKdy, const QDate &doKdy, int pokojId, double cena)
{
    return QStringLiteral("INSERT INTO objednavky_pokoje_tab SET klient_id = ") + i(klientId)
           + QStringLiteral(", cislo_objednavky = ") + i(cisloObjednavky)
           + QStringLiteral(", datum_objednavky = ") + d(datumObjednavky)
           + QStringLiteral(", od_kdy = ") + d(odKdy) + QStringLiteral(", do_kdy = ") + d(doKdy)
           + QStringLiteral(", pokoj_id = ") + i(pokojId)
           + QStringLiteral(", cena = ") + SqlFormat::quotedPrice(cena);
}

QString deleteReservation(int cisloObjednavky)
{
    return QStringLiteral("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky = ") + i(cisloObjednavky);
}

QString deleteReservation(int cisloObjednavky, int klientId)
{
    return deleteReservation(cisloObjednavky) + QStringLiteral(" AND klient_id = ") + i(klientId);
}

QString selectOfClient(int klientId)
{
    return QStringLiteral("SELECT * FROM objednavky_pokoje_tab WHERE klient_id = ") + i(klientId);
}

QString countRoom(int pokojId)
{
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM pokoje_tab WHERE pokoj_id = ") + i(pokojId);
}

QString countRoom(int pokojId, const QString &cisloPokoje, const SqlFormat &f)
{
    return countRoom(pokojId) + QStringLiteral(" AND cislo_pokoje = ") + f.quotedText(cisloPokoje);
}

QString countOfClient(int klientId)
{
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab WHERE klient_id = ") + i(klientId);
}

QString selectDayPrice(int klientId, int pokojId, const QDate &day)
{
    return QStringLiteral("SELECT cena AS cena") + priceJoin(klientId, pokojId)
           + QStringLiteral(" AND kalendar_typy_dnu_tab.datum = ") + d(day) + priceTypes()
           + QStringLiteral(" ORDER BY typy_dnu_tab.poradi");
}

QString selectFreeRooms(int typPokojeId, const QDate &odKdy, const QDate &doKdy)
{
    // The rooms with a stay sharing a day with the span, read first on their
    // own: joined room by room, every stay a room ever had would be read.
    // Ends on or after the first day and begins or ends by the last one, or
    // begins inside the span: exactly the three alternatives of the
    // collision count, each half served by its index alone.
    return QStringLiteral("SELECT pokoje.pokoj_id FROM pokoje_tab AS pokoje LEFT JOIN "
                          "(SELECT pokoj_id FROM objednavky_pokoje_tab WHERE do_kdy >= ")
           + d(odKdy) + QStringLiteral(" AND (od_kdy <= ") + d(doKdy) + QStringLiteral(" OR do_kdy <= ") + d(doKdy)
           + QStringLiteral(") UNION SELECT pokoj_id FROM objednavky_pokoje_tab WHERE od_kdy >= ") + d(odKdy)
           + QStringLiteral(" AND od_kdy <= ") + d(doKdy)
           + QStringLiteral(") AS objednavky ON pokoje.pokoj_id = objednavky.pokoj_id WHERE pokoje.typ_pokoje_id = ")
           + i(typPokojeId)
           + QStringLiteral(" AND objednavky.pokoj_id IS NULL GROUP BY pokoje.pokoj_id ORDER BY pokoje.pokoj_id");
}

} // namespace SqlObjednavky
