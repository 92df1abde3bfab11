#include "web/engine/NaslouchaniRecepce.h"
#include "web/engine/LogWebu.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <sys/resource.h>
#include <sys/socket.h>

namespace {
// Every guest holds a descriptor, and so does each one the desk itself
// opens: the usual soft limit of 1,024 would turn a burst away before the
// table is full. The hard limit is the system's; it is only raised to.
void uvolniPopisovace()
{
    static const bool hotovo = [] {
        rlimit r{};
        if (getrlimit(RLIMIT_NOFILE, &r) != 0)
            return false;
        const rlim_t chci = std::min<rlim_t>(r.rlim_max, 4 * NaslouchaniRecepce::maxSpojeni);
        if (r.rlim_cur == RLIM_INFINITY || r.rlim_cur >= chci)
            return true;
        r.rlim_cur = chci;
        return setrlimit(RLIMIT_NOFILE, &r) == 0;
    }();
    Q_UNUSED(hotovo);
}
} // namespace

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
    QElapsedTimer od;   // since it connected, or since its answer
    QTimer limit;   // reading: until the request must be complete; answered: until the browser must have closed
};

NaslouchaniRecepce::NaslouchaniRecepce(int lhuta, int odpojeni, QObject *parent)
    : QObject(parent), m_lhuta(lhuta), m_odpojeni(odpojeni), m_server(new QTcpServer(this))
{
    m_server->setObjectName(QStringLiteral("ServerSocket"));
    uvolniPopisovace();
    // A burst of guests waits in the system's queue, not refused by it
    // (the system cuts the backlog to its somaxconn).
    m_server->setListenBacklogSize(4096);
    m_server->setMaxPendingConnections(4096);
    connect(m_server, &QTcpServer::newConnection, this, &NaslouchaniRecepce::ServerSocketClientConnect);
    m_znovu.setSingleShot(true);
    m_znovu.setInterval(sance);
    connect(&m_znovu, &QTimer::timeout, this, &NaslouchaniRecepce::ServerSocketClientConnect);
    // Out of descriptors: the server stops taking connections; it takes
    // them again when one of its own closes.
    connect(m_server, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError) {
        if (const qint64 n = m_zdrzena.zapocti())
            qCWarning(logWebu, "%lld times guests' connections left waiting in the system's queue: %s", n,
                      qPrintable(m_server->errorString()));
        m_server->pauseAccepting();
        m_pozastaveno = true;
    });
}

NaslouchaniRecepce::~NaslouchaniRecepce()
{
    // The sockets close as they go: their signals must not come back here.
    for (const auto &[id, spojeni] : m_spojeni)
        spojeni->socket->disconnect(this);
    for (QTcpSocket *socket : m_fronta)
        socket->abort();
}

