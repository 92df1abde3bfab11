#pragma once

#include "web/protocol/Presmerovani.h"

#include "gui/TDialog.h"

#include <QList>
#include <QPointer>
#include <QTimer>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTcpServer;
class QTcpSocket;

/** Tick lengths of the web dialog's timers, in milliseconds; tests shorten them. */
struct CasovaniWebu
{
    int pripojeno = 1000;         // connection watchdog
    int labelPripojeno = 100;     // connection label, while the dialog is shown
    int cekaniNaImport = 1000;    // the listener's wait for the import, 20 ticks at most
    int odpojeni = 5000;          // closing the browser's connection after the redirect
    int neuplnyPozadavek = 10000; // a browser that has not completed its request by then is dropped
};

/**
 * Cooperation with the web site: the HTTP client of the site's scripts
 * (exports, reservation import, IP registration) and the reception listener
 * for guests whom the site forwards to the desk. Created once at start-up,
 * it works whether it is shown or not.
 */
class TAdministraceSpolupraceSWebem : public TDialog
{
    Q_OBJECT
public:
    static constexpr int maxTikuCekani = 20;

    /** Listens for guests on the port at once (0: any free port). */
    TAdministraceSpolupraceSWebem(quint16 listenPort, QWidget *parent = nullptr,
                                  const CasovaniWebu &casovani = CasovaniWebu());
    ~TAdministraceSpolupraceSWebem() override;

    /** The port the listener is bound to; 0 when it could not listen. */
    quint16 portNaslouchani() const;

    int stavExportuCen() const { return StavExportuCen; }
    int stavImportu() const { return StavImportu; }
    const QString &vysledekImportu() const { return VysledekImportu; }
    /** Everything received on the client connection since the reply box was emptied. */
    const QString &odpovedServeru() const { return m_odpoved; }
    bool jePripojeno() const;

public slots:
    void PripojButtonClick();
    void ExportTypuPokojuButtonClick();
    /** Starts the prices and occupancy export; it waits for a connection if need be. */
    void ExportCenObsazenostiButtonClick();
    /** Starts (or restarts) the reservation import. */
    void ImportRezervaciButtonClick();
    void UlozIPAdresuButtonClick();
    void ZavriButtonClick();

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void createControls();
    void FormCreate(quint16 listenPort);

    void ClientSocketRead();
    void ClientSocketError();
    void PripojenoTimerTimer();
    void LabelPripojenoTimerTimer();

    void krokExportuCen();
    void krokImportu();
    void ukonciImportChybou(const QString &text);
    void stopWatchdogWhenIdle();

    void ServerSocketClientConnect();
    void ServerSocketClientRead();
    void ServerSocketClientError(QTcpSocket *spojeni);
    void CekaniNaImportRezervaciTimerTimer();
    void ServerSocketDisconnectTimerTimer();
    void NeuplnyPozadavekTimerTimer();
    void odeberSpojeni(QTcpSocket *spojeni);

    QString teloZacatek() const;
    void posli(const QByteArray &pozadavek, bool opakovat = false);
    void vyprazdniOdpoved();
    void ukazStav();

    CasovaniWebu m_casovani;

    QLineEdit *AdresaEdit = nullptr;
    QLineEdit *AdresarEdit = nullptr;
    QLineEdit *IDEdit = nullptr;
    QLineEdit *HesloEdit = nullptr;
    QLineEdit *LokalniIPEdit = nullptr;
    QLabel *PripojenoLabel = nullptr;
    QLabel *CekaniLabel = nullptr;
    QLabel *NaslouchaniLabel = nullptr;
    QPlainTextEdit *OdpovedServeruMemo = nullptr;

    QTcpSocket *ClientSocket = nullptr;
    QTcpServer *ServerSocket = nullptr;
    QTimer PripojenoTimer;
    QTimer LabelPripojenoTimer;
    QTimer CekaniNaImportRezervaciTimer;
    QTimer ServerSocketDisconnectTimer;
    QTimer NeuplnyPozadavekTimer;

    QString m_pripojenaAdresa;   // the AdresaEdit text the socket was connected with
    QString m_odpoved;           // the reply box's text
    // Requests of the import and the prices export sent since data last came.
    // Should the server close the connection with none of them answered
    // (it was closing as they went), they go once more on the next one.
    QList<QByteArray> m_bezOdpovedi;
    QList<QByteArray> m_kOpakovani;

    int StavExportuCen = -1;
    int StavImportu = -1;
    QByteArray m_pozadavekImportu;
    // Everything received since the import's first request went out; an
    // export emptying the reply box meanwhile does not cut the import's reply.
    QString m_odpovedImportu;
    QString VysledekImportu;
    bool VysledekPripraven = false;
    bool m_importSelhal = false;

    QList<QTcpSocket *> m_spojeni;   // browsers' connections, oldest first
    QPointer<QTcpSocket> m_zadatel;  // the browser whose request is being served
    PrijataData m_prijataData;
    int PocitadloCekani = 0;
    QString m_cisloRezervace;
    QString m_skriptZpet;
    QString m_vzhledStranek;
};
