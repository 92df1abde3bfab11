#pragma once

#include "web/engine/TypyWebu.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class QTcpSocket;

/**
 * The one connection to the site's scripts: connect attempts, the watchdog
 * that limits them, the reply box, and the requests sent again on a new
 * connection when the site cut the old one before answering them.
 */
class SpojeniSWebem : public QObject
{
    Q_OBJECT
public:
    /** Requests whose loss with the connection matters; they go again on the next one. */
    enum class Druh { Import, Vysledek, Export };

    /** `nastaveni` is read whenever a request is composed or a connection made. */
    SpojeniSWebem(const NastaveniWebu &nastaveni, int tik, QObject *parent = nullptr);
    ~SpojeniSWebem() override;

    /** Whether something besides the requests sent again waits for the site; asked to run the watchdog. */
    void setCeka(std::function<bool()> ceka) { m_ceka = std::move(ceka); }

    /** Connects unless connected to the address already; an attempt under way is replaced. */
    void Pripoj();
    bool jePripojeno() const;
    /** True when connected; otherwise starts an attempt and the watchdog, which comes back at each tick. */
    bool pozadejSpojeni();
    /** Writes the request when connected; one of a `druh` goes again should the site cut the connection unanswered. */
    bool posli(const QByteArray &pozadavek, std::optional<Druh> druh = std::nullopt);
    /** Sends what waits to go again; on a new connection, before anything else. */
    void posliOpakovane();
    /** Forgets requests of the kind, unanswered or waiting to go again. */
    void zapomen(Druh druh);
    bool opakuje(Druh druh) const;
    /**
     * Closes the connection at once, so that what the site still sends mixes
     * with nothing later; what went unanswered goes again on the next one.
     */
    void prerus();
    /** The same, but what went unanswered is not sent again. */
    void zavri();
    /** After a lost connection: one the site closed is made again at once while something waits. */
    void obnov(bool bylNavazan);
    /** Starts the watchdog while something waits and stops it when nothing does. */
    void hlidej();
    bool hlida() const { return m_hlidac.isActive(); }

    void vyprazdniOdpoved();
    const QString &odpoved() const { return m_odpoved; }

    QString teloZacatek() const;
    QByteArray pozadavek(const QString &skript, const QString &telo) const;

signals:
    void pripojeniZmeneno(bool pripojeno);
    /** The connection stands (queued: whatever waits for it goes). */
    void navazano();
    /** The connection went; `bylNavazan` when it had stood. Queued after the loss. */
    void ztraceno(bool bylNavazan);
    /** A tick while connected (not connected, the tick makes a new attempt itself). */
    void tikPripojeno();
    /** Every tick, after its work. */
    void tikHotov();
    /**
     * Data came, before they reach the box; a reader that cannot take them
     * calls prerus() or zavri(), and then they never reach it.
     */
    void prijato(qsizetype bajtu, const QString &text);
    /** The box would pass its limit: the connection was closed and the data dropped. */
    void prilisDlouha();
    void odpovedVyprazdnena();
    void odpovedPrijata(const QString &text);

private:
    struct Odeslany
    {
        Druh druh;
        QByteArray bajty;
    };

    void ClientSocketRead();
    void ClientSocketError();
    void PripojenoTimerTimer();

    const NastaveniWebu &m_nastaveni;
    int m_tik;
    std::function<bool()> m_ceka;

    QTcpSocket *m_socket = nullptr;
    QTimer m_hlidac;
    QElapsedTimer m_pokus;          // since the connection attempt under way began
    QString m_pripojenaAdresa;      // the address the socket was connected with
    bool m_pripojeno = false;
    bool m_navazano = false;        // the connection stood (a later loss is no refusal)
    quint64 m_preruseni = 0;        // counts the closes, so a read knows a reader cut it

    QString m_odpoved;              // the reply box's text
    qsizetype m_odpovedBajtu = 0;
    // Requests sent since data last came; should the site close the
    // connection with none of them answered, they go once more on the next one.
    QList<Odeslany> m_bezOdpovedi;
    QList<Odeslany> m_kOpakovani;
};
