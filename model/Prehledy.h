#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

/**
 * Occupancy and revenue of a period, counted in memory from plain reads.
 *
 * A stay occupies every night from od_kdy to do_kdy, both included; its
 * price (of the whole stay) is spread evenly over its nights, so each
 * bucket gets the share of the nights it holds. A stay ending before it
 * begins counts nowhere. A room's night booked twice counts once as booked,
 * its revenue twice. The rooms are those of the group as it is now.
 */
namespace Prehledy {

enum class Cleneni { PoDnech, PoMesicich };
enum class Rozpad { Celkem, PodleTypuPokoje, PodleTypuKlienta };

struct Zadani
{
    QDate od;
    QDate doKdy;                  // the last night, included
    int skupinaPokojuId = -1;     // negative: every room
    Cleneni cleneni = Cleneni::PoMesicich;
    Rozpad rozpad = Rozpad::Celkem;
};

/** A room as the report counts it; typ_pokoje_id -1 when its type is gone. */
struct PokojPrehledu
{
    int pokoj_id = -1;
    int typ_pokoje_id = -1;
    QString nazev_typu_pokoje;
};

struct TypKlientaPrehledu
{
    int typ_klienta_id = -1;
    QString typ_klienta;
};

/** A stay, its nights as days after the period's first day; typ_klienta_id -1 when the client is gone. */
struct PobytPrehledu
{
    int pokoj_id = -1;
    int prvniNoc = 0;
    int posledniNoc = 0;
    double cena = 0;
    int typ_klienta_id = -1;
};

/** One row of the report: a bucket of days, or a bucket and a category. */
struct RadekPrehledu
{
    QDate od;
    QDate doKdy;
    QString obdobi;      // how the bucket is named: a date, or a month and year
    QString kategorie;   // empty in the total
    qint64 obsazene = 0;
    qint64 dostupne = 0;
    double trzba = 0;
    int poradiKategorie = 0;   // the category's place in every bucket: two types may share a name

    /** Percent; none without room-nights available. */
    std::optional<double> obsazenost() const;
    /** Revenue per booked room-night. */
    std::optional<double> adr() const;
    /** Revenue per available room-night. */
    std::optional<double> revpar() const;
};

/** The rows, bucket by bucket, each bucket's categories in the order of their ids. */
std::vector<RadekPrehledu> spocitej(const Zadani &zadani, const std::vector<PokojPrehledu> &pokoje,
                                    const std::vector<TypKlientaPrehledu> &typyKlientu,
                                    const std::vector<PobytPrehledu> &pobyty);

struct SkupinaPrehledu
{
    int skupina_pokoju_id = -1;
    QString nazev_skupiny_pokoju;
};

/** The room groups, to choose one. */
std::vector<SkupinaPrehledu> skupiny();

/** Reads what spocitej needs (three statements, the stays bounded by the period) and counts. */
std::vector<RadekPrehledu> nacti(const Zadani &zadani);

/** A number with a decimal comma and that many places; grouped by spaces for the windows, not for files. */
QString cislo(double hodnota, int mist, bool seskupit);

/** The column captions: Období, Kategorie (unless the total), the figures. */
QStringList zahlavi(Rozpad rozpad);
/** A row's texts under those captions; "–" where a figure has no denominator. */
QStringList texty(const RadekPrehledu &radek, Rozpad rozpad, bool seskupit);

/**
 * The rows as a file for Czech spreadsheets: UTF-8 with a byte-order mark,
 * fields separated by semicolons, lines ended by CR LF, a decimal comma, the
 * captions first; a field holding ; " or a line break is quoted with its
 * quotes doubled. A figure without a denominator is an empty field.
 */
QByteArray csv(const std::vector<RadekPrehledu> &radky, Rozpad rozpad);

} // namespace Prehledy
