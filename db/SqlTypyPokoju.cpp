#include "db/SqlTypyPokoju.h"
#include "db/SqlFormat.h"

namespace SqlTypyPokoju {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
} // namespace

QString selectRoomTypes() { return QStringLiteral("SELECT * FROM typy_pokoju_tab"); }

QString selectRoomsOfType(int typPokojeId)
{
    return QStringLiteral("SELECT typ_pokoje_id FROM pokoje_tab WHERE typ_pokoje_id = ") + i(typPokojeId);
}

QStringList lockRoomTypes()
{
    return {QStringLiteral("typy_pokoju_tab"), QStringLiteral("ceny_pokoje_tab"), QStringLiteral("pokoje_tab")};
}

QString selectUsedRoomTypeIds()
{
    return QStringLiteral("SELECT typ_pokoje_id FROM typy_pokoju_tab UNION SELECT typ_pokoje_id FROM ceny_pokoje_tab "
                          "UNION SELECT typ_pokoje_id FROM pokoje_tab");
}

QString deleteRoomTypes(const QList<int> &ids)
{
    return QStringLiteral("DELETE FROM typy_pokoju_tab WHERE typ_pokoje_id IN (") + SqlFormat::quotedIntegers(ids)
           + u')';
}

QString deletePricesOfRoomTypes(const QList<int> &ids)
{
    return QStringLiteral("DELETE FROM ceny_pokoje_tab WHERE typ_pokoje_id IN (") + SqlFormat::quotedIntegers(ids)
           + u')';
}

QString insertRoomType(const SqlFormat &f, int typPokojeId, const QString &nazev, int pocetLuzek)
{
    return QStringLiteral("INSERT INTO typy_pokoju_tab SET typ_pokoje_id = ") + i(typPokojeId)
           + QStringLiteral(", nazev_typu_pokoje = ") + f.quotedText(nazev)
           + QStringLiteral(", pocet_luzek = ") + i(pocetLuzek);
}

} // namespace SqlTypyPokoju
