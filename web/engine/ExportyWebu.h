#pragma once

#include "web/engine/TypyWebu.h"
#include "web/protocol/Exporty.h"

#include <QObject>
#include <memory>

class CteniExportu;
class SpojeniSWebem;
struct PrecteneCeny;
struct PristupKDatabazi;

/** The desk's exports to the site: the room types, the prices and occupancy, the local address. */
class ExportyWebu : public QObject
{
    Q_OBJECT
public:
    ExportyWebu(SpojeniSWebem &spojeni, const NastaveniWebu &nastaveni, QObject *parent = nullptr);
    /** Stops a read of the worker under way, bounded. */
    ~ExportyWebu() override;

    /**
     * From now on the prices and occupancy are read on a worker thread with
     * a connection of its own; without it (or when it cannot connect) they
     * are read on this thread's current connection.
     */
    void ctiVeVlakne(const PristupKDatabazi &pristup);

    /** Sends the room types now; without a connection they are not sent. */
    void ExportTypuPokoju();
    /**
     * Sends the prices and occupancy as soon as the connection stands, read
     * then; several starts send it once. A start while a read runs sends once
     * more after it, so the last one sent is never older than the start.
     */
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
    void precteno(const PrecteneCeny &vysledek);
    void odesli(const QList<Exporty::CenaDne> &ceny);
    void selhaloCteni(const QString &text);

    SpojeniSWebem &m_spojeni;
    const NastaveniWebu &m_nastaveni;
    StavExportuCen m_stav = StavExportuCen::Nic;
    PosledniAkce m_posledni;
    std::unique_ptr<CteniExportu> m_cteni;
    quint64 m_poradi = 0;   // the last read asked of the worker
    bool m_cte = false;     // the worker reads; it was asked after the connection stood
    bool m_znovu = false;   // a start came while the worker read
};
