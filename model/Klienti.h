#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>
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
     * check and the delete run in the store's save, all or nothing,
     * so no desk can book for the client in between.
     */
    static Smazani SmazKlienta(int klientId);
    /**
     * Bumps the clients' change stamp; every insert or delete of clients
     * calls it inside its save.
     */
    static void markChanged(TMojeQuery &q);
};

/**
 * The text as a search compares it: lower case, without diacritics, white
 * space as single spaces ("  Milan  Vaněk" → "milan vanek").
 */
QString searchKey(const QString &text);

/**
 * The clients as the client lists show them, in the order the database
 * returns them: each client's id, its line and the line's search key. A
 * line is the client's name; where names repeat, the client's type and
 * phone (or e-mail) follow it, and the client's number too where even that
 * repeats, so every line tells its client. Lines are read back by position.
 *
 * A list never changes once read; the lines are kept in one UTF-8 buffer,
 * so a hundred thousand clients take a few megabytes. The search keys are
 * not kept: a search folds each line as it goes.
 */
class Klienti
{
public:
    /**
     * The list the dialogs of this connection share: one tiny statement
     * reads the clients' change stamp, and the clients are read again only
     * when it moved since the last reading. A stale list is possible
     * between two openings (another desk deletes a client): the saves check
     * their client under the lock.
     */
    static std::shared_ptr<const Klienti> aktualni();
    /** Reads every client now, bypassing the shared list. */
    static std::shared_ptr<const Klienti> nacti();

    int pocet() const { return int(m_id.size()); }
    /** The client at a position of the list; -1 for a position outside it. */
    int idNaRadku(int radek) const;
    /** The line at a position; empty outside the list. */
    QString radek(int radek) const;
    /** The positions, ascending, whose line's search key contains the key (a searchKey already). */
    QList<int> radkyObsahujici(const QString &klic) const;

private:
    Klienti() = default;

    std::vector<int> m_id;
    QByteArray m_radky;                 // the lines, one after another
    std::vector<quint32> m_zacatky{0};  // line i is [m_zacatky[i], m_zacatky[i + 1])
};

/**
 * Labels of the client attribute columns, read once from a text file in code
 * page 1250: one line per column, its name, a TAB and the label.
 */
class PopisyPolozekKlienta
{
public:
    /**
     * Reads "text/popis_polozek_klienta.txt" relative to the working directory
     * when there is one (a hotel's own labels), else the labels built in.
     */
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
