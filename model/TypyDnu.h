#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

/** One day type. */
struct TypDne
{
    int typ_dne_id = -1;
    QString nazev_typu_dne;
    // The stored order value as read; empty for a type added since the load,
    // whose row takes the column's default.
    QString poradi;

    bool operator==(const TypDne &) const = default;
};

/**
 * The day types in load order, then additions. Types are addressed by
 * name, compared exactly; where two share a name the first counts.
 */
class TypyDnu
{
public:
    /** Loads every day type of typy_dnu_tab. */
    TypyDnu();

    void Nacti();
    /** Clears the list and adds each type's name. */
    void Vypis(QStringList &seznam) const;
    /** Id of the first type of the name, -1 when there is none. */
    int NajdiId(const QString &nazev) const;
    void Pridej(const QString &nazev);
    /** Removes the first type of the name; its prices and dates go at the save. */
    void Odstran(const QString &nazev);
    /**
     * Smallest positive id that no type in memory uses and that no type
     * removed since the load had, so a new type never takes over the prices
     * and dates of a removed one.
     */
    int NoveId() const;
    /**
     * Replaces typy_dnu_tab with the collection and deletes the prices and
     * calendar rows of every day type not in it, under its lock set, all or
     * nothing. Loaded types keep their stored order value.
     */
    void Uloz();

    const std::vector<TypDne> &prvky() const { return m_typy; }
    std::size_t size() const { return m_typy.size(); }

private:
    std::vector<TypDne> m_typy;
    QList<int> m_odstranene;   // ids of types removed since the load or the last save
};
