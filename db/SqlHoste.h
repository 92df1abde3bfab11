#pragma once

#include <QDate>
#include <QString>

class SqlFormat;

/** A stay by its key: a row of objednavky_pokoje_tab. */
struct KlicPobytu
{
    int cislo_objednavky = 0;
    int pokoj_id = 0;
    QDate od_kdy;

    bool operator==(const KlicPobytu &) const = default;
};

/** A guest's particulars, the columns of hoste_tab a desk writes. */
struct UdajeHosta
{
    QString jmeno;
    QString prijmeni;
    QDate datum_narozeni;
    QString statni_prislusnost = QStringLiteral("CZE");
    QString ulice;
    QString mesto;
    QString psc;
    QString stat = QStringLiteral("CZE");
    QString doklad_druh;
    QString doklad_cislo;
    QString vizum;
    QString ucel = QStringLiteral("10");
    int osvobozeni_id = 0;

    bool operator==(const UdajeHosta &) const = default;
};

/** Statements on the guests of the stays (hoste_tab) and the exemption reasons. */
namespace SqlHoste {

/** Every column of the stay's guests, by poradi. */
QString selectGuests(const KlicPobytu &pobyt);
QString insertGuest(const SqlFormat &f, int hostId, const KlicPobytu &pobyt, int poradi, const UdajeHosta &h);
/** Every column but the id, the key included (a stay's first day may move). */
QString updateGuest(const SqlFormat &f, int hostId, const KlicPobytu &pobyt, int poradi, const UdajeHosta &h);
QString deleteGuest(int hostId);
/** The stay's guests moved with its first day. */
QString moveGuests(const KlicPobytu &pobyt, const QDate &noveOd);
/** osvobozeni_id, nazev of the exemption reasons, by name. */
QString selectExemptions();
/** Guests whose surname begins with the text, the newest stay first, at most limit rows. */
QString selectBySurname(const SqlFormat &f, const QString &prijmeni, int limit);

} // namespace SqlHoste
