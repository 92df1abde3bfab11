#include "web/engine/NaslouchaniRecepce.h"
#include "web/engine/LogWebu.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <sys/socket.h>

// One guest's connection with what it sent.
class NaslouchaniRecepce::Spojeni : public QObject
{
public:
    Spojeni(QTcpSocket *s, const QByteArray &a, QObject *parent)
        : QObject(parent), socket(s), adresa(a)
    {
        socket->setParent(this);
        limit.setSingleShot(true);
    }

    QTcpSocket *socket;
    QByteArray adresa;
    PrijataData data;
    Stav stav = Stav::Cte;
    QTimer limit;   // reading: until the request must be complete; answered: until the browser must have closed
};

NaslouchaniRecepce::NaslouchaniRecepce(int lhuta, int odpojeni, QObject *parent)
    : QObject(parent), m_lhuta(lhuta), m_odpojeni(odpojeni), m_server(new QTcpServer(this))
{
    m_server->setObjectName(QStringLiteral("ServerSocket"));
    // A burst of guests waits in the system's queue, not refused by it.
    m_server->setListenBacklogSize(maxSpojeni);
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

QByteArray NaslouchaniRecepce::klicAdresy(const QHostAddress &adresa)
{
    bool ipv4 = false;
    const quint32 v4 = adresa.toIPv4Address(&ipv4);   // an IPv4-mapped IPv6 address too
    if (ipv4)
        return QByteArray(reinterpret_cast<const char *>(&v4), sizeof v4);
    // One host is given a whole /64: counted by address, it would have no limit.
    const Q_IPV6ADDR v6 = adresa.toIPv6Address();
    return QByteArray(reinterpret_cast<const char *>(v6.c), 8);
}

std::optional<quint64> NaslouchaniRecepce::ustoupi(const std::vector<UdajSpojeni> &spojeni, const QByteArray &adresa)
{
    const auto nejstarsi = [&](auto podminka) -> std::optional<quint64> {
        for (const UdajSpojeni &s : spojeni)
            if (podminka(s))
                return s.id;
        return std::nullopt;
    };
    const auto zAdresy = std::count_if(spojeni.cbegin(), spojeni.cend(), [&](const UdajSpojeni &s) {
        return s.adresa == adresa && s.stav != Stav::Ceka;
    });
    if (zAdresy >= maxRozpracovanychZAdresy) {
        if (const auto id = nejstarsi([&](const UdajSpojeni &s) { return s.adresa == adresa && s.stav == Stav::Odchazi; }))
            return id;
        return nejstarsi([&](const UdajSpojeni &s) { return s.adresa == adresa && s.stav == Stav::Cte; });
    }
    if (spojeni.size() < std::size_t(maxSpojeni))
        return 0;
    if (const auto id = nejstarsi([](const UdajSpojeni &s) { return s.stav == Stav::Odchazi; }))
        return id;
    std::map<QByteArray, int> rozpracovane;
    int nejvic = 0;
    for (const UdajSpojeni &s : spojeni)
        if (s.stav == Stav::Cte)
            nejvic = std::max(nejvic, ++rozpracovane[s.adresa]);
    return nejstarsi([&](const UdajSpojeni &s) { return s.stav == Stav::Cte && rozpracovane[s.adresa] == nejvic; });
}

qint64 NaslouchaniRecepce::Pocitadlo::zapocti()
{
    ++pocet;
    if (posledni.isValid() && posledni.elapsed() < 10000)
        return 0;
    posledni.start();
    return std::exchange(pocet, 0);
}

void NaslouchaniRecepce::ServerSocketClientConnect()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        const QByteArray adresa = klicAdresy(socket->peerAddress());
        std::vector<UdajSpojeni> udaje;
        udaje.reserve(m_spojeni.size());
        for (const auto &[id, s] : m_spojeni)
            udaje.push_back({id, s->adresa, s->stav});
        const std::optional<quint64> misto = ustoupi(udaje, adresa);
        if (!misto) {
            if (const qint64 n = m_odmitnuta.zapocti())
                qCWarning(logWebu, "%lld guests' connections refused: %d guests wait for their answers", n, maxSpojeni);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (*misto != 0) {
            if (const qint64 n = m_vyrazena.zapocti())
                qCWarning(logWebu, "%lld connections without a complete request closed to make room for newer ones", n);
            zavri(*misto);
        }

        const quint64 id = ++m_posledni;
        auto *spojeni = new Spojeni(socket, adresa, this);
        m_spojeni.emplace(id, spojeni);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { ServerSocketClientRead(id); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, id] { odesli(id); });
        // Errors on a guest's connection are silent: it is closed.
        connect(socket, &QTcpSocket::errorOccurred, this, [this, id] { zavri(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { zavri(id); });
        connect(&spojeni->limit, &QTimer::timeout, this, [this, id] { zavri(id); });
        spojeni->limit.start(m_lhuta);
    }
}

void NaslouchaniRecepce::ServerSocketClientRead(quint64 host)
{
    const auto it = m_spojeni.find(host);
    if (it == m_spojeni.end())
        return;
    Spojeni *spojeni = it->second;
    if (spojeni->stav == Stav::Ceka)
        return;   // reading waits for the answer (below)
    const QByteArray data = spojeni->socket->readAll();
    if (spojeni->stav == Stav::Odchazi || data.isEmpty())
        return;   // what follows an answered request is not needed
    m_precteno += data.size();
    if (!spojeni->data.pridej(data)) {
        zavri(host);   // no browser request is that long
        return;
    }
    if (!spojeni->data.jeUplny())
        return;

    spojeni->stav = Stav::Ceka;
    spojeni->limit.stop();
    // A browser may end its sending side right after the request, and Qt
    // closes a socket whose peer has done so. Reading stops here, with one
    // byte put back to keep the read buffer full, so that the end is not
    // seen before the answer has gone.
    spojeni->socket->ungetChar(data.back());
    spojeni->socket->setReadBufferSize(1);

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
    if (it == m_spojeni.end() || it->second->stav != Stav::Ceka)
        return;   // the browser has gone: nothing is sent
    Spojeni *spojeni = it->second;
    spojeni->stav = Stav::Odchazi;
    spojeni->limit.start(m_odpojeni);
    // odesli follows on bytesWritten, once the system has taken the answer.
    spojeni->socket->write(odpoved);
}

void NaslouchaniRecepce::odesli(quint64 host)
{
    const auto it = m_spojeni.find(host);
    if (it == m_spojeni.end() || it->second->stav != Stav::Odchazi || it->second->socket->bytesToWrite() > 0)
        return;
    QTcpSocket *socket = it->second->socket;
    // The answer ends where the connection's sending side ends (Qt's sockets
    // cannot end only that side). What the browser still sends is read until
    // it closes: closing with unread data would reset the connection and
    // could cost the browser the answer.
    if (::shutdown(int(socket->socketDescriptor()), SHUT_WR) != 0) {
        zavri(host);
        return;
    }
    socket->setReadBufferSize(0);
}

void NaslouchaniRecepce::zavri(quint64 host)
{
    const auto it = m_spojeni.find(host);
    if (it == m_spojeni.end())
        return;
    Spojeni *spojeni = it->second;
    m_spojeni.erase(it);
    spojeni->socket->disconnect(this);
    spojeni->limit.disconnect(this);
    spojeni->socket->abort();
    spojeni->deleteLater();
}
