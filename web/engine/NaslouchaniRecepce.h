#pragma once

#include "web/protocol/Presmerovani.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <map>
#include <optional>
#include <vector>

class QHostAddress;
class QTcpServer;
class QTcpSocket;

/** The values of a guest's request that the desk keeps and echoes back. */
struct PozadavekHosta
{
    QString cislo_rezervace;
    QString skript_zpet;
    QString vzhled_stranek;
};

/**
 * The reception listener: takes the browsers of guests whom the web site
 * forwards to the desk. Guests come first: every connection is read on its
 * own, a request not complete within `lhuta` ms of connecting is dropped,
 * and when the table is full a newcomer takes the place of a connection
 * that has no complete request (see ustoupi), so idle or slow clients never
 * keep a guest out. When every place holds a waiting guest or a connection
 * still within its chance (sance), newcomers wait in order of arrival for
 * a place; nobody is refused. A complete request with a valid return address is
 * passed on; one with an invalid return address gets a plain error page.
 * An answered connection is ended as soon as its answer is written; it is
 * aborted if the browser has not closed it `odpojeni` ms after the answer.
 */
class NaslouchaniRecepce : public QObject
{
    Q_OBJECT
public:
    /**
     * Connections open at once, in every state: a thousand guests at once
     * with room to spare. Each holds at most PrijataData::limit bytes.
     */
    static constexpr int maxSpojeni = 4096;
    /**
     * Connections from one address (an IPv6 /64 network counts as one) that
     * do not wait for an answer. Guests whose request is complete are not
     * counted: any number of them behind one proxy are served.
     */
    static constexpr int maxRozpracovanychZAdresy = 64;
    /**
     * For this long (ms) after connecting, and after its answer, a connection
     * neither counts toward its address's limit nor makes room for it: a
     * burst of guests from one address has had no time to send its requests
     * or to read its answers.
     */
    static constexpr int sance = 1000;

    NaslouchaniRecepce(int lhuta, int odpojeni, QObject *parent = nullptr);
    ~NaslouchaniRecepce() override;

    /** False when the port cannot be had; chyba() says why. */
    bool naslouchej(quint16 port);
    /** The port listened on; 0 when not listening. */
    quint16 port() const;
    /** Why it does not listen, in words for the receptionist; empty while it does. */
    QString chyba() const { return m_chyba; }
    /** The port was taken by another program (most likely another desk). */
    bool obsazen() const { return m_obsazen; }
    int pocetSpojeni() const { return int(m_spojeni.size()); }
    /** Fewer places than maxSpojeni, where memory is short. */
    void setMist(int mist) { m_mist = mist; }
    /** Connections without a complete request whose chance (sance) is over. */
    int pocetPomalych() const;
    /** Guests' connections taken from the system that wait for a place. */
    int pocetVeFronte() const { return int(m_fronta.size()); }
    /** Bytes of requests read so far; it only grows, so a caller sees that what was sent has arrived. */
    qint64 prectenoBajtu() const { return m_precteno; }

    /** Sends the answer to the guest's connection (if it is still open) and ends the connection. */
    void odpovez(quint64 host, const QByteArray &odpoved);

    enum class Stav {
        Cte,       // the request is not complete yet
        Ceka,      // complete, waiting for its answer
        Odchazi,   // answered, closing
    };
    /** What the choice of ustoupi knows of an open connection. */
    struct UdajSpojeni
    {
        quint64 id;
        QByteArray adresa;   // klicAdresy of the peer
        Stav stav;
        bool cerstve = false;   // within its chance: see sance
    };
    /**
     * Which connection makes room for a newcomer from `adresa`, given the
     * open ones oldest first: 0 when none needs to (the newcomer is simply
     * taken), nullopt when none may (every place holds a waiting guest or a
     * fresh connection: the newcomer waits its turn). Neither a guest
     * waiting for its answer nor a fresh connection ever makes room. When
     * the newcomer's address is at its limit, its own oldest answered
     * connection goes, else its own oldest unfinished one, so that a flood
     * from one address displaces only itself. When the table is
     * full, the oldest answered connection goes, else the oldest unfinished
     * one of the address holding the most unfinished ones.
     */
    static std::optional<quint64> ustoupi(const std::vector<UdajSpojeni> &spojeni, const QByteArray &adresa,
                                          int mist = maxSpojeni);
    /** The address as ustoupi counts it: an IPv4 address alone, an IPv6 address by its /64 network. */
    static QByteArray klicAdresy(const QHostAddress &adresa);

signals:
    /** A guest's request is complete; answer it with odpovez(host, ...). */
    void pozadavek(quint64 host, const PozadavekHosta &pozadavek);

private:
    class Spojeni;

    // A flood must not flood the log too: one line at most every 10 s.
    struct Pocitadlo
    {
        qint64 pocet = 0;
        QElapsedTimer posledni;
        /** Counts one; the count to log now, or 0 while the last line is recent. */
        qint64 zapocti();
    };

    void ServerSocketClientConnect();
    /** Takes the newcomer into the table; false when there is no place for it now. */
    bool prijmi(QTcpSocket *socket);
    /** A place has freed: the queue and the system's backlog are taken again from the event loop. */
    void uvolneno();
    void ServerSocketClientRead(quint64 host);
    void odesli(quint64 host);
    void zavri(quint64 host);

    int m_lhuta;
    int m_odpojeni;
    int m_mist = maxSpojeni;
    QTcpServer *m_server;
    QString m_chyba;
    bool m_obsazen = false;
    std::map<quint64, Spojeni *> m_spojeni;   // by id: oldest first
    quint64 m_posledni = 0;
    qint64 m_precteno = 0;
    std::deque<QTcpSocket *> m_fronta;   // taken from the system, waiting for a place; oldest first
    QTimer m_znovu;                      // the queue tries again when the fresh ones in its way are not
    bool m_prijimani = false;            // a take-in is queued in the event loop
    bool m_pozastaveno = false;          // out of descriptors: taking connections paused
    Pocitadlo m_vyrazena;
    Pocitadlo m_zdrzena;
};
