#pragma once

#include "web/engine/TypyWebu.h"
#include "web/protocol/OdpovedWebu.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

class SpojeniSWebem;

/**
 * The reservation import: asks the site for its reservations, stores them
 * once the reply is complete, and tells the site the outcomes. One run at
 * a time; a start while one runs is answered by it or by one run after it.
 */
class ImportWebu : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxTikuCekani = 20;

    /** Who started a run: the receptionist's own action earns a box for an error, a guest's a log line. */
    enum class Puvod { Recepcni, Host };

    ImportWebu(SpojeniSWebem &spojeni, int tik, QObject *parent = nullptr);

    /** Starts a run, or joins the one that will answer it; returns that run's number. */
    quint64 spust(Puvod puvod);
    /** Takes the next step that the connection allows. */
    void krok();

    /** A watchdog tick while connected; true when it ended a reply that never completed. */
    bool tik();
    /** After a lost connection: a reply cut short is asked for once more, then the run ends. */
    void poZtrateSpojeni();
    /** The site's data, as they come; cuts the connection when the reply would pass its limit. */
    void prijato(qsizetype bajtu, const QString &text);
    /** The connection was cut for data over the reply box's limit; true when they were this run's reply. */
    bool prilisDlouha();

    StavImportu stav() const { return m_stav; }
    bool ceka() const { return m_stav != StavImportu::Nic; }
    const QString &vysledek() const { return m_vysledek; }
    const PosledniAkce &posledni() const { return m_posledni; }

signals:
    void stavZmenen();
    void chyba(const QString &text, bool odRecepcniho);
    /** Run `cislo` ended: with the answer to the site, or none when it failed. */
    void skoncil(quint64 cislo, const std::optional<QString> &vysledek);

private:
    void opust();
    bool ulozOdpoved();
    void ukonci(bool uspech, const QString &zprava, const QString &kratce);
    QString zpravaPrilisDlouha() const;

    SpojeniSWebem &m_spojeni;
    int m_tik;
    StavImportu m_stav = StavImportu::Nic;
    Puvod m_puvod = Puvod::Recepcni;
    quint64 m_cislo = 0;
    std::optional<Puvod> m_dalsi;        // a start that needs a run after the current one
    int m_tikyOdpovedi = 0;
    int m_opakovani = 0;                 // requests sent again after the site cut its reply
    OdpovedWebu m_odpoved;
    QByteArray m_pozadavekVysledku;
    QString m_vysledek;
    QString m_souhrn;
    QString m_varovani;
    QString m_preruseno;                 // the database failure that ended the pass; its answer still goes
    PosledniAkce m_posledni;
};
