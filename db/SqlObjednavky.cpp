#include "db/SqlObjednavky.h"
#include "db/SqlFormat.h"
#include "db/SqlZamky.h"

namespace SqlObjednavky {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
QString d(const QDate &value) { return SqlFormat::quotedDate(value); }

// A stored stay shares a day with the span when it begins in it, ends in
// it, or encloses it. The desk and the web import ask by this one rule, so
// a stored stay whose last day is before its first counts alike for both.
// It is written as two halves, each a range of one index, so that the
// free-room search does not read a room's past stays: the stays that end on
// or after the first day and begin or end by the last one, and the stays
// that begin inside the span (the only ones a corrupt stay adds). `t` names
// the reservations table as the statement refers to it.
QString reachesSpan(const QString &t, const QDate &odKdy, const QDate &doKdy)
{
    return t + QStringLiteral(".do_kdy >= ") + d(odKdy) + QStringLiteral(" AND (") + t + QStringLiteral(".od_kdy <= ")
           + d(doKdy) + QStringLiteral(" OR ") + t + QStringLiteral(".do_kdy <= ") + d(doKdy) + u')';
}

QString beginsInSpan(const QString &t, const QDate &odKdy, const QDate &doKdy)
{
    return t + QStringLiteral(".od_kdy >= ") + d(odKdy) + QStringLiteral(" AND ") + t + QStringLiteral(".od_kdy <= ")
           + d(doKdy);
}

QString sharesDay(const QDate &odKdy, const QDate &doKdy)
{
    const QString t = QStringLiteral("objednavky_pokoje_tab");
    return QStringLiteral("((") + reachesSpan(t, odKdy, doKdy) + QStringLiteral(") OR (")
           + beginsInSpan(t, odKdy, doKdy) + QStringLiteral("))");
}

// A stay of the room in pokoje_tab, under the alias (which the import's
// save names).
QString noStayOfRoom(const QString &alias, const QString &condition)
{
    return QStringLiteral(" NOT EXISTS (SELECT 1 FROM objednavky_pokoje_tab AS ") + alias + QStringLiteral(" WHERE ")
           + alias + QStringLiteral(".pokoj_id = pokoje_tab.pokoj_id AND ") + condition + u')';
}

// A span out of order shares a night with the stay; a span whose last day
// is before its first blocks nothing, here as in VolnePokoje.
QString outOfOrderInSpan(const QString &t, const QDate &odKdy, const QDate &doKdy)
{
    return t + QStringLiteral(".do_kdy >= ") + d(odKdy) + QStringLiteral(" AND ") + t + QStringLiteral(".od_kdy <= ")
           + d(doKdy) + QStringLiteral(" AND ") + t + QStringLiteral(".od_kdy <= ") + t + QStringLiteral(".do_kdy");
}
} // namespace

QStringList lockBooking(int klientId, int pokojId)
{
    return {SqlZamky::klient(klientId), SqlZamky::pokoj(pokojId)};
}

