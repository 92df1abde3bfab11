#include "db/SqlWeb.h"
#include "db/SqlFormat.h"
#include "db/SqlZamky.h"

#include <utility>

namespace SqlWeb {

QString selectTypyPokoju()
{
    return QStringLiteral("SELECT typy.typ_pokoje_id, typy.nazev_typu_pokoje, typy.pocet_luzek , COUNT(*) AS pocet_pokoju "
                          "FROM typy_pokoju_tab AS typy, pokoje_tab AS pokoje "
                          "WHERE pokoje.typ_pokoje_id = typy.typ_pokoje_id GROUP BY typy.typ_pokoje_id");
}

QString selectCenyTypuDnu()
{
    // The prices and the days (selectKalendarRoku) read apart, each a few
    // hundred rows at most; the export pairs them and counts the occupancy
    // from selectPobytyVObdobi.
    return QStringLiteral("SELECT ceny.typ_pokoje_id, ceny.typ_dne_id, ceny.cena "
                          "FROM ceny_pokoje_tab AS ceny, typy_dnu_tab AS typy "
                          "WHERE typy.typ_dne_id = ceny.typ_dne_id AND ceny.typ_klienta_id = 1 "
                          "AND ceny.typ_pokoje_id IN (SELECT pokoje.typ_pokoje_id FROM pokoje_tab AS pokoje)");
}

QString selectKalendarRoku()
{
    return QStringLiteral("SELECT kalendar.datum, kalendar.typ_dne_id FROM kalendar_typy_dnu_tab AS kalendar "
                          "WHERE kalendar.datum >= CURDATE() AND kalendar.datum < FROM_DAYS(TO_DAYS(CURDATE()) + 365) "
                          "ORDER BY kalendar.datum");
}

QString selectPobytyVObdobi(const QDate &od, const QDate &dO)
{
    // Through the index on do_kdy: only the stays still ending by then, never
    // the years before, read from the index alone. Days as numbers: cheaper
    // to read than dates. The rooms' types come apart (selectTypyPokoju of
    // the rooms): joined here, the room looked up for each stay took twice
    // as long as reading the stays.
    const QString prvni = SqlFormat::quotedDate(od);
    return QStringLiteral("SELECT cislo_objednavky, pokoj_id, TO_DAYS(od_kdy) - TO_DAYS(") + prvni
           + QStringLiteral(") AS od, TO_DAYS(do_kdy) - TO_DAYS(") + prvni
           + QStringLiteral(") AS do_ FROM objednavky_pokoje_tab WHERE do_kdy >= ") + prvni
           + QStringLiteral(" AND od_kdy <= ") + SqlFormat::quotedDate(dO);
}

QString selectMimoProvozVObdobi(const QDate &od, const QDate &dO)
{
    const QString prvni = SqlFormat::quotedDate(od);
    return QStringLiteral("SELECT pokoj_id, TO_DAYS(od_kdy) - TO_DAYS(") + prvni
           + QStringLiteral(") AS od, TO_DAYS(do_kdy) - TO_DAYS(") + prvni
           + QStringLiteral(") AS do_ FROM mimo_provoz_tab WHERE do_kdy >= ") + prvni
           + QStringLiteral(" AND od_kdy <= ") + SqlFormat::quotedDate(dO);
}

QString selectTypyPokojuPokoju()
{
    return QStringLiteral("SELECT pokoj_id, typ_pokoje_id FROM pokoje_tab");
}

QString stopStatement(qint64 connectionId)
{
    return QStringLiteral("KILL QUERY ") + SqlFormat::integer(connectionId);
}

QStringList lockImport(const QList<int> &pokoje)
{
    // Two imports wait for each other (one offer must not be stored twice);
    // a booking at the desk waits only for the rooms it shares with one.
    QStringList zamky{QStringLiteral("webove_rezervace_tab")};
    for (int pokoj : pokoje)
        zamky << SqlZamky::pokoj(pokoj);
    return zamky;
}

QString selectStoredWebReservations(const SqlFormat &f, const QStringList &rezervaceIds)
{
    QString sql = QStringLiteral(
        "SELECT webove_rezervace_tab.rezervaceid AS rezervaceid, "
        "webove_rezervace_tab.cislo_objednavky AS cislo_objednavky, "
        "webove_rezervace_tab.typ_pokoje_id AS typ_pokoje_id, webove_rezervace_tab.od_kdy AS od_kdy, "
        "webove_rezervace_tab.do_kdy AS do_kdy, "
        "objednavky_pokoje_tab.cislo_objednavky IS NOT NULL AS nalezena, objednavky_pokoje_tab.cena AS cena, "
        "klienti_tab.jmeno AS jmeno, klienti_tab.telefon AS telefon, klienti_tab.email AS email, "
        "klienti_tab.stat AS stat "
        "FROM webove_rezervace_tab "
        "LEFT JOIN objednavky_pokoje_tab "
        "ON objednavky_pokoje_tab.cislo_objednavky = webove_rezervace_tab.cislo_objednavky "
        "LEFT JOIN klienti_tab ON klienti_tab.klient_id = objednavky_pokoje_tab.klient_id "
        "WHERE webove_rezervace_tab.rezervaceid IN (");
    qsizetype delka = sql.size() + 1;
    for (const QString &id : rezervaceIds)
        delka += 4 + id.size();
    sql.reserve(delka + delka / 8);
    bool prvni = true;
    for (const QString &id : rezervaceIds) {
        if (!prvni)
            sql += QLatin1String(", ");
        prvni = false;
        f.appendQuotedText(sql, id);
    }
    sql += u')';
    return sql;
}

// The import's statements run to a thousand rows: each is built in one
// buffer, values appended in place.
namespace {
/** The rows of a multi-row VALUES list, each "(v, v, ...)", joined by ", ". */
class Radky
{
public:
    Radky(QString &sql, qsizetype znakuNaRadek, qsizetype radku) : m_sql(sql)
    {
        m_sql.reserve(m_sql.size() + (znakuNaRadek + 4) * radku);
    }
    ~Radky()
    {
        if (!m_prvniRadek)
            m_sql += u')';
    }
    Radky &radek()
    {
        m_sql += m_prvniRadek ? QLatin1String("(") : QLatin1String("), (");
        m_prvniRadek = false;
        m_prvniHodnota = true;
        return *this;
    }
    Radky &text(const SqlFormat &f, QStringView value)
    {
        oddel();
        f.appendQuotedText(m_sql, value);
        return *this;
    }
    Radky &cislo(qint64 value)
    {
        oddel();
        SqlFormat::appendQuotedInteger(m_sql, value);
        return *this;
    }
    Radky &datum(const QDate &value)
    {
        oddel();
        SqlFormat::appendQuotedDate(m_sql, value);
        return *this;
    }
    Radky &cena(double value)
    {
        oddel();
        m_sql += u'"' + SqlFormat::price(value) + u'"';
        return *this;
    }

private:
    void oddel()
    {
        if (!std::exchange(m_prvniHodnota, false))
            m_sql += QLatin1String(", ");
    }

