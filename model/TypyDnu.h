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

    bool operator==(const TypDne &) const = default;
};

/**
 * The day types in the order of their priority: the first one prices a date
 * that belongs to several. Loaded by their stored poradi, additions at the
 * end. Types are addressed by name, compared exactly; where two share a name
 * the first counts.
 */
class TypyDnu
{
public:
    /** Loads every day type of typy_dnu_tab, by poradi, ties in the order read. */
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
     * Moves the type at the index by krok places (-1 up, 1 down); false,
     * and nothing moves, when that leaves the list.
     */
    bool Posun(int index, int krok);
    /**
     * Smallest positive id that no type in memory uses, that no type removed
     * since the load had and that no stored price or calendar row refers to,
     * so a new type never takes over the prices and dates of another.
     */
    int NoveId() const;
    /**
     * Replaces typy_dnu_tab with the collection and deletes the prices and
     * calendar rows of every day type not in it, under its lock set, all or
     * nothing. poradi is written as the place in the collection (1, 2, …).
     */
    void Uloz();

    const std::vector<TypDne> &prvky() const { return m_typy; }
    std::size_t size() const { return m_typy.size(); }

private:
    std::vector<TypDne> m_typy;
    // Ids that prices or dates may still refer to: types removed since the
    // load or the last save, and rows left by types never saved.
    QList<int> m_odstranene;
};
