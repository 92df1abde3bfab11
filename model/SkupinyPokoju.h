#pragma once

#include "model/Pokoje.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

/** One room group with copies of its member rooms, in member order. */
class SkupinaPokoju
{
public:
    /** Loads the members stored under the id. */
    SkupinaPokoju(int skupinaPokojuId, const QString &nazev);
    /** The given members, nothing loaded. */
    SkupinaPokoju(int skupinaPokojuId, const QString &nazev, Pokoje clenove);

    int skupina_pokoju_id;
    QString nazev_skupiny_pokoju;
    Pokoje clenove;

    void VypisPokoje(QStringList &seznam) const;
    /** Removes, for each room given, the first member with its id. */
    void OdeberPokoje(const Pokoje &pokoje);
    /** Appends each room given that is not a member yet (the no-room value never). */
    void PridejPokoje(const Pokoje &pokoje);
};

/** How a conflict names a group: Skupina pokojů „Přízemí“. */
QString popisSkupiny(const QString &nazev);

/**
 * The room groups in load order, then additions. A group is addressed by its
 * position in the collection (a list row); groups added in memory carry a
 * provisional id until the save gives them one from the table.
 */
class SkupinyPokoju
{
public:
    /** Loads every group with its members. */
    SkupinyPokoju();

    void Nacti();
    void Vypis(QStringList &seznam) const;
    /** The members of the group at that position; an empty list when there is none. */
    void VypisPokoje(int index, QStringList &seznam) const;
    /** Appends a group with no members. */
    void Pridej(const QString &nazev);
    /** Removes the group at that position with its memberships. */
    void Odstran(int index);
    void PridejPokojeDoSkupiny(int index, const Pokoje &pokoje);
    void OdeberPokojeZeSkupiny(int index, const Pokoje &pokoje);
    /**
     * Whether a group of this name is in the list or in the table (other
     * than a group removed here). Reads.
     */
    bool nameTaken(const QString &nazev) const;
    /**
     * Writes the groups added, removed and renamed and the memberships added
     * and removed since the load, in one save; what this copy
     * did not touch stays as the tables have it. Refused whole
     * (DatabaseError::Kind::Conflict) when a group removed, renamed or given
     * rooms here is no longer as loaded, a new name is taken, or a room
     * given to a group is no longer in pokoje_tab as loaded.
     */
    void Uloz();
    /** After a refused save: the tables as they are now, with the changes of this copy that still apply. */
    void reloadKeepingChanges();

    const std::vector<SkupinaPokoju> &prvky() const { return m_skupiny; }
    /** Every group of that name, in collection order. */
    std::vector<const SkupinaPokoju *> najdiVsechny(const QString &nazev) const;

private:
    struct ZmenySkupin;
    ZmenySkupin zmeny() const;
    /** Inside the save: its sentence for the history, new groups by the ids they were stored under. */
    void zapisDoHistorie(const ZmenySkupin &z, const QHash<int, int> &skutecnaId) const;
    SkupinaPokoju *at(int index);

    std::vector<SkupinaPokoju> m_skupiny;
    std::vector<SkupinaPokoju> m_nactene;   // as loaded or last saved, with their members
};
