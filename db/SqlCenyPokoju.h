#pragma once

#include <QString>

/** Statements on the price table. */
namespace SqlCenyPokoju {

QString selectPrices();
QString lockPrices();
QString deletePrices();
QString insertPrice(int typPokojeId, int typKlientaId, int typDneId, double cena);

} // namespace SqlCenyPokoju
