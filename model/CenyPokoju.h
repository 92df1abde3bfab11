#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <map>
#include <optional>
#include <set>
#include <vector>

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
 * A price as a Czech administrator writes it: digits, thousands optionally
 * split by a blank (also a no-break space) into groups of three, a decimal
 * comma or point with at most two decimals; blanks around are ignored.
 * "1.200" is refused (thousands or a decimal?), as are signs, exponents,
 * inf, nan and values beyond the price column. Nothing when refused, and
 * duvod (when given) says why in a sentence for the user.
 */
std::optional<double> parsePrice(const QString &text, QString *duvod = nullptr);

/** What one (day type, client type) costs for a set of room types. */
struct PriceCell
{
    enum class Kind { None, Same, Different };
    Kind kind = Kind::None;   // None: no room type has a price here
    double cena = 0;          // the price when every room type has the same one

    bool operator==(const PriceCell &) const = default;
};

/** Names of the types prices refer to, by id: what a refused save names. */
struct NazvyTypu
{
    QHash<int, QString> typyPokoju;
    QHash<int, QString> typyKlientu;
    QHash<int, QString> typyDnu;
};

/**
 * The price table in memory: at most one price per (room type, client
 * type, day type). It remembers which slots were set since the load and
 * what they held then, so its save writes only those.
 */
class CenyPokoju
{
public:
    /** Loads every price of ceny_pokoje_tab. */
    CenyPokoju();

    /** Of rows sharing their three ids the first one returned is kept; the prices set so far are forgotten. */
    const std::set<CenaPokoje> &Nacti();
    /** Sets the price of the triple, adding it when it has none. */
    void NastavCenu(int typPokojeId, int typKlientaId, int typDneId, double cena);
    /**
     * Writes the prices set since the load, in one save, all or
     * nothing; other slots stay as stored, whoever stored them. A slot whose
     * stored price is no longer the one loaded, or whose room, day or client
     * type is gone, refuses the save as a conflict, named with nazvy. Room
     * types with a provisional id are not stored yet: their prices are not
     * written (see cenyNovychTypu).
     */
    void Uloz(const NazvyTypu &nazvy = {});
    /**
     * After a refused save: loads the table again and sets again the prices
     * set before that still apply (their slot as loaded then, their types
     * still there); the other desk's prices show for the rest.
     */
    void obnov();
    /** The prices of room types with a provisional id, in key order. */
    std::vector<CenaPokoje> cenyNovychTypu() const;

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
    // Slots set since the load, with the price they had then (none: no price).
    std::map<CenaPokoje, std::optional<double>> m_nactene;
};
