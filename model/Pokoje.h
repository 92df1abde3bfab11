#pragma once

#include "model/Zmeny.h"

#include <QDate>
#include <QHash>
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

/** How a conflict names a room: Pokoj „101“. */
QString popisPokoje(const Pokoj &pokoj);

/**
 * The hotel's rooms in load order, then additions. A room is addressed by its
 * position in the collection (a list row); rooms added in memory carry a
 * provisional id until the save gives them one from the table.
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
    /**
     * Appends a room. A number that a loaded room removed in this opening
     * had brings that room back (its id, so its guests and groups stay),
     * with the given type.
     */
    void Pridej(const QString &cisloPokoje, int typPokojeId);
    /**
     * Removes the room at that position; nothing when there is none. The
     * save refuses the removal when the room has a reservation lasting until
     * today or later that was not there when sRezervacemi confirmed it (none
     * at all without it).
     */
    void Odstran(int index, bool sRezervacemi = false);
    /** Gives the room at that position another type; it keeps its id, number and reservations. */
    void ZmenTyp(int index, int typPokojeId);
    /** The first room of that number, or the no-room value. */
    Pokoj NajdiPokoj(const QString &cisloPokoje) const;
    int NajdiId(const QString &cisloPokoje) const;
    /**
     * Whether a room of this number is in the list or in the table (other
     * than a room removed here, which Pridej would bring back). Reads.
     */
    bool numberTaken(const QString &cisloPokoje) const;
    /**
     * Writes the rooms added, removed and changed since the load, in one
     * save; rooms this copy did not touch stay as the table has
     * them. Refused whole (DatabaseError::Kind::Conflict) when a room removed
     * or changed here is no longer as loaded, a new number is taken or a
     * room's type is gone; nazvyTypu (type id -> name) names that type.
     * The removed rooms' group links go with them.
     */
    void Uloz(const QHash<int, QString> &nazvyTypu = {});
    /** After a refused save: the table as it is now, with the changes of this copy that still apply. */
    void reloadKeepingChanges();

    /** How many stored reservations of the rooms last until the day or later. */
    static int reservationsUntil(const std::vector<Pokoj> &pokoje, const QDate &day);

    const std::vector<Pokoj> &prvky() const { return m_pokoje; }
    std::vector<Pokoj> &prvky() { return m_pokoje; }
    std::size_t size() const { return m_pokoje.size(); }

private:
    Zmeny<Pokoj> zmeny() const;
    bool contains(int pokojId) const;

    std::vector<Pokoj> m_pokoje;
    std::vector<Pokoj> m_nactene;   // as loaded or last saved
    QHash<int, int> m_rezervaceOdstranenych;   // removed room -> its stays until today when removed
};
