#include "db/SqlPrijezdy.h"
#include "db/SqlFormat.h"

namespace SqlPrijezdy {

namespace {
// A stay whose room or client was deleted still shows: outer joins, with a
// flag telling a missing row from an empty text.
QString half(int odjezd, const QString &condition)
{
    return QStringLiteral("SELECT ") + SqlFormat::integer(odjezd)
           + QStringLiteral(" AS odjezd, o.cislo_objednavky, o.od_kdy, o.do_kdy, o.cena, p.cislo_pokoje, "
                            "k.jmeno, k.telefon, t.typ_klienta, p.pokoj_id IS NOT NULL AS pokoj_existuje, "
                            "k.klient_id IS NOT NULL AS klient_existuje "
                            "FROM objednavky_pokoje_tab AS o "
                            "LEFT JOIN pokoje_tab AS p ON p.pokoj_id = o.pokoj_id "
                            "LEFT JOIN klienti_tab AS k ON k.klient_id = o.klient_id "
                            "LEFT JOIN typy_klientu_tab AS t ON t.typ_klienta_id = k.typ_klienta_id WHERE ")
           + condition;
}
} // namespace

QString selectDay(const QDate &den)
{
    // od_kdy leads the key obdobi, do_kdy the key obdobi_pokoj.
    return half(0, QStringLiteral("o.od_kdy = ") + SqlFormat::quotedDate(den)) + QStringLiteral(" UNION ALL ")
           + half(1, QStringLiteral("o.do_kdy = ") + SqlFormat::quotedDate(den.addDays(-1)))
           + QStringLiteral(" ORDER BY odjezd, cislo_objednavky, cislo_pokoje");
}

} // namespace SqlPrijezdy
