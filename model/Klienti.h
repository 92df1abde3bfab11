#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

class TMojeQuery;

/**
 * A client type with the client attributes its clients are asked for: the
 * columns of klient_zobrazit_tab whose value for the type is not 0, ordered
 * by that value, then by column name.
 */
class TypKlienta
{
public:
    /** Loads the attribute list of the type. */
    TypKlienta(int typKlientaId, const QString &typKlienta);

    int typ_klienta_id;
    QString typ_klienta;

    /** Puts the cursor on the first attribute; false when there is none. */
    bool PrvniPolozka();
    /** Moves the cursor on; false with no cursor or on the last attribute. */
    bool DalsiPolozka();
    /** Column name under the cursor; valid after PrvniPolozka returned true. */
    QString AktualniPolozka() const;

    /** (order value, column name) in list order. */
    const QList<QPair<int, QString>> &polozky() const { return m_polozky; }

private:
    QList<QPair<int, QString>> m_polozky;
    int m_kurzor = -1;
};

/** All client types in the order the database returns them. */
class TypyKlientu
{
public:
    /** Loads every type with its attribute list. */
    TypyKlientu();

    void Nacti();
    /** Clears the list and adds each type's name. */
    void Vypis(QStringList &seznam) const;
    /** Id of the first type of exactly that name; -1 when none. */
    int NajdiId(const QString &typKlienta) const;

    const std::vector<TypKlienta> &prvky() const { return m_typy; }

private:
    std::vector<TypKlienta> m_typy;
};

/** One client; klient_id 0 in a client not stored yet. */
class Klient
{
public:
    Klient(int klientId, const QString &jmeno, const QString &telefon = QString(),
           const QString &email = QString(), const QString &stat = QString());

    int klient_id;
    QString jmeno;
    QString telefon;
    QString email;
    QString stat;
    QString typ_klienta;   // the type's name, as the client lists load it

    /**
     * Inserts a client recorded at the desk: the attribute columns with their
     * texts, in this order, and the type; the database gives the identifier.
     * Texts are stored exactly as given.
     */
    static void PridejKlienta(const QList<QPair<QString, QString>> &polozky, int typKlientaId);
    enum class Smazani { Smazan, MaRezervace, UzNeni };
    /**
     * Deletes the client unless reservations still point at it (MaRezervace,
     * nothing deleted) or another desk has deleted it already (UzNeni). The
     * check and the delete run under the store's lock set, all or nothing,
     * so no desk can book for the client in between.
     */
    static Smazani SmazKlienta(int klientId);
    /**
     * Runs an insert of clients with identifiers of their own. With
     * `zeroId` (the first client of an empty table gets 0) the statement
     * runs under NO_AUTO_VALUE_ON_ZERO, so 0 is stored and not replaced by a
     * generated value the reservation would not know.
     */
    static void insertWithIds(TMojeQuery &q, const QString &insert, bool zeroId);
};

/**
 * All clients (identifier, name, type, phone and e-mail) in the order the
 * database returns them. A list filled by Vypis is read back by position:
 * names repeat.
 */
class Klienti
{
public:
    /** Loads every client. */
    Klienti();

    void Nacti();
    /**
     * Clears the list and adds each client's name. Where names repeat, the
     * client's type and phone (or e-mail) follow the name, and the client's
     * number too where even that repeats, so every line tells its client.
     */
    void Vypis(QStringList &seznam) const;
    /** The client at a position of the list Vypis fills; -1 for a position outside it. */
    int IdNaRadku(int radek) const;
    /**
     * Id of the first client of exactly that name; -1 when none (0 is a real
     * client: the first guest the web import stored).
     */
    int NajdiId(const QString &jmeno) const;

    const std::vector<Klient> &prvky() const { return m_klienti; }

private:
    std::vector<Klient> m_klienti;
};

/**
 * Labels of the client attribute columns, read once from a text file in code
 * page 1250: one line per column, its name, a TAB and the label.
 */
class PopisyPolozekKlienta
{
public:
    /** Reads "text/popis_polozek_klienta.txt" relative to the working directory. */
    PopisyPolozekKlienta();
    /** Reads the given file; a file that cannot be opened gives no labels. */
    explicit PopisyPolozekKlienta(const QString &soubor);

    /** Label of the first line of exactly that column name; the name itself when none. */
    QString NajdiPopis(const QString &sloupec) const;

    /** (column name, label) in file order. */
    const QList<QPair<QString, QString>> &prvky() const { return m_popisy; }

private:
    QList<QPair<QString, QString>> m_popisy;
};
