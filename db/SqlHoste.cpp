#include "db/SqlHoste.h"
#include "db/SqlFormat.h"

namespace SqlHoste {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }

QString klic(const KlicPobytu &p)
{
    return QStringLiteral("cislo_objednavky = ") + i(p.cislo_objednavky) + QStringLiteral(" AND pokoj_id = ")
           + i(p.pokoj_id) + QStringLiteral(" AND od_kdy = ") + SqlFormat::quotedDate(p.od_kdy);
}

// The columns a desk writes; a missing date of birth stays NULL.
QString sloupce(const SqlFormat &f, const KlicPobytu &p, int poradi, const UdajeHosta &h)
{
    const auto t = [&](const QString &v) { return f.quotedText(v); };
    return QStringLiteral("cislo_objednavky = ") + i(p.cislo_objednavky) + QStringLiteral(", pokoj_id = ")
           + i(p.pokoj_id) + QStringLiteral(", od_kdy = ") + SqlFormat::quotedDate(p.od_kdy)
           + QStringLiteral(", poradi = ") + i(poradi) + QStringLiteral(", jmeno = ") + t(h.jmeno)
           + QStringLiteral(", prijmeni = ") + t(h.prijmeni) + QStringLiteral(", datum_narozeni = ")
           + (h.datum_narozeni.isValid() ? SqlFormat::quotedDate(h.datum_narozeni) : QStringLiteral("NULL"))
           + QStringLiteral(", statni_prislusnost = ") + t(h.statni_prislusnost) + QStringLiteral(", ulice = ")
           + t(h.ulice) + QStringLiteral(", mesto = ") + t(h.mesto) + QStringLiteral(", psc = ") + t(h.psc)
           + QStringLiteral(", stat = ") + t(h.stat) + QStringLiteral(", doklad_druh = ") + t(h.doklad_druh)
           + QStringLiteral(", doklad_cislo = ") + t(h.doklad_cislo) + QStringLiteral(", vizum = ") + t(h.vizum)
           + QStringLiteral(", ucel = ") + t(h.ucel) + QStringLiteral(", osvobozeni_id = ") + i(h.osvobozeni_id);
}
} // namespace

QString selectGuests(const KlicPobytu &pobyt)
{
    return QStringLiteral("SELECT * FROM hoste_tab WHERE ") + klic(pobyt) + QStringLiteral(" ORDER BY poradi, host_id");
}

QString insertGuest(const SqlFormat &f, int hostId, const KlicPobytu &pobyt, int poradi, const UdajeHosta &h)
{
    return QStringLiteral("INSERT INTO hoste_tab SET host_id = ") + i(hostId) + QStringLiteral(", ")
           + sloupce(f, pobyt, poradi, h);
}

QString updateGuest(const SqlFormat &f, int hostId, const KlicPobytu &pobyt, int poradi, const UdajeHosta &h)
{
    return QStringLiteral("UPDATE hoste_tab SET ") + sloupce(f, pobyt, poradi, h) + QStringLiteral(" WHERE host_id = ")
           + i(hostId);
}

QString deleteGuest(int hostId)
{
    return QStringLiteral("DELETE FROM hoste_tab WHERE host_id = ") + i(hostId);
}

QString moveGuests(const KlicPobytu &pobyt, const QDate &noveOd)
{
    return QStringLiteral("UPDATE hoste_tab SET od_kdy = ") + SqlFormat::quotedDate(noveOd) + QStringLiteral(" WHERE ")
           + klic(pobyt);
}

QString selectExemptions()
{
    return QStringLiteral("SELECT osvobozeni_id, nazev FROM osvobozeni_tab ORDER BY nazev");
}

QString selectBySurname(const SqlFormat &f, const QString &prijmeni, int limit)
{
    // LIKE's own wildcards in the text are taken literally; "!" escapes
    // them whatever the session's backslash mode.
    QString vzor = prijmeni;
    vzor.replace(u'!', QStringLiteral("!!")).replace(u'%', QStringLiteral("!%")).replace(u'_', QStringLiteral("!_"));
    return QStringLiteral("SELECT * FROM hoste_tab WHERE prijmeni LIKE ") + f.quotedText(vzor + u'%')
           + QStringLiteral(" ESCAPE \"!\" ORDER BY od_kdy DESC, host_id DESC LIMIT ") + SqlFormat::integer(limit);
}

} // namespace SqlHoste
