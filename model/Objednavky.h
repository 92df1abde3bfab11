#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>
#include <vector>

class TMojeQuery;

/** How a store at the desk ended. */
enum class VysledekRezervace { Ulozena, Kolize, KlientSmazan, PokojSmazan };

/**
 * One room reservation: the room for every day from od_kdy to do_kdy, both
 * included. A reservation not stored yet has cislo_objednavky 0; pokoj_id 0
 * means no room.
 */
class Objednavka
{
public:
    Objednavka() = default;
    /** As stored; chybi_cena is clear. */
    Objednavka(int klientId, int cisloObjednavky, const QDate &datumObjednavky, const QDate &odKdy,
               const QDate &doKdy, int pokojId, double cena);
    /**
     * A new stay, not stored. With pokojId 0 the first free room of
     * typPokojeId is searched (0 when none is free); the price is that of the
     * room given, so a searched stay is priced 0 with chybi_cena set and the
     * caller sets cena itself. Reads prices and rooms: call it outside any
     * save.
     */
    Objednavka(int klientId, const QDate &datumObjednavky, const QDate &odKdy, const QDate &doKdy,
               int pokojId, int typPokojeId);

    int klient_id = 0;
    int cislo_objednavky = 0;
    QDate datum_objednavky;
    QDate od_kdy;
    QDate do_kdy;
    int pokoj_id = 0;
    double cena = 0;
    bool chybi_cena = false;

    /**
     * True when the stay cannot be stored: no room, no day (last day before
     * the first), or a stored stay of the room or a span of it out of order
     * shares a day with it. Runs in the caller's save, which must lock the
     * room (SqlObjednavky::lockBooking).
     */
    bool JeKolize(TMojeQuery &q) const;
    /** Stores the stay in a save of its own unless it collides; true when stored (ZarezervujKlientovi). */
    bool Zarezervuj() const;
    /**
     * Stores the stay unless it collides; true when stored. Runs in the
     * caller's save, which must lock the room (SqlObjednavky::lockBooking);
     * the caller owns the transaction. A number below 1 is replaced by the
     * next of the reservation numbers in the stored row only; cislo, when
     * given, gets the number stored.
     */
    bool Zarezervuj(TMojeQuery &q, int *cislo = nullptr) const;
    /**
     * Stores the stay in a save of its own (locking its client and room), all or nothing,
     * telling a collision from a client or a room deleted meanwhile. With
     * cisloPokoje the room must still have that number: the id of a room
     * removed at another desk may have gone to a new room since.
     */
    VysledekRezervace ZarezervujKlientovi(const QString &cisloPokoje = QString()) const;

    /**
     * Lowest pokoj_id of the type that no stored stay shares a day with, by
     * the rule of JeKolize; 0 when none, or when the span has no day. The
     * caller's save stores in the room found only after locking it.
     */
    static int NajdiVolnyPokoj(TMojeQuery &q, int typPokojeId, const QDate &odKdy, const QDate &doKdy);
    /** Deletes every row of the reservation number, in a save of its own. */
    static void SmazObjednavku(int cisloObjednavky);
    /**
     * Deletes the rows of the number that belong to the client: a number freed
     * at another desk and given again to someone else's stay is not touched.
     * False when there was nothing to delete (another desk deleted it).
     */
    static bool SmazObjednavku(int cisloObjednavky, int klientId);
    /**
     * The same, only when the number's stays of the client are still the
     * stays of jakNactene with that number (rooms and days as the desk
     * showed them); otherwise refused as changed meanwhile (Konflikt).
     */
    static bool SmazObjednavku(int cisloObjednavky, int klientId, const std::vector<Objednavka> &jakNactene);
};

/**
 * Whether a stored stay, with its days as stored (a corrupt one ends before
 * it begins), shares a day with the span: in memory, the condition that
 * SqlObjednavky puts to the database for JeKolize and NajdiVolnyPokoj
 * (sharesDay: it ends on or after the first day and begins or ends by the
 * last, or it begins inside the span).
 */
bool SdiliDen(const QDate &ulozenaOd, const QDate &ulozenaDo, const QDate &odKdy, const QDate &doKdy);

/**
 * The rooms of some room types with their stays near a window of days, read
 * in a few statements, to choose the free rooms of many stays in memory as
 * Objednavka::NajdiVolnyPokoj would choose them one by one, each stay added
 * as it is chosen.
 */
class VolnePokoje
{
public:
    /**
     * Reads the rooms of the types and their stays (and spans out of order)
     * that can share a day with any span inside odKdy..doKdy. In a save, the caller locks the rooms
     * first (SqlWeb::lockImport), so that no desk stores a stay of them
     * between this read and the save's commit.
     */
    static VolnePokoje Nacti(TMojeQuery &q, const QList<int> &typyPokoju, const QDate &odKdy, const QDate &doKdy);
    /** The rooms read, in the order read. */
    QList<int> pokojeIds() const;

    /**
     * Lowest pokoj_id of the type that no stay read or added shares a day
     * with; 0 when none, or when the span has no day. The span must lie
     * inside the window read.
     */
    int NajdiVolnyPokoj(int typPokojeId, const QDate &odKdy, const QDate &doKdy) const;
    /** A stay of the room stored since the read (or about to be). */
    void Pridej(int pokojId, const QDate &odKdy, const QDate &doKdy);

private:
    struct Dny
    {
        QDate od, doKdy;
    };
    // A room's stays, those with their days in order sorted by the first
    // day, so that a span is checked against the few that can reach it.
    struct Pokoj
    {
        int pokoj_id = 0;
        std::vector<Dny> pobyty;   // od <= doKdy, ascending od
        std::vector<Dny> vadne;    // the rest (a corrupt row), checked one by one
        qint64 nejdelsi = 0;       // most days from od to doKdy among pobyty (never lowered)
        bool obsazen(const QDate &odKdy, const QDate &doKdy) const;
    };
    Pokoj &pokoj(int pokojId);

    QDate m_od, m_do;
    std::vector<Pokoj> m_pokoje;
    QHash<int, qsizetype> m_indexPokoje;             // pokoj_id -> m_pokoje
    QHash<int, std::vector<qsizetype>> m_pokojeTypu;   // ascending pokoj_id
};

/** The reservations of one client, in the order the database returns them. */
class Objednavky
{
public:
    void NactiProKlienta(int klientId);
    int Pocet() const { return static_cast<int>(m_objednavky.size()); }
    /** Clears the list and adds each reservation's number. */
    void Vypis(QStringList &seznam) const;
    /** od_kdy of the first reservation with the number; a null date when none. */
    QDate NajdiOd(int cisloObjednavky) const;
    /** do_kdy of the first reservation with the number; a null date when none. */
    QDate NajdiDo(int cisloObjednavky) const;

    const std::vector<Objednavka> &prvky() const { return m_objednavky; }

private:
    const Objednavka *najdi(int cisloObjednavky) const;

    std::vector<Objednavka> m_objednavky;
};
