#pragma once

#include "web/engine/TypyWebu.h"

#include <QObject>
#include <QString>
#include <QStringList>

class ExportyWebu;
class HosteWebu;
class ImportWebu;
class SpojeniSWebem;
struct PristupKDatabazi;

/**
 * The desk's cooperation with the web site, without widgets: the one
 * connection to the site's scripts, the exports, the reservation import and
 * the reception listener for guests whom the site forwards. Everything
 * moves on the events of its sockets; the timers only limit how long a
 * step may wait (a connection attempt, a guest's wait for the import, the
 * close of a guest's connection).
 *
 * Errors are signalled, never shown: a window decides whether a box is due
 * (the receptionist's own actions) or a line will do (what a guest's request
 * started).
 *
 * It owns one part per job and wires them: the site connection with its
 * watchdog, the exports, the import and the waiting guests.
 */
class SpolupraceSWebem : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxTikuCekani = 20;

    /** Listens for guests on the port at once (0: any free port). */
    explicit SpolupraceSWebem(quint16 listenPort, const CasovaniWebu &casovani = CasovaniWebu(),
                              QObject *parent = nullptr);
    ~SpolupraceSWebem() override;

    NastaveniWebu &nastaveni() { return m_nastaveni; }
    /** Reads the prices and occupancy export on a worker with its own connection from now on. */
    void ctiExportyVeVlakne(const PristupKDatabazi &pristup);

    /** Connects to the web server unless connected to the address already; an attempt under way is replaced. */
    void Pripoj();
    /** Sends the room types now; without a connection they are not sent. */
    void ExportTypuPokoju();
    /**
     * Starts the prices and occupancy export: it is sent as soon as the
     * connection stands, with the data of that moment. Several starts while
     * it waits send it once. Other windows (the new reservation) call this.
     */
    void ExportCenObsazenosti();
    /** Starts the reservation import as the receptionist's own action (errors earn a box). */
    void ImportRezervaci();
    /** Sends LokalniIP to the site now; without a connection it is not sent. */
    void UlozIPAdresu();

    bool jePripojeno() const;
    /** The port the listener is bound to; 0 when it could not listen. */
    quint16 portNaslouchani() const;
    quint16 pozadovanyPort() const { return m_pozadovanyPort; }
    /** Why the listener does not listen, in words for the receptionist; empty while it does. */
    QString chybaNaslouchani() const;
    /** The listener's port is taken by another program, most likely another desk. */
    bool portObsazen() const;
    StavExportuCen stavExportuCen() const;
    StavImportu stavImportu() const;
    /** The last import's answer to the site, "pocet_rezervaci=..." */
    const QString &vysledekImportu() const;
    /** What the site sent since the reply box was last emptied (at most OdpovedWebu::limit bytes). */
    const QString &odpovedServeru() const;
    /**
     * The end of odpovedServeru for the reply box: at most konecOdpovediZnaku
     * characters, from the beginning of a line where one begins in them.
     */
    QString konecOdpovedi() const;
    static constexpr qsizetype konecOdpovediZnaku = 64 * 1024;
    /** What waits for the web server, a line each; empty when nothing does. */
    QStringList cekani() const;
    const PosledniAkce &posledniExport() const;
    const PosledniAkce &posledniImport() const;
    int cekajicichHostu() const;
    /** Whether the watchdog ticks: something waits for the web server. */
    bool hlidaSpojeni() const;

signals:
    void pripojeniZmeneno(bool pripojeno);
    void odpovedVyprazdnena();
    void odpovedPrijata(const QString &data);
    /** What waits, or the last export or import, changed. */
    void stavZmenen();
    /** An error; `odRecepcniho` when the receptionist's own action ran into it. */
    void chyba(const QString &text, bool odRecepcniho);
    /** A watchdog tick has done its work (tests wait for ticks instead of for time). */
    void tikHlidace();

private:
    void poSpojeni();
    void poZtrateSpojeni(bool bylNavazan);
    void tikPripojeno();
    void prilisDlouha();
    void hlidej();

    NastaveniWebu m_nastaveni;
    quint16 m_pozadovanyPort;
    SpojeniSWebem *m_spojeni = nullptr;
    ExportyWebu *m_exporty = nullptr;
    ImportWebu *m_import = nullptr;
    HosteWebu *m_hoste = nullptr;
};