bool NaslouchaniRecepce::naslouchej(quint16 port)
{
    m_obsazen = false;
    if (m_server->listen(QHostAddress::Any, port)) {
        m_chyba.clear();
        return true;
    }
    // Never shared (no SO_REUSEPORT): guests must not be split between two desks.
    m_obsazen = m_server->serverError() == QAbstractSocket::AddressInUseError;
    m_chyba = m_obsazen ? tr("port je obsazen, nejspíš jinou spuštěnou Vitranou na tomto počítači") : m_server->errorString();
    qCWarning(logWebu, "%s",
              qPrintable(m_obsazen ? tr("Port %1 je obsazen, nejspíš jinou spuštěnou Vitranou na tomto počítači: hosté "
                                      "přesměrovaní z webu přijdou tam, ne sem.")
                                       .arg(port)
                                 : tr("Na portu %1 nelze přijímat hosty přesměrované z webu: %2").arg(port).arg(m_chyba)));
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

std::optional<quint64> NaslouchaniRecepce::ustoupi(const std::vector<UdajSpojeni> &spojeni, const QByteArray &adresa,
                                                   int mist)
{
    const auto nejstarsi = [&](auto podminka) -> std::optional<quint64> {
        for (const UdajSpojeni &s : spojeni)
            if (podminka(s))
                return s.id;
        return std::nullopt;
    };
    const auto zdrzuje = [&](const UdajSpojeni &s) { return s.adresa == adresa && s.stav != Stav::Ceka && !s.cerstve; };
    if (std::count_if(spojeni.cbegin(), spojeni.cend(), zdrzuje) >= maxRozpracovanychZAdresy) {
        if (const auto id = nejstarsi([&](const UdajSpojeni &s) { return zdrzuje(s) && s.stav == Stav::Odchazi; }))
            return id;
        return nejstarsi([&](const UdajSpojeni &s) { return zdrzuje(s) && s.stav == Stav::Cte; });
    }
    if (spojeni.size() < std::size_t(mist))
        return 0;
    if (const auto id = nejstarsi([](const UdajSpojeni &s) { return s.stav == Stav::Odchazi && !s.cerstve; }))
        return id;
    std::map<QByteArray, int> rozpracovane;
    int nejvic = 0;
    for (const UdajSpojeni &s : spojeni)
        if (s.stav == Stav::Cte && !s.cerstve)
            nejvic = std::max(nejvic, ++rozpracovane[s.adresa]);
    if (nejvic == 0)
        return std::nullopt;
    return nejstarsi([&](const UdajSpojeni &s) {
        return s.stav == Stav::Cte && !s.cerstve && rozpracovane[s.adresa] == nejvic;
    });
}

qint64 NaslouchaniRecepce::Pocitadlo::zapocti()
{
    ++pocet;
    if (posledni.isValid() && posledni.elapsed() < 10000)
        return 0;
    posledni.start();
    return std::exchange(pocet, 0);
}

int NaslouchaniRecepce::pocetPomalych() const
{
    return int(std::count_if(m_spojeni.cbegin(), m_spojeni.cend(), [](const auto &s) {
        return s.second->stav == Stav::Cte && s.second->od.hasExpired(sance);
    }));
}

void NaslouchaniRecepce::ServerSocketClientConnect()
{
    // The queue keeps the order of arrival: while it waits, so do the newer ones.
    while (!m_fronta.empty()) {
        if (!prijmi(m_fronta.front()))
            return;
        m_fronta.pop_front();
    }
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        if (prijmi(socket))
            continue;
        // Unread, it holds at most a byte here; the system keeps the rest.
        socket->setReadBufferSize(1);
        m_fronta.push_back(socket);
        // By then every connection in the way is past its chance, or gone.
        m_znovu.start();
        if (const qint64 n = m_zdrzena.zapocti())
            qCWarning(logWebu, "%lld guests' connections wait: %d places are taken", n, m_mist);
        return;
    }
}

bool NaslouchaniRecepce::prijmi(QTcpSocket *socket)
{
    const QByteArray adresa = klicAdresy(socket->peerAddress());
    const auto cerstve = [](const Spojeni &s) { return s.stav != Stav::Ceka && !s.od.hasExpired(sance); };
    // Nothing to choose while the address and the table have room: one
    // plain count, as ustoupi would count.
    const auto zAdresy = [&] {
        return std::count_if(m_spojeni.cbegin(), m_spojeni.cend(), [&](const auto &s) {
            return s.second->stav != Stav::Ceka && !cerstve(*s.second) && s.second->adresa == adresa;
        });
    };
    if (m_spojeni.size() >= std::size_t(m_mist) || zAdresy() >= maxRozpracovanychZAdresy) {
        for (;;) {
            std::vector<UdajSpojeni> udaje;
            udaje.reserve(m_spojeni.size());
            for (const auto &[id, s] : m_spojeni)
                udaje.push_back({id, s->adresa, s->stav, cerstve(*s)});
            const std::optional<quint64> misto = ustoupi(udaje, adresa, m_mist);
            if (!misto)
                return false;
            if (*misto == 0)
                break;
            // An address over its limit gives up all it holds above it.
            if (const qint64 n = m_vyrazena.zapocti())
                qCWarning(logWebu, "%lld connections without a complete request closed to make room for newer ones", n);
            zavri(*misto);
        }
    }
    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->deleteLater();   // gone while it waited
        return true;
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
    spojeni->od.start();
    socket->setReadBufferSize(0);
    // What came while it waited to be taken was announced to nobody.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, [this, id] { ServerSocketClientRead(id); }, Qt::QueuedConnection);
    return true;
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
    spojeni->od.start();
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
    uvolneno();
}

void NaslouchaniRecepce::uvolneno()
{
    if (m_prijimani || (m_fronta.empty() && !m_pozastaveno && !m_server->hasPendingConnections()))
        return;
    m_prijimani = true;
    // Not from within zavri: its callers go on with their own work.
    QMetaObject::invokeMethod(this, [this] {
        m_prijimani = false;
        if (std::exchange(m_pozastaveno, false))
            m_server->resumeAccepting();
        ServerSocketClientConnect();
    }, Qt::QueuedConnection);
}
