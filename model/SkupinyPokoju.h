#pragma once

#include "model/Pokoje.h"

#include <QString>
#include <QStringList>
#include <vector>

class TMojeQuery;

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
    /** Rewrites the group's link rows; runs inside the groups save. */
    void UlozClenstvi(TMojeQuery &q) const;
};

/** The room groups in load order, then additions; addressed by name. */
class SkupinyPokoju
{
public:
    /** Loads every group with its members. */
    SkupinyPokoju();

    void Nacti();
    void Vypis(QStringList &seznam) const;
    /** With several groups of the name, the last one's members remain. */
    void VypisPokoje(const QString &nazev, QStringList &seznam) const;
    void Pridej(const QString &nazev);
    int NoveId() const;
    void Odstran(const QString &nazev);
    void PridejPokojeDoSkupiny(const QString &nazev, const Pokoje &pokoje);
    void OdeberPokojeZeSkupiny(const QString &nazev, const Pokoje &pokoje);
    /** Replaces both group tables with the collection, under their lock set. */
    void Uloz() const;

    const std::vector<SkupinaPokoju> &prvky() const { return m_skupiny; }
    /** Every group of that name, in collection order. */
    std::vector<const SkupinaPokoju *> najdiVsechny(const QString &nazev) const;

private:
    std::vector<SkupinaPokoju> m_skupiny;
};
