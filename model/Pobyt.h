#pragma once

#include <QDate>
#include <QString>
#include <vector>

/** One night of a stay as the price table sees it. */
struct NocPobytu
{
    QDate datum;
    /** The day type that prices the night, or the first type of the day when none does; empty when the calendar has none. */
    QString typDne;
    bool maCenu = false;
    double cena = 0;
};

/** The price of a stay night by night, with what makes it up; cena() sums it. */
class RozpisCeny
{
public:
    RozpisCeny() = default;
    /** Reads every night from odKdy to doKdy (none when doKdy is before odKdy) with one statement. */
    static RozpisCeny Nacti(int klientId, int pokojId, const QDate &odKdy, const QDate &doKdy);

    const std::vector<NocPobytu> &noci() const { return m_noci; }
    double cena() const;
    bool chybiCena() const;

private:
    std::vector<NocPobytu> m_noci;
};

/** A stored stay of one room, with its client's name (empty when the client is gone). */
struct PobytPokoje
{
    int cislo_objednavky = 0;
    QDate od_kdy;
    QDate do_kdy;
    double cena = 0;
    QString jmeno;
};

/** The room's stays that share a day with the span, the earliest first; one statement. */
std::vector<PobytPokoje> NactiPobytyPokoje(int pokojId, const QDate &odKdy, const QDate &doKdy);
