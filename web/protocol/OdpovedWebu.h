#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

/**
 * The web site's reply to "rezervace_na_vitrane.php": lines of name=value,
 * names compared without letter case, the first line of a name counting;
 * any other line (status line, headers) is ignored.
 */
class OdpovedWebu
{
public:
    /** Everything received since the request was sent; lines end at CR LF, LF or CR. */
    explicit OdpovedWebu(const QString &text);

    /** The text after the first "=" of the name's first line; none without such a line. */
    std::optional<QString> najdi(const QString &nazev) const;
    /** The same, empty without such a line. */
    QString hodnota(const QString &nazev) const { return najdi(nazev).value_or(QString()); }

    /** The reply is complete once a line konec_dat carries exactly "true". */
    bool jeUplna() const { return hodnota(QStringLiteral("konec_dat")) == QLatin1String("true"); }

private:
    QHash<QString, QString> m_hodnoty;   // by lower-case name
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
};

/** The reservations of a complete reply, or why the reply cannot be used. */
struct RezervaceZWebu
{
    QString pocet_rezervaci;   // as received, echoed back
    std::vector<WebRezervace> rezervace;
    QString chyba;             // empty when every value could be read
};

/**
 * Reads the reservations of a complete reply. Every value is checked before
 * anything is stored, so a malformed reply stores nothing: a count or room
 * type that is not a whole number, an impossible date, a price that is not a
 * number (a point is the decimal separator), or fewer reservations than the
 * count announces.
 */
RezervaceZWebu nactiRezervace(const OdpovedWebu &odpoved);

/** "y-m-d" as three whole numbers; a null date when it is no such day. */
QDate datumZWebu(const QString &text);

