#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <set>

/**
 * One price of a night. Records are the same price slot when their three
 * ids match (the price takes no part), and sort by room type, then day
 * type, then client type.
 */
struct CenaPokoje
{
    int typ_pokoje_id = 0;
    int typ_klienta_id = 0;
    int typ_dne_id = 0;
    double cena = 0;

    bool operator==(const CenaPokoje &o) const
    {
        return typ_pokoje_id == o.typ_pokoje_id && typ_klienta_id == o.typ_klienta_id
               && typ_dne_id == o.typ_dne_id;
    }
    bool operator<(const CenaPokoje &o) const
    {
        if (typ_pokoje_id != o.typ_pokoje_id)
            return typ_pokoje_id < o.typ_pokoje_id;
        if (typ_dne_id != o.typ_dne_id)
            return typ_dne_id < o.typ_dne_id;
        return typ_klienta_id < o.typ_klienta_id;
    }
};

/**
 * A price as the administrator types it: a decimal comma or a decimal point
 * (whatever the locale), an optional sign and exponent, blanks around.
 * Nothing when the text is no finite number (an empty text included).
 */
std::optional<double> parsePrice(const QString &text);

/** What one (day type, client type) costs for a set of room types. */
struct PriceCell
{
    enum class Kind { None, Same, Different };
    Kind kind = Kind::None;   // None: no room type has a price here
    double cena = 0;          // the price when every room type has the same one

    bool operator==(const PriceCell &) const = default;
};

/** The price table in memory: at most one price per (room type, client type, day type). */
class CenyPokoju
{
public:
    /** Loads every price of ceny_pokoje_tab. */
    CenyPokoju();

    /** Of rows sharing their three ids the first one returned is kept. */
    const std::set<CenaPokoje> &Nacti();
    /** Sets the price of the triple, adding it when it has none. */
    void NastavCenu(int typPokojeId, int typKlientaId, int typDneId, double cena);
    /** Replaces ceny_pokoje_tab with the set in key order, under its lock set, all or nothing. */
    void Uloz() const;

    /**
     * The prices of the room types, one row per day type and one column per
     * client type, in the order given. A cell is Same only when every room
     * type has a price there and they are all equal; some priced and some
     * not is Different.
     */
    QList<QList<PriceCell>> summarize(const QList<int> &typyPokoju, const QList<int> &typyDnu,
                                      const QList<int> &typyKlientu) const;

    const std::set<CenaPokoje> &prvky() const { return m_ceny; }
    std::size_t size() const { return m_ceny.size(); }

private:
    std::set<CenaPokoje> m_ceny;
};
