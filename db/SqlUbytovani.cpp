#include "db/SqlUbytovani.h"
#include "db/SqlFormat.h"

namespace SqlUbytovani {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
QString d(const QDate &value) { return SqlFormat::quotedDate(value); }

QString cas(const QDateTime &value)
{
    return u'"' + value.toString(u"yyyy-MM-dd HH:mm:ss") + u'"';
}

QString klic(const QString &t, const KlicPobytu &p)
{
    return t + QStringLiteral(".cislo_objednavky = ") + i(p.cislo_objednavky) + QStringLiteral(" AND ") + t
           + QStringLiteral(".pokoj_id = ") + i(p.pokoj_id) + QStringLiteral(" AND ") + t + QStringLiteral(".od_kdy = ")
           + d(p.od_kdy);
}

// The stay with its room's number, its client's name and its arrival row;
// times in a form that reads back the same whatever the driver.
QString select(const QString &condition)
{
    return QStringLiteral(
               "SELECT o.cislo_objednavky, o.pokoj_id, o.od_kdy, o.do_kdy, o.cena, o.klient_id, p.cislo_pokoje, "
               "k.jmeno, COALESCE(DATE_FORMAT(a.prijezd, '%Y-%m-%dT%H:%i:%s'), '') AS prijezd, "
               "COALESCE(DATE_FORMAT(a.odjezd, '%Y-%m-%dT%H:%i:%s'), '') AS odjezd "
               "FROM objednavky_pokoje_tab AS o "
               "LEFT JOIN pokoje_tab AS p ON p.pokoj_id = o.pokoj_id "
               "LEFT JOIN klienti_tab AS k ON k.klient_id = o.klient_id "
               "LEFT JOIN prijezdy_tab AS a ON a.cislo_objednavky = o.cislo_objednavky AND a.pokoj_id = o.pokoj_id "
               "AND a.od_kdy = o.od_kdy WHERE ")
           + condition;
}
} // namespace

QString selectToCheckIn(const QDate &den, const QDate &doDne)
{
    return select(QStringLiteral("a.prijezd IS NULL AND o.do_kdy >= ") + d(den) + QStringLiteral(" AND o.od_kdy <= ")
                  + d(doDne))
           + QStringLiteral(" ORDER BY o.od_kdy <> ") + d(den)
           + QStringLiteral(", o.od_kdy, p.cislo_pokoje, o.cislo_objednavky");
}

QString selectCheckedIn(const QDate &odjezdOd)
{
    return select(QStringLiteral("a.prijezd IS NOT NULL AND (a.odjezd IS NULL OR a.odjezd >= ") + d(odjezdOd)
                  + u')')
           + QStringLiteral(" ORDER BY a.odjezd IS NOT NULL, o.do_kdy, p.cislo_pokoje, o.cislo_objednavky");
}

QString selectStay(const KlicPobytu &pobyt)
{
    return select(klic(QStringLiteral("o"), pobyt));
}

QString insertArrival(const KlicPobytu &pobyt, const QDateTime &prijezd)
{
    return QStringLiteral("INSERT INTO prijezdy_tab SET cislo_objednavky = ") + i(pobyt.cislo_objednavky)
           + QStringLiteral(", pokoj_id = ") + i(pobyt.pokoj_id) + QStringLiteral(", od_kdy = ") + d(pobyt.od_kdy)
           + QStringLiteral(", prijezd = ") + cas(prijezd) + QStringLiteral(", odjezd = NULL");
}

QString deleteArrival(const KlicPobytu &pobyt)
{
    return QStringLiteral("DELETE FROM prijezdy_tab WHERE ") + klic(QStringLiteral("prijezdy_tab"), pobyt);
}

QString updateDeparture(const KlicPobytu &pobyt, const QDateTime &odjezd)
{
    return QStringLiteral("UPDATE prijezdy_tab AS a SET a.odjezd = ")
           + (odjezd.isValid() ? cas(odjezd) : QStringLiteral("NULL")) + QStringLiteral(" WHERE ")
           + klic(QStringLiteral("a"), pobyt);
}

QString moveStart(const KlicPobytu &pobyt, const QDate &noveOd, double cena)
{
    return QStringLiteral("UPDATE objednavky_pokoje_tab AS o SET o.od_kdy = ") + d(noveOd)
           + QStringLiteral(", o.cena = ") + SqlFormat::quotedPrice(cena) + QStringLiteral(" WHERE ")
           + klic(QStringLiteral("o"), pobyt);
}

QString shorten(const KlicPobytu &pobyt, const QDate &noveDo, double cena)
{
    return QStringLiteral("UPDATE objednavky_pokoje_tab AS o SET o.do_kdy = ") + d(noveDo)
           + QStringLiteral(", o.cena = ") + SqlFormat::quotedPrice(cena) + QStringLiteral(" WHERE ")
           + klic(QStringLiteral("o"), pobyt);
}

QString selectRoomState(int pokojId)
{
    return QStringLiteral("SELECT stav FROM stav_pokoju_tab WHERE pokoj_id = ") + i(pokojId);
}

QString markDirty(int pokojId)
{
    return QStringLiteral("INSERT INTO stav_pokoju_tab (pokoj_id, stav) VALUES (") + i(pokojId)
           + QStringLiteral(", 1) ON DUPLICATE KEY UPDATE stav = 1");
}

QString selectOutOfOrder(int pokojId, const QDate &den)
{
    return QStringLiteral("SELECT duvod, od_kdy, do_kdy FROM mimo_provoz_tab WHERE pokoj_id = ") + i(pokojId)
           + QStringLiteral(" AND od_kdy <= ") + d(den) + QStringLiteral(" AND do_kdy >= ") + d(den)
           + QStringLiteral(" ORDER BY od_kdy");
}

} // namespace SqlUbytovani
