#pragma once

#include "web/engine/TypyWebu.h"

#include <QObject>

class SpojeniSWebem;

/** The desk's exports to the site: the room types, the prices and occupancy, the local address. */
class ExportyWebu : public QObject
{
    Q_OBJECT
public:
    ExportyWebu(SpojeniSWebem &spojeni, const NastaveniWebu &nastaveni, QObject *parent = nullptr);

    /** Sends the room types now; without a connection they are not sent. */
    void ExportTypuPokoju();
    /** Sends the prices and occupancy as soon as the connection stands; several starts send it once. */
    void ExportCenObsazenosti();
    /** Sends LokalniIP now; without a connection it is not sent. */
    void UlozIPAdresu();
    /** Sends what waits, when connected (at each tick and when a connection stands). */
    void krok();

    StavExportuCen stav() const { return m_stav; }
    bool ceka() const { return m_stav != StavExportuCen::Nic; }
    const PosledniAkce &posledni() const { return m_posledni; }

signals:
    void stavZmenen();
    void chyba(const QString &text, bool odRecepcniho);

private:
    void zaznamenej(bool uspech, const QString &text);

    SpojeniSWebem &m_spojeni;
    const NastaveniWebu &m_nastaveni;
    StavExportuCen m_stav = StavExportuCen::Nic;
    PosledniAkce m_posledni;
};
