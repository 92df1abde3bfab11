#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

/** One room. The no-room value is {-1, "", -1}. */
struct Pokoj
{
    int pokoj_id = -1;
    QString cislo_pokoje;
    int typ_pokoje_id = -1;

    bool operator==(const Pokoj &) const = default;
};

class TMojeQuery;

/** The room of the query's current row (pokoj_id, cislo_pokoje, typ_pokoje_id). */
Pokoj nactiPokoj(const TMojeQuery &q);

/**
 * The hotel's rooms in load order, then additions. Rooms are addressed by
 * their number, compared exactly; where two share a number the first counts.
 */
class Pokoje
{
public:
    /** Loads every room of pokoje_tab. */
    Pokoje();
    /** The given rooms, nothing loaded (a group's members, a selection). */
    explicit Pokoje(std::vector<Pokoj> pokoje);

    void Nacti();
    /** Clears the list and adds each room's number. */
    void Vypis(QStringList &seznam) const;
    void Pridej(const QString &cisloPokoje, int typPokojeId);
    /**
     * Smallest positive id that no room in memory uses and no stored
     * reservation names: a new room must not take over another room's guests.
     */
    int NoveId() const;
    void Odstran(const QString &cisloPokoje);
    Pokoj NajdiPokoj(const QString &cisloPokoje) const;
    int NajdiId(const QString &cisloPokoje) const;
    /**
     * Replaces pokoje_tab with the collection, under its lock set, and drops
     * the group links of every room removed since the load or gone from the
     * table, so that a room given a freed id starts in no group.
     */
    void Uloz();

    /** The rooms that Odstran of each number in turn would remove, in that order. */
    std::vector<Pokoj> roomsRemovedBy(const QStringList &cislaPokoju) const;
    /** How many stored reservations of the rooms last until the day or later. */
    static int reservationsUntil(const std::vector<Pokoj> &pokoje, const QDate &day);

    const std::vector<Pokoj> &prvky() const { return m_pokoje; }
    std::vector<Pokoj> &prvky() { return m_pokoje; }
    std::size_t size() const { return m_pokoje.size(); }

private:
    std::vector<Pokoj> m_pokoje;
    QList<int> m_odstranena;   // ids of rooms removed since the load
    QList<int> m_pridana;      // ids of rooms added since the load
};