QString selectCollisions(int pokojId, const QDate &odKdy, const QDate &doKdy)
{
    // The server merges the keys (pokoj_id, od_kdy) and (pokoj_id, do_kdy)
    // for the alternatives, so a room's past stays are not read. A night
    // out of order counts as a night taken.
    return QStringLiteral("SELECT (SELECT COUNT(*) FROM objednavky_pokoje_tab WHERE pokoj_id = ") + i(pokojId)
           + QStringLiteral(" AND ") + sharesDay(odKdy, doKdy)
           + QStringLiteral(") + (SELECT COUNT(*) FROM mimo_provoz_tab WHERE mimo_provoz_tab.pokoj_id = ") + i(pokojId)
           + QStringLiteral(" AND ") + outOfOrderInSpan(QStringLiteral("mimo_provoz_tab"), odKdy, doKdy)
           + QStringLiteral(") AS pocet");
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

QString selectNames(int klientId, int pokojId)
{
    return QStringLiteral("SELECT (SELECT jmeno FROM klienti_tab WHERE klient_id = ") + i(klientId)
           + QStringLiteral(" LIMIT 1) AS jmeno, (SELECT cislo_pokoje FROM pokoje_tab WHERE pokoj_id = ") + i(pokojId)
           + QStringLiteral(" LIMIT 1) AS cislo_pokoje");
}

QString selectWithNames(int cisloObjednavky, int klientId)
{
    QString sql = QStringLiteral("SELECT objednavky_pokoje_tab.od_kdy, objednavky_pokoje_tab.do_kdy, "
                                 "objednavky_pokoje_tab.pokoj_id, objednavky_pokoje_tab.klient_id, pokoje_tab.cislo_pokoje, klienti_tab.jmeno "
                                 "FROM objednavky_pokoje_tab "
                                 "LEFT JOIN pokoje_tab ON pokoje_tab.pokoj_id = objednavky_pokoje_tab.pokoj_id "
                                 "LEFT JOIN klienti_tab ON klienti_tab.klient_id = objednavky_pokoje_tab.klient_id "
                                 "WHERE objednavky_pokoje_tab.cislo_objednavky = ")
                  + i(cisloObjednavky);
    if (klientId >= 0)
        sql += QStringLiteral(" AND objednavky_pokoje_tab.klient_id = ") + i(klientId);
    return sql;
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

QString selectFreeRooms(int typPokojeId, const QDate &odKdy, const QDate &doKdy)
{
    // Room by room, lowest first, by the collision count's rule, one half of
    // it per index.
    const QString konci = QStringLiteral("konci"), zacina = QStringLiteral("zacina");
    return QStringLiteral("SELECT pokoj_id FROM pokoje_tab WHERE typ_pokoje_id = ") + i(typPokojeId)
           + QStringLiteral(" AND") + noStayOfRoom(konci, reachesSpan(konci, odKdy, doKdy)) + QStringLiteral(" AND")
           + noStayOfRoom(zacina, beginsInSpan(zacina, odKdy, doKdy))
           + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM mimo_provoz_tab WHERE mimo_provoz_tab.pokoj_id = "
                            "pokoje_tab.pokoj_id AND ")
           + outOfOrderInSpan(QStringLiteral("mimo_provoz_tab"), odKdy, doKdy) + QStringLiteral(") ORDER BY pokoj_id");
}

QString selectFreeRoom(int typPokojeId, const QDate &odKdy, const QDate &doKdy)
{
    // Stops at the first free room.
    return selectFreeRooms(typPokojeId, odKdy, doKdy) + QStringLiteral(" LIMIT 1");
}

QString selectRoomsOfTypes(const QList<int> &typyPokoju)
{
    return QStringLiteral("SELECT pokoj_id, typ_pokoje_id FROM pokoje_tab WHERE typ_pokoje_id IN (")
           + SqlFormat::quotedIntegers(typyPokoju) + QStringLiteral(") ORDER BY pokoj_id");
}

QString selectStaysNear(const QList<int> &pokoje, const QDate &odKdy, const QDate &doKdy)
{
    // A stay that begins in the window and ends on or after its first day
    // is in the first half already; the second adds only the corrupt ones.
    const QString rooms = SqlFormat::quotedIntegers(pokoje);
    const auto half = [&](const QString &t, const QString &condition) {
        return QStringLiteral("SELECT ") + t + QStringLiteral(".pokoj_id AS pokoj_id, ") + t
               + QStringLiteral(".od_kdy AS od_kdy, ") + t + QStringLiteral(".do_kdy AS do_kdy FROM objednavky_pokoje_tab AS ")
               + t + QStringLiteral(" WHERE ") + t + QStringLiteral(".pokoj_id IN (") + rooms + QStringLiteral(") AND ")
               + condition;
    };
    const QString konci = QStringLiteral("konci"), zacina = QStringLiteral("zacina");
    return half(konci, reachesSpan(konci, odKdy, doKdy)) + QStringLiteral(" UNION ALL ")
           + half(zacina, beginsInSpan(zacina, odKdy, doKdy) + QStringLiteral(" AND ") + zacina
                              + QStringLiteral(".do_kdy < ") + d(odKdy));
}

QString selectOutOfOrderNear(const QList<int> &pokoje, const QDate &odKdy, const QDate &doKdy)
{
    return QStringLiteral("SELECT pokoj_id, od_kdy, do_kdy FROM mimo_provoz_tab WHERE pokoj_id IN (")
           + SqlFormat::quotedIntegers(pokoje) + QStringLiteral(") AND ")
           + outOfOrderInSpan(QStringLiteral("mimo_provoz_tab"), odKdy, doKdy);
}

} // namespace SqlObjednavky
