#pragma once

// The hotel's particulars: the operator, the facility as the police reports
// name it, the stay fee, the bank account; and the reasons a guest is
// exempt from the fee. One set for the hotel, shared by every desk.

#include "model/Zmeny.h"

#include <QString>
#include <vector>

/** How often the stay fee is paid to the town (poplatek_obdobi). */
enum class ObdobiPoplatku { Mesicne = 0, Ctvrtletne = 1, Rocne = 2, Jinak = 3 };

struct UdajeOHotelu
{
    QString provozovatel;
    QString provozovatel_adresa;
    QString ico;
    QString dic;
    bool platce_dph = false;
    QString zarizeni;
    QString okres;
    QString obec;
    QString cast_obce;
    QString ulice;
    QString cislo_domovni;
    QString cislo_orientacni;
    QString psc;
    QString kontakt;
    QString idub;
    QString zkratka;
    double poplatek_sazba = 0;   // Kč per person and night
    int poplatek_obdobi = int(ObdobiPoplatku::Mesicne);
    QString bankovni_ucet;       // IBAN

    bool operator==(const UdajeOHotelu &) const = default;
};

/** A reason for exemption from the stay fee. */
struct Osvobozeni
{
    int osvobozeni_id = -1;
    QString nazev;

    bool operator==(const Osvobozeni &) const = default;
};

/** The checks of the particulars as typed; an empty field passes (not known yet). */
namespace KontrolaUdaju {

/** The law's ceiling of the stay fee per person and night, Kč. */
constexpr double nejvyssiSazba = 50;

/** Eight digits whose last is the check digit (weights 8..2, mod 11). */
bool platneIco(const QString &ico);
/** "CZ" and 8 to 10 digits. */
bool platneDic(const QString &dic);
/** Five digits; a space after the third is allowed. */
bool platnaPsc(const QString &psc);
/** Twelve digits. */
bool platneIdub(const QString &idub);
/** An IBAN (spaces allowed) whose mod-97 check gives 1. */
bool platnyIban(const QString &iban);
/** The first fault of the particulars, naming the field, in Czech; empty when none. */
QString chyba(const UdajeOHotelu &u);

} // namespace KontrolaUdaju

/** The particulars and the exemption reasons as one desk loaded and edits them. */
class UdajeHotelu
{
public:
    /** Loads both. */
    UdajeHotelu();

    void Nacti();
    UdajeOHotelu &udaje() { return m_udaje; }
    const UdajeOHotelu &udaje() const { return m_udaje; }
    const std::vector<Osvobozeni> &osvobozeni() const { return m_osvobozeni; }

    /** Appends a reason; false when the name is empty or already listed. */
    bool PridejOsvobozeni(const QString &nazev);
    void OdstranOsvobozeni(int index);

    /**
     * Writes what changed since the load in one save, with the history.
     * Refused whole (Konflikt) when another desk changed the particulars or
     * a reason removed here since the load, or added a reason of a new name;
     * refused too when a removed reason belongs to a stored guest.
     */
    void Uloz();
    /** After a refused save: the stored particulars, with this copy's reasons changes that still apply. */
    void obnov();

private:
    UdajeOHotelu m_udaje, m_nacteneUdaje;
    std::vector<Osvobozeni> m_osvobozeni, m_nacteneOsvobozeni;
};
