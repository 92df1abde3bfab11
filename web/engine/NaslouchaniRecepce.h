#pragma once

#include "web/protocol/Presmerovani.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>

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
 * forwards to the desk. Every connection is read on its own, so a slow or
 * idle one delays nobody: a request not complete within `lhuta` ms of
 * connecting is dropped, at most maxSpojeni connections are open at once,
 * and each answered connection is closed `odpojeni` ms after its answer,
 * by its own timer. A complete request with a valid return address is
 * passed on; one with an invalid return address gets a plain error page.
 */
class NaslouchaniRecepce : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxSpojeni = 32;

    NaslouchaniRecepce(int lhuta, int odpojeni, QObject *parent = nullptr);
    ~NaslouchaniRecepce() override;

    /** False when the port cannot be had; chyba() says why. */
    bool naslouchej(quint16 port);
    /** The port listened on; 0 when not listening. */
    quint16 port() const;
    /** Why it does not listen, in words for the receptionist; empty while it does. */
    QString chyba() const { return m_chyba; }
    int pocetSpojeni() const { return int(m_spojeni.size()); }

    /** Sends the answer to the guest's connection (if it is still open) and closes it after the delay. */
    void odpovez(quint64 host, const QByteArray &odpoved);

signals:
    /** A guest's request is complete; answer it with odpovez(host, ...). */
    void pozadavek(quint64 host, const PozadavekHosta &pozadavek);

private:
    class Spojeni;

    void ServerSocketClientConnect();
    void ServerSocketClientRead(quint64 host);
    void zavri(quint64 host);

    int m_lhuta;
    int m_odpojeni;
    QTcpServer *m_server;
    QString m_chyba;
    std::map<quint64, Spojeni *> m_spojeni;
    quint64 m_posledni = 0;
};
