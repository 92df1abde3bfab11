#pragma once

#include "model/Zmeny.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <utility>
#include <vector>

/** One day type. */
struct TypDne
{
    int typ_dne_id = -1;
    QString nazev_typu_dne;

    bool operator==(const TypDne &) const = default;
};

/** How a conflict names a day type: Typ dne „Víkend“. */
QString popisTypuDne(const QString &nazev);

/**
 * The day types in the order of their priority: the first one prices a date
 * that belongs to several. Loaded by their stored poradi, additions at the
 * end. A type is the element at its place in the collection (a list line's
 * row); names compare exactly. The collection remembers what it loaded, so
 * its save writes only the types added, removed, renamed and moved since.
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
    /**
     * Appends a new type with a provisional id (returned); its save gives it
     * a real one. The name is not checked here (see nazevObsazen).
     */
    int Pridej(const QString &nazev);
    /**
     * Whether a type of the name is in the collection or stored, a stored one
     * removed from the collection since the load excepted. Reads the table.
     */
    bool nazevObsazen(const QString &nazev) const;
    /**
     * Removes the type at the row (nothing when there is none); its prices
     * and dates go at the save. Reads how many of them it has, so that the
     * save can tell when another desk has given it more meanwhile.
     */
    void Odstran(int radek);
    /**
     * Moves the type at the index by krok places (-1 up, 1 down); false,
     * and nothing moves, when that leaves the list.
     */
    bool Posun(int index, int krok);

    /** The dates of a type added here, held with it until its save stores them under its real id. */
    std::set<QDate> dnyNovehoTypu(int typDneId) const;
    void nastavDnyNovehoTypu(int typDneId, std::set<QDate> dny);

    /**
     * Writes the types added, removed, renamed and moved since the load under
     * one save, all or nothing; types this copy did not touch
     * stay as the table has them. Types only added after the stored ones go
     * below all of them; any other change of order writes the list's places
     * (1, 2, …) as poradi. New types get
     * the smallest id that no type, price or calendar row uses, and their
     * dates are stored under it. A removed type's prices and dates go with it.
     * Refused whole (DatabaseError::Kind::Conflict) when a type removed or
     * changed here is no longer as loaded, a new name is taken meanwhile, a
     * removed type got new prices or dates meanwhile, or the order changed
     * here while another desk added a type (its place in the list is unknown).
     */
    void Uloz();
    /** After a refused save: the table as it is now, with the changes of this copy that still apply. */
    void reloadKeepingChanges();

    const std::vector<TypDne> &prvky() const { return m_typy; }
    std::size_t size() const { return m_typy.size(); }

    /** A row of typy_dnu_tab as a save compares it with the table. */
    struct Radek
    {
        int typ_dne_id = -1;
        QString nazev_typu_dne;
        int poradi = 0;

        bool operator==(const Radek &) const = default;
    };

private:
    /** True when this opening only added types after the stored ones, in their stored order. */
    bool jenPridane() const;
    /** The rows as the save stores them; a new type's poradi 0 is chosen under the save's lock. */
    std::vector<Radek> cil() const;
    Zmeny<Radek> zmeny() const;

    std::vector<TypDne> m_typy;
    std::vector<Radek> m_nactene;   // as loaded or last saved
    std::map<int, std::set<QDate>> m_dnyNovych;   // by provisional id
    // How many calendar rows and prices each removed type had when it was removed.
    QHash<int, std::pair<int, int>> m_radkyOdstranenych;
};
