#pragma once

#include <QList>
#include <QString>

/**
 * The tables the desk exports to the web site, as form fields that follow
 * the common start of a body. The rows come read already.
 */
namespace Exporty {

/** A room type that has rooms. */
struct TypPokoje
{
    int typ_pokoje_id = 0;
    QString nazev_typu_pokoje;
    int pocet_luzek = 0;
    int pocet_pokoju = 0;
};

/** A type's price on a priced day and its reservations that day; datum and cena as the database writes them. */
struct CenaDne
{
    int typ_pokoje_id = 0;
    QString datum;
    QString cena;
    int rezervovano = 0;
};

/** "&pocet_typu=" and, per room type, its id, name, beds and rooms. */
QString poleTypuPokoju(const QList<TypPokoje> &typy);

/** "&pocet_zaznamu=" and, per type and priced day, its price and reservations. */
QString poleCenAObsazenosti(const QList<CenaDne> &ceny);

} // namespace Exporty
