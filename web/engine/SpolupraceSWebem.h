#pragma once

#include "web/protocol/OdpovedWebu.h"

#include <QByteArray>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <optional>

class NaslouchaniRecepce;
class QTcpSocket;
struct PozadavekHosta;

/** Lengths of the web road's limits in milliseconds; tests shorten them. */
struct CasovaniWebu
{
    int pripojeno = 1000;          // a connection attempt gets this long; the watchdog's tick
    int cekaniNaImport = 1000;     // a guest waits at most maxTikuCekani of these for the import
    int odpojeni = 5000;           // an answered guest's connection is closed by force this long after its answer
                                   // when the browser has not closed it
    int neuplnyPozadavek = 2000;   // a guest's request must be complete this long after connecting
};

/** What the receptionist types in the web dialog; read whenever a request is composed. */
struct NastaveniWebu
{
    QString adresa = QStringLiteral("localhost");   // host or host:port of the web server
    QString adresar = QStringLiteral("/zarventocz/www/vitrana");
    QString id = QStringLiteral("1");
    QString heslo;
    QString lokalniIP;
};

enum class StavExportuCen { Nic, CekaNaSpojeni };

enum class StavImportu {
    Nic,
    PrvniPozadavek,     // the request for the reservations waits for a connection
    CekaNaOdpoved,      // sent; the reply is not complete yet
    OdpovedKOdeslani,   // stored; the outcomes wait for a connection
};

/** How an export or an import last ended. */
struct PosledniAkce
{
    QDateTime cas;          // invalid until it first ends
    bool uspech = false;
    QString text;           // a few words for a label
};

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
    StavExportuCen stavExportuCen() const { return m_stavExportuCen; }
    StavImportu stavImportu() const { return m_stavImportu; }
    /** The last import's answer to the site, "pocet_rezervaci=..." */
    const QString &vysledekImportu() const { return m_vysledekImportu; }
    /** What the site sent since the reply box was last emptied (at most OdpovedWebu::limit bytes). */
    const QString &odpovedServeru() const { return m_odpoved; }
    /** What waits for the web server, a line each; empty when nothing does. */
    QStringList cekani() const;
    const PosledniAkce &posledniExport() const { return m_posledniExport; }
    const PosledniAkce &posledniImport() const { return m_posledniImport; }
    int cekajicichHostu() const { return int(m_hoste.size()); }

signals:
    void pripojeniZmeneno(bool pripojeno);
    void odpovedVyprazdnena();
    void odpovedPrijata(const QString &data);
    /** What waits, or the last export or import, changed. */
    void stavZmenen();
    /** An error; `odRecepcniho` when the receptionist's own action ran into it. */
    void chyba(const QString &text, bool odRecepcniho);

private:
    enum class Puvod { Recepcni, Host };
    enum class Druh { Import, Vysledek, Export };
    struct Odeslany
    {
        Druh druh;
        QByteArray bajty;
    };
    struct CekajiciHost
    {
        quint64 host;
        QString cislo_rezervace, skript_zpet, vzhled_stranek;
        quint64 import = 0;   // the first import run whose result answers it
        // By the clock, not by counted ticks: ticks missed while the desk
        // waited for the database do not come again.
        QDeadlineTimer konec;
    };

    void ClientSocketRead();
    void ClientSocketError();
    void PripojenoTimerTimer();
    void poSpojeni();
    void poZtrateSpojeni(bool bylNavazan);
    bool pozadejSpojeni();
    bool posli(const QByteArray &pozadavek, std::optional<Druh> druh = std::nullopt);
    void zapomen(Druh druh);
    void vyprazdniOdpoved();
    void hlidej();
    QString teloZacatek() const;
    QByteArray pozadavek(const QString &skript, const QString &telo) const;
    void zaznamenej(PosledniAkce &akce, bool uspech, const QString &text);

    void krokExportuCen();
    quint64 spustImport(Puvod puvod);
    void opustImport();
    void krokImportu();
    bool ulozOdpoved();
    void ukonciImport(bool uspech, const QString &zprava, const QString &kratce);

    void pozadavekHosta(quint64 host, const PozadavekHosta &pozadavek);
    void CekaniNaImportRezervaciTimerTimer();
    void odpovezHostum(quint64 import, const std::optional<QString> &vysledek);
    void odpovezHostovi(const CekajiciHost &host, const QString &dotaz);

    CasovaniWebu m_casovani;
    NastaveniWebu m_nastaveni;
    quint16 m_pozadovanyPort;

    QTcpSocket *m_socket = nullptr;
    NaslouchaniRecepce *m_naslouchani = nullptr;
    QTimer PripojenoTimer;
    QTimer CekaniNaImportRezervaciTimer;
    QElapsedTimer m_pokus;          // since the connection attempt under way began
    QString m_pripojenaAdresa;      // the address the socket was connected with
    bool m_pripojeno = false;
    bool m_navazano = false;        // the connection stood (a later loss is no refusal)

    QString m_odpoved;              // the reply box's text
    qsizetype m_odpovedBajtu = 0;
    // Requests sent since data last came; should the site close the
    // connection with none of them answered, they go once more on the next one.
    QList<Odeslany> m_bezOdpovedi;
    QList<Odeslany> m_kOpakovani;

    StavExportuCen m_stavExportuCen = StavExportuCen::Nic;
    PosledniAkce m_posledniExport;

    StavImportu m_stavImportu = StavImportu::Nic;
    Puvod m_puvodImportu = Puvod::Recepcni;
    quint64 m_cisloImportu = 0;
    std::optional<Puvod> m_dalsiImport;   // a start that needs a run after the current one
    int m_tikyOdpovedi = 0;
    int m_opakovaniImportu = 0;           // requests sent again after the site cut its reply
    OdpovedWebu m_odpovedImportu;
    QByteArray m_pozadavekVysledku;
    QString m_vysledekImportu;
    QString m_souhrnImportu;
    QString m_varovaniImportu;
    QString m_prerusenoImportu;          // the database failure that ended the pass; its answer still goes
    PosledniAkce m_posledniImport;

    QList<CekajiciHost> m_hoste;
};
