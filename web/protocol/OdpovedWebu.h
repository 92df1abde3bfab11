#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

/**
 * The web site's reply to "rezervace_na_vitrane.php": lines of name=value,
 * names compared without letter case, the first line of a name counting;
 * any other line (status line, headers) is ignored. Read piece by piece as
 * the data come, each line once; at most `limit` bytes are taken.
 */
class OdpovedWebu
{
public:
    static constexpr qsizetype limit = 4 * 1024 * 1024;

    OdpovedWebu() = default;
    /** A whole reply at once; lines end at CR LF, LF or CR. */
    explicit OdpovedWebu(const QString &text) { pridej(text); }

    /** Adds received bytes (code page 1250); false, and nothing taken, when the reply would pass the limit. */
    bool pridej(const QByteArray &data);
    /** The same for bytes already decoded (their count and their text). */
    bool pridej(qsizetype bajtu, QStringView text);
    void pridej(QStringView text);
    qsizetype velikost() const { return m_bytes; }

    /** The text after the first "=" of the name's first line; none without such a line. */
    std::optional<QString> najdi(const QString &nazev) const;
    /** The same, empty without such a line. */
    QString hodnota(const QString &nazev) const { return najdi(nazev).value_or(QString()); }

    /** The reply is complete once a line konec_dat carries exactly "true". */
    bool jeUplna() const { return hodnota(QStringLiteral("konec_dat")) == QLatin1String("true"); }

private:
    void radek(QStringView line);

    QHash<QString, QString> m_hodnoty;   // by lower-case name
    QString m_rozpracovany;              // the last line, until its end comes
    qsizetype m_bytes = 0;
};

/** One reservation that a guest made on the web site. */
struct WebRezervace
{
    QString rezervaceid;   // the site's identifier, echoed back
    int typ_pokoje_id = 0;
    QDate od_kdy;
    QDate do_kdy;
    double cena = 0;
    QString jmeno;
    QString telefon;
    QString email;
    QString stat;
    /** Why the site's values cannot be stored (answered "-1"); empty when they can. */
    QString chyba;
};

/** The reservations of a complete reply, or why the reply cannot be used. */
struct RezervaceZWebu
{
    QString pocet_rezervaci;   // as received, echoed back
    std::vector<WebRezervace> rezervace;
    QString chyba;             // empty unless the reply itself is broken
};

/** How far from the import day a stay may lie, and how long it may be. */
constexpr int maxLetOdDneska = 10;
constexpr int maxDnuPobytu = 366;
/** The longest web identifier the desk remembers, in bytes of UTF-8. */
constexpr qsizetype maxDelkaId = 255;

/**
 * Reads the reservations of a complete reply, imported on `dnes`.
 *
 * Only a broken reply is refused whole (chyba set, no reservations): a
 * count that is not a whole number, or fewer reservations than it
 * announces. A reservation whose own values cannot be stored keeps its
 * reason in its own chyba, and the others go on: an empty or overlong
 * identifier, a room type that is not a whole number, an impossible date
 * or one further than maxLetOdDneska years from `dnes`, a stay that ends
 * before it begins, ended before `dnes` or is longer than maxDnuPobytu
 * days, a price that is not a number (a point is the decimal separator)
 * or is negative.
 */
RezervaceZWebu nactiRezervace(const OdpovedWebu &odpoved, const QDate &dnes);

/** "y-m-d" as three whole numbers; a null date when it is no such day. */
QDate datumZWebu(const QString &text);
