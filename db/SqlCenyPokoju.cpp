#include "db/SqlCenyPokoju.h"
#include "db/SqlFormat.h"

namespace SqlCenyPokoju {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
} // namespace

QString selectPrices() { return QStringLiteral("SELECT * FROM ceny_pokoje_tab"); }

QString selectPricesOfRoomTypes(const QList<int> &typyPokoju)
{
    return QStringLiteral("SELECT * FROM ceny_pokoje_tab WHERE typ_pokoje_id IN (")
           + SqlFormat::quotedIntegers(typyPokoju) + u')';
}

QString selectRoomTypeIds() { return QStringLiteral("SELECT typ_pokoje_id FROM typy_pokoju_tab"); }

QString selectDayTypeIds() { return QStringLiteral("SELECT typ_dne_id FROM typy_dnu_tab"); }

QString selectClientTypeIds() { return QStringLiteral("SELECT typ_klienta_id FROM typy_klientu_tab"); }

QStringList lockPrices()
{
    // Client types are only ever written by an installation.
    return {QStringLiteral("ceny_pokoje_tab"), QStringLiteral("typy_pokoju_tab"), QStringLiteral("typy_dnu_tab")};
}

QString deletePrice(int typPokojeId, int typKlientaId, int typDneId)
{
    return QStringLiteral("DELETE FROM ceny_pokoje_tab WHERE typ_pokoje_id = ") + i(typPokojeId)
           + QStringLiteral(" AND typ_klienta_id = ") + i(typKlientaId) + QStringLiteral(" AND typ_dne_id = ")
           + i(typDneId);
}

QString insertPrice(int typPokojeId, int typKlientaId, int typDneId, double cena)
{
    return QStringLiteral("INSERT INTO ceny_pokoje_tab SET typ_pokoje_id = ") + i(typPokojeId)
           + QStringLiteral(", typ_klienta_id = ") + i(typKlientaId)
           + QStringLiteral(", typ_dne_id = ") + i(typDneId)
           + QStringLiteral(", cena = ") + SqlFormat::quotedPrice(cena);
}

} // namespace SqlCenyPokoju
