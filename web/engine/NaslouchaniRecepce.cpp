#include "web/engine/NaslouchaniRecepce.h"
#include "web/engine/LogWebu.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// One guest's connection with what it sent and its own two timers.
class NaslouchaniRecepce::Spojeni : public QObject
{
public:
    Spojeni(QTcpSocket *s, QObject *parent)
        : QObject(parent), socket(s)
    {
        socket->setParent(this);
        for (QTimer *t : {&lhuta, &odpojeni})
            t->setSingleShot(true);
    }

    QTcpSocket *socket;
    PrijataData data;
    QTimer lhuta;      // until the request must be complete
    QTimer odpojeni;   // from the answer to the close
    bool uplny = false;
};

NaslouchaniRecepce::NaslouchaniRecepce(int lhuta, int odpojeni, QObject *parent)
    : QObject(parent), m_lhuta(lhuta), m_odpojeni(odpojeni), m_server(new QTcpServer(this))
{
    m_server->setObjectName(QStringLiteral("ServerSocket"));
    m_server->setMaxPendingConnections(maxSpojeni);
    connect(m_server, &QTcpServer::newConnection, this, &NaslouchaniRecepce::ServerSocketClientConnect);
}

NaslouchaniRecepce::~NaslouchaniRecepce()
{
    // The sockets close as they go: their signals must not come back here.
    for (const auto &[id, spojeni] : m_spojeni)
        spojeni->socket->disconnect(this);
}

bool NaslouchaniRecepce::naslouchej(quint16 port)
{
    if (m_server->listen(QHostAddress::Any, port)) {
        m_chyba.clear();
        return true;
    }
    m_chyba = m_server->serverError() == QAbstractSocket::AddressInUseError
                  ? tr("port je obsazen, nejspíš jinou spuštěnou Vitranou na tomto počítači")
                  : m_server->errorString();
    qCWarning(logWebu, "cannot listen on port %u: %s", unsigned(port), qPrintable(m_server->errorString()));
    return false;
}

quint16 NaslouchaniRecepce::port() const
{
    return m_server->isListening() ? m_server->serverPort() : 0;
}

void NaslouchaniRecepce::ServerSocketClientConnect()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        if (m_spojeni.size() >= std::size_t(maxSpojeni)) {
            qCWarning(logWebu, "a guest's connection refused: %d connections are open", maxSpojeni);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const quint64 id = ++m_posledni;
        auto *spojeni = new Spojeni(socket, this);
        m_spojeni.emplace(id, spojeni);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { ServerSocketClientRead(id); });
        // Errors on a guest's connection are silent: it is closed.
        connect(socket, &QTcpSocket::errorOccurred, this, [this, id] { zavri(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { zavri(id); });
        connect(&spojeni->lhuta, &QTimer::timeout, this, [this, id] { zavri(id); });
        connect(&spojeni->odpojeni, &QTimer::timeout, this, [this, id] {
            const auto it = m_spojeni.find(id);
            if (it == m_spojeni.end())
                return;
            it->second->socket->disconnectFromHost();
            if (it->second->socket->state() == QAbstractSocket::UnconnectedState)
                zavri(id);
        });
        spojeni->lhuta.start(m_lhuta);
    }
}

void NaslouchaniRecepce::ServerSocketClientRead(quint64 host)
{
    const auto it = m_spojeni.find(host);
    if (it == m_spojeni.end())
        return;
    Spojeni *spojeni = it->second;
    const QByteArray data = spojeni->socket->readAll();
    if (spojeni->uplny)
        return;   // what follows a complete request is not needed
    if (!spojeni->data.pridej(data)) {
        zavri(host);   // no browser request is that long
        return;
    }
    if (!spojeni->data.jeUplny())
        return;

    spojeni->uplny = true;
    spojeni->lhuta.stop();
    const QString &text = spojeni->data.text();
    const PozadavekHosta pozadavek{Presmerovani::HodnotaParametru(text, QStringLiteral("cislo_rezervace")),
                                   Presmerovani::HodnotaParametru(text, QStringLiteral("skript_zpet")),
                                   Presmerovani::HodnotaParametru(text, QStringLiteral("vzhled_stranek"))};
    spojeni->data.vyprazdni();
    if (!Presmerovani::jeAdresaNavratu(pozadavek.skript_zpet)) {
        QString shown = pozadavek.skript_zpet.left(200);
        for (QChar &c : shown)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                c = u'?';
        qCWarning(logWebu, "a guest's request refused: the return address \"%s\" is no http or https URL",
                  qPrintable(shown));
        odpovez(host, Presmerovani::OdpovedChybneAdresy());
        return;
    }
    emit this->pozadavek(host, pozadavek);
}

void NaslouchaniRecepce::odpovez(quint64 host, const QByteArray &odpoved)
{
    const auto it = m_spojeni.find(host);
    if (it == m_spojeni.end())
        return;   // the browser has gone: nothing is sent
    it->second->socket->write(odpoved);
    it->second->odpojeni.start(m_odpojeni);
}

void NaslouchaniRecepce::zavri(quint64 host)
{
    const auto it = m_spojeni.find(host);
    if (it == m_spojeni.end())
        return;
    Spojeni *spojeni = it->second;
    m_spojeni.erase(it);
    spojeni->socket->disconnect(this);
    spojeni->lhuta.disconnect(this);
    spojeni->odpojeni.disconnect(this);
    spojeni->socket->abort();
    spojeni->deleteLater();
}
