#include "db/SqlPokoje.h"
#include "db/SqlFormat.h"

#include <QStringList>

namespace SqlPokoje {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
QString d(const QDate &value) { return SqlFormat::quotedDate(value); }
} // namespace

QString selectRooms() { return QStringLiteral("SELECT * FROM pokoje_tab"); }

QString selectRoomsNumbered(const SqlFormat &f, const QString &cisloPokoje)
{
    return QStringLiteral("SELECT * FROM pokoje_tab WHERE cislo_pokoje = ") + f.quotedText(cisloPokoje);
}

QStringList lockRooms()
{
    // The rooms a save removes or adds are locked by their own rows too, as a booking locks them.
    return {QStringLiteral("pokoje_tab"), QStringLiteral("typy_pokoju_tab")};
}

QString selectRoomTypeIds() { return QStringLiteral("SELECT typ_pokoje_id FROM typy_pokoju_tab"); }

QString selectReservedRoomIds()
{
    return QStringLiteral("SELECT DISTINCT pokoj_id FROM objednavky_pokoje_tab");
}

QString countReservationsUntil(const QList<int> &pokojIds, const QDate &day)
{
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab WHERE do_kdy >= ") + d(day)
           + QStringLiteral(" AND pokoj_id IN (") + SqlFormat::quotedIntegers(pokojIds) + u')';
}

QString deleteRooms() { return QStringLiteral("DELETE FROM pokoje_tab"); }

QString deleteRoom(int pokojId)
{
    return QStringLiteral("DELETE FROM pokoje_tab WHERE pokoj_id = ") + i(pokojId);
}

QString insertRoom(const SqlFormat &f, int pokojId, const QString &cisloPokoje, int typPokojeId)
{
    return QStringLiteral("INSERT INTO pokoje_tab SET pokoj_id = ") + i(pokojId)
           + QStringLiteral(", cislo_pokoje = ") + f.quotedText(cisloPokoje)
           + QStringLiteral(", typ_pokoje_id = ") + i(typPokojeId);
}

QString updateRoom(const SqlFormat &f, int pokojId, const QString &cisloPokoje, int typPokojeId)
{
    return QStringLiteral("UPDATE pokoje_tab SET cislo_pokoje = ") + f.quotedText(cisloPokoje)
           + QStringLiteral(", typ_pokoje_id = ") + i(typPokojeId) + QStringLiteral(" WHERE pokoj_id = ")
           + i(pokojId);
}

QString deleteLinksOfRooms(const QList<int> &pokojIds)
{
    return QStringLiteral("DELETE FROM skupiny_pokoju_propojeni_tab WHERE pokoj_id IN (")
           + SqlFormat::quotedIntegers(pokojIds) + u')';
}

QString selectGroups() { return QStringLiteral("SELECT * FROM skupiny_pokoju_tab"); }

QString selectGroupsNamed(const SqlFormat &f, const QString &nazev)
{
    return QStringLiteral("SELECT * FROM skupiny_pokoju_tab WHERE nazev_skupiny_pokoju = ") + f.quotedText(nazev);
}

QString selectMembers(int skupinaPokojuId)
{
    return QStringLiteral("SELECT pokoje_tab.pokoj_id, pokoje_tab.cislo_pokoje, pokoje_tab.typ_pokoje_id "
                          "FROM skupiny_pokoju_propojeni_tab, pokoje_tab "
                          "WHERE skupiny_pokoju_propojeni_tab.pokoj_id = pokoje_tab.pokoj_id "
                          "AND skupina_pokoju_id = ")
           + i(skupinaPokojuId);
}

QStringList lockGroups()
{
    return {QStringLiteral("skupiny_pokoju_tab"), QStringLiteral("pokoje_tab")};
}

QString deleteGroup(int skupinaPokojuId)
{
    return QStringLiteral("DELETE FROM skupiny_pokoju_tab WHERE skupina_pokoju_id = ") + i(skupinaPokojuId);
}

QString insertGroup(const SqlFormat &f, int skupinaPokojuId, const QString &nazev)
{
    return QStringLiteral("INSERT INTO skupiny_pokoju_tab SET skupina_pokoju_id = ") + i(skupinaPokojuId)
           + QStringLiteral(", nazev_skupiny_pokoju = ") + f.quotedText(nazev);
}

QString updateGroup(const SqlFormat &f, int skupinaPokojuId, const QString &nazev)
{
    return QStringLiteral("UPDATE skupiny_pokoju_tab SET nazev_skupiny_pokoju = ") + f.quotedText(nazev)
           + QStringLiteral(" WHERE skupina_pokoju_id = ") + i(skupinaPokojuId);
}

QString selectLinks()
{
    return QStringLiteral("SELECT skupina_pokoju_id, pokoj_id FROM skupiny_pokoju_propojeni_tab");
}

QString deleteAllLinks() { return QStringLiteral("DELETE FROM skupiny_pokoju_propojeni_tab"); }

QString deleteLinksOfGroup(int skupinaPokojuId)
{
    return QStringLiteral("DELETE FROM skupiny_pokoju_propojeni_tab WHERE skupina_pokoju_id = ")
           + i(skupinaPokojuId);
}

QString deleteLink(int skupinaPokojuId, int pokojId)
{
    return QStringLiteral("DELETE FROM skupiny_pokoju_propojeni_tab WHERE skupina_pokoju_id = ")
           + i(skupinaPokojuId) + QStringLiteral(" AND pokoj_id = ") + i(pokojId);
}

QString insertLink(int skupinaPokojuId, int pokojId)
{
    return QStringLiteral("INSERT INTO skupiny_pokoju_propojeni_tab SET skupina_pokoju_id = ")
           + i(skupinaPokojuId) + QStringLiteral(", pokoj_id = ") + i(pokojId);
}

QString selectStaysInSpan(const QList<int> &pokojIds, const QDate &first, const QDate &last)
{
    // A group's rooms are ranges of their own in the index on (pokoj_id,
    // do_kdy): each room's stays still ending on or after the first day,
    // whatever the history and the other rooms. The server weighs each room
    // in every index beginning with pokoj_id before it reads, which for
    // hundreds of rooms costs more than reading every coming stay of the
    // hotel through the index on (do_kdy, od_kdy, pokoj_id); there the rooms
    // only filter ("+ 0").
    constexpr qsizetype roomsAsRanges = 150;
    const QString room = pokojIds.size() <= roomsAsRanges ? QStringLiteral(" AND pokoj_id IN (")
                                                          : QStringLiteral(" AND pokoj_id + 0 IN (");
    return QStringLiteral("SELECT pokoj_id, od_kdy, do_kdy FROM objednavky_pokoje_tab WHERE od_kdy <= ")
           + d(last) + QStringLiteral(" AND do_kdy >= ") + d(first) + room + SqlFormat::quotedIntegers(pokojIds)
           + u')';
}

} // namespace SqlPokoje