    QString &m_sql;
    bool m_prvniRadek = true;
    bool m_prvniHodnota = true;
};
} // namespace

QString insertWebClients(const SqlFormat &f, const QList<WebKlient> &klienti)
{
    QString sql = QStringLiteral("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email, stat) VALUES ");
    qsizetype delka = 0;
    for (const WebKlient &k : klienti)
        delka += 40 + k.jmeno.size() + k.telefon.size() + k.email.size() + k.stat.size();
    {
        Radky r(sql, klienti.isEmpty() ? 0 : delka / klienti.size(), klienti.size());
        for (const WebKlient &k : klienti)
            r.radek().cislo(k.klient_id).text(f, u"1").text(f, k.jmeno).text(f, k.telefon).text(f, k.email).text(f, k.stat);
    }
    return sql;
}

QString insertWebReservations(const QList<WebObjednavka> &objednavky)
{
    QString sql = QStringLiteral("INSERT INTO objednavky_pokoje_tab (klient_id, cislo_objednavky, datum_objednavky, od_kdy, "
                                 "do_kdy, pokoj_id, cena) VALUES ");
    {
        Radky r(sql, 100, objednavky.size());
        for (const WebObjednavka &o : objednavky)
            r.radek().cislo(o.klient_id).cislo(o.cislo_objednavky).datum(o.datum_objednavky).datum(o.od_kdy)
                .datum(o.do_kdy).cislo(o.pokoj_id).cena(o.cena);
    }
    return sql;
}

QString rememberWebReservations(const SqlFormat &f, const QList<WebObjednavka> &objednavky)
{
    QString sql = QStringLiteral("INSERT INTO webove_rezervace_tab (rezervaceid, cislo_objednavky, typ_pokoje_id, od_kdy, "
                                 "do_kdy, datum_importu) VALUES ");
    {
        Radky r(sql, 80, objednavky.size());
        for (const WebObjednavka &o : objednavky)
            r.radek().text(f, o.rezervaceid).cislo(o.cislo_objednavky).cislo(o.typ_pokoje_id).datum(o.od_kdy)
                .datum(o.do_kdy).datum(o.datum_objednavky);
    }
    return sql;
}


} // namespace SqlWeb
