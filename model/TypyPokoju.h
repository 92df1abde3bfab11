#pragma once

#include "model/Zmeny.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

struct CenaPokoje;

/** One room type. */
struct TypPokoje
{
    int typ_pokoje_id = -1;
    QString nazev_typu_pokoje;
    int pocet_luzek = 0;

    bool operator==(const TypPokoje &) const = default;
};

/**
 * The room types in load order, then additions. A type is the element at
 * its place in the collection (a list line's row); names compare exactly.
 * The collection remembers what it loaded, so its save writes only the
 * types added and removed since.
 */
class TypyPokoju
{
public:
    /** Loads every room type of typy_pokoju_tab. */
    TypyPokoju();

    void Nacti();
    /** Clears the list and adds each type's name. */
    void Vypis(QStringList &seznam) const;
    /** Id of the first type of the name, -1 when there is none. */
    int NajdiId(const QString &nazev) const;
    /**
     * Appends a new type with a provisional id (returned); its save gives it
     * a real one. The name is not checked here (see nazevObsazen).
     */
    int Pridej(const QString &nazev, int pocetLuzek);
    /**
     * Whether a type of the name is in the collection or stored, a stored one
     * removed from the collection since the load excepted.
     */
    bool nazevObsazen(const QString &nazev) const;
    /**
     * Removes the type at the row unless a stored room uses it; false when
     * refused (the collection is unchanged).
     */
    bool Odstran(int radek);
    /** Whether a stored room (pokoje_tab) has the type. */
    bool JePouzit(int typPokojeId) const;
    /**
     * Writes the types added and removed since the load, in its save,
     * all or nothing; types another desk stored meanwhile stay. A removed
     * type must still be stored as loaded and no stored room may have it,
     * and an added name must not be stored by then: else the save is refused
     * whole as a conflict. New types get the smallest ids that no stored
     * type, price or room uses; cenyNovychTypu, the prices set for types
     * with a provisional id, go in with those ids (prices of a type no longer
     * added are dropped). Removed types take their prices with them.
     */
    void Uloz(const std::vector<CenaPokoje> &cenyNovychTypu = {});
    /**
     * After a refused save: loads the table again and puts back the changes
     * of this opening that still apply (the removal of a type that is no
     * longer as loaded or has a room now is dropped, so is an added name
     * that is stored now).
     */
    void obnov();

    const std::vector<TypPokoje> &prvky() const { return m_typy; }
    std::size_t size() const { return m_typy.size(); }
    Zmeny<TypPokoje> zmeny() const;

private:
    std::vector<TypPokoje> m_typy;
    std::vector<TypPokoje> m_nactene;   // as loaded (or last saved)
    int m_dalsiDocasne = -2;            // a provisional id is never given twice
};
