#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

/** One room type. */
struct TypPokoje
{
    int typ_pokoje_id = -1;
    QString nazev_typu_pokoje;
    int pocet_luzek = 0;

    bool operator==(const TypPokoje &) const = default;
};

/**
 * The room types in load order, then additions. Types are addressed by
 * name, compared exactly; where two share a name the first counts.
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
    void Pridej(const QString &nazev, int pocetLuzek);
    /**
     * Removes the first type of the name unless a stored room uses it.
     * False when refused; true when removed or when no type has the name.
     */
    bool Odstran(const QString &nazev);
    /**
     * Smallest positive id that no type in memory uses, that no type removed
     * since the load had and that no stored price names: the prices of a
     * removed type (or of a type priced and then cancelled) stay in the table
     * until the save, and a new type must not take them over.
     */
    int NoveId() const;
    /** Whether a stored room (pokoje_tab) has the type. */
    bool JePouzit(int typPokojeId) const;
    /**
     * Replaces typy_pokoju_tab with the collection and deletes the prices of
     * every room type not in it, under its lock set, all or nothing. A
     * removed type that a stored room has taken since its removal is kept
     * (back in the collection, with its prices); those types are returned.
     */
    std::vector<TypPokoje> Uloz();

    const std::vector<TypPokoje> &prvky() const { return m_typy; }
    std::size_t size() const { return m_typy.size(); }

private:
    std::vector<TypPokoje>::iterator findType(int id);

    std::vector<TypPokoje> m_typy;
    std::vector<TypPokoje> m_odstranene;   // types removed since the load or the last save
    QList<int> m_cenyBezTypu;              // ids with stored prices but no stored type
};
