#pragma once

// A small stand-in for the hotel's web site, to try and test the desk's web
// cooperation without a real site. It serves the five scripts the desk
// talks to, a guest booking page that forwards the browser to the desk's
// listener, and the page the desk sends the browser back to. It can be told
// to misbehave. It shares no code with the desk, so that it checks the
// desk's bytes instead of repeating them.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>

class QTcpServer;
class QTcpSocket;
class QTimer;

/** A reservation a guest made on the site, waiting for the desk to fetch it. */
struct SimRezervace
{
    QString id;            // the site's identifier; given by the site when empty
    QString pokojid;       // the desk's room type id
    QString datum_od;      // yyyy-mm-dd
    QString datum_do;
    QString cena;
    QString jmeno;
    QString telefon;
    QString email;
    QString stat;
};

/** One request as the site received it. */
struct SimPozadavek
{
    QString metoda;
    QString cesta;              // without the query
    QString skript;             // the last part of the path
    QByteArray hlavicka;        // request line and headers, as received
    QByteArray telo;
    QList<QPair<QString, QString>> pole;   // decoded form fields of the body or query, in order

    QString hodnota(const QString &nazev) const;
};

class WebSimulator : public QObject
{
    Q_OBJECT
public:
    /** How the import script answers. */
    enum class Chovani {
        Normalne,
        PoKusech,        // the reply in pieces: the rest after a pause, or when posliZbytek() says so
        NikdyNedokonci,  // no konec_dat line, the connection stays open
        ZavriPredcasne,  // part of the reply, then the connection is closed
        ChybneHodnoty,   // a count that is not a number: the whole reply is unusable
        ChybnaRezervace, // an impossible date in the first reservation, the others as queued
        Mlci,            // no answer at all
        Nekonecne,       // lines without end, as fast as the desk takes them
    };

    struct Nastaveni
    {
        QString adresar = QStringLiteral("/zarventocz/www/vitrana");
        QString hostDesky = QStringLiteral("127.0.0.1");   // until the desk registers its IP address
        quint16 portDesky = 9876;
        QString slozkaDat;           // where received data are also written, if set
        bool zavriPoOdpovedi = false;
        // With zavriPoOdpovedi: a connection being closed reads nothing more,
        // and the close itself comes this much later (as from a lingering server).
        int prodlevaZavreni = 0;
        // The outcomes are taken and answered but never reach the queue, as
        // if the desk's answer had been lost: the same reservations are offered again.
        bool ztraciVysledky = false;
    };

    explicit WebSimulator(const Nastaveni &nastaveni, QObject *parent = nullptr);
    ~WebSimulator() override;

    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 port() const;
    QString adresaWebu() const;   // http://127.0.0.1:<port><adresar>
    Nastaveni &nastaveni() { return m_nastaveni; }

    void setChovani(Chovani chovani) { m_chovani = chovani; }
    /** Pause before the rest of a reply in pieces; -1 holds it until posliZbytek(). */
    void setProdlevaKusu(int ms) { m_prodlevaKusu = ms; }
    void posliZbytek();
    /** The import script's body as given (its lines as they are), instead of the queue. */
    void setOdpovedImportu(const QByteArray &telo) { m_vlastniOdpoved = telo; }

    /** Queues a reservation; returns its id. */
    QString pridejRezervaci(SimRezervace rezervace);
    const QList<SimRezervace> &cekajici() const { return m_cekajici; }
    void zapomenCekajici() { m_cekajici.clear(); }
    /** Outcomes posted by the desk, by reservation id: "1" or "-1". */
    const QMap<QString, QString> &vysledky() const { return m_vysledky; }
    const QString &ipAdresa() const { return m_ipAdresa; }
    /** Rows of the last room types export: field name -> value. */
    const QList<QMap<QString, QString>> &typyPokoju() const { return m_typy; }
    /** Rows of the last prices export. */
    const QList<QMap<QString, QString>> &ceny() const { return m_ceny; }
    const QList<SimPozadavek> &pozadavky() const { return m_pozadavky; }
    /** Everything received on each connection so far, in order of connection. */
    const QList<QByteArray> &prijatoSpojenimi() const { return m_prijato; }
    int pocetSpojeni() const { return int(m_buffer.size()); }
    /**
     * When the last complete request for the script arrived, in nanoseconds
     * of hodiny() (0: never), and how many did: a measure of the desk's road
     * ends at the site's receipt, before the site's own work.
     */
    qint64 casPrijeti(const QString &skript) const { return m_casPrijeti.value(skript); }
    int pocetPrijeti(const QString &skript) const { return m_pocetPrijeti.value(skript); }
    /** The monotonic clock of casPrijeti(), in nanoseconds: one for all threads of the process. */
    static qint64 hodiny();
    /** Bytes of endless replies written so far. */
    qint64 odeslanoNekonecne() const { return m_odeslanoNekonecne; }
    void zapomenPozadavky();

signals:
    void pozadavekZpracovan(const QString &skript);

private:
    void prijmi(QTcpSocket *socket);
    bool zpracujJeden(QTcpSocket *socket);
    void odpovez(QTcpSocket *socket, const SimPozadavek &pozadavek);
    void posli(QTcpSocket *socket, int status, const QByteArray &typ, const QByteArray &telo,
               const QByteArray &dalsiHlavicky = QByteArray());
    QByteArray odpovedImportu() const;
    void posliImport(QTcpSocket *socket);
    void zavri(QTcpSocket *socket);
    void posliNekonecne(QTcpSocket *socket);
    void ulozDoSlozky(const QString &soubor, const QList<QPair<QString, QString>> &pole) const;

    QByteArray rezervacniStranka(const QString &zprava = QString()) const;
    void rezervuj(QTcpSocket *socket, const SimPozadavek &pozadavek, const QByteArray &host);
    QByteArray navratovaStranka(const SimPozadavek &pozadavek) const;
    QByteArray stavovaStranka() const;

    Nastaveni m_nastaveni;
    QTcpServer *m_server = nullptr;
    QHash<QTcpSocket *, QByteArray> m_buffer;   // open connections: what is not processed yet
    QHash<QTcpSocket *, int> m_cisloSpojeni;
    QSet<QTcpSocket *> m_zaviraji;
    QList<QByteArray> m_prijato;
    Chovani m_chovani = Chovani::Normalne;
    int m_prodlevaKusu = 200;
    QByteArray m_vlastniOdpoved;
    QList<QPair<QTcpSocket *, QByteArray>> m_zbytky;   // held rests of replies in pieces
    qint64 m_odeslanoNekonecne = 0;

    QList<SimRezervace> m_cekajici;
    int m_posledniId = 0;
    QMap<QString, QString> m_vysledky;
    QString m_ipAdresa;
    QList<QMap<QString, QString>> m_typy;
    QList<QMap<QString, QString>> m_ceny;
    QList<SimPozadavek> m_pozadavky;
    QHash<QString, qint64> m_casPrijeti;
    QHash<QString, int> m_pocetPrijeti;
};
