#include "db/SqlCenyPokoju.h"
#include "db/SqlFormat.h"

namespace SqlCenyPokoju {

QString selectPrices() { return QStringLiteral("SELECT * FROM ceny_pokoje_tab"); }

QString lockPrices() { return QStringLiteral("LOCK TABLES ceny_pokoje_tab WRITE"); }

QString deletePrices() { return QStringLiteral("DELETE FROM ceny_pokoje_tab"); }

QString insertPrice(int typPokojeId, int typKlientaId, int typDneId, double cena)
{
    return QStringLiteral("INSERT INTO ceny_pokoje_tab SET typ_pokoje_id = ")
           + SqlFormat::quotedInteger(typPokojeId)
           + QStringLiteral(", typ_klienta_id = ") + SqlFormat::quotedInteger(typKlientaId)
           + QStringLiteral(", typ_dne_id = ") + SqlFormat::quotedInteger(typDneId)
           + QStringLiteral(", cena = ") + SqlFormat::quotedPrice(cena);
}

} // namespace SqlCenyPokoju
