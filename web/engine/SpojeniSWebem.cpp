#include "web/engine/SpojeniSWebem.h"

#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

#include <QTcpSocket>
#include <utility>

SpojeniSWebem::SpojeniSWebem(const NastaveniWebu &nastaveni, int tik, QObject *parent)
    : QObject(parent), m_nastaveni(nastaveni), m_tik(tik)
{
    m_socket = new QTcpSocket(this);
    m_socket->setObjectName(QStringLiteral("ClientSocket"));
    connect(m_socket, &QTcpSocket::readyRead, this, &SpojeniSWebem::ClientSocketRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &SpojeniSWebem::ClientSocketError);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_navazano = true;
        m_pokus.invalidate();
        // Whatever waits for the connection goes now, not at the next tick.
        QMetaObject::invokeMethod(this, &SpojeniSWebem::navazano, Qt::QueuedConnection);
    });
    connect(m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        const bool pripojeno = state == QAbstractSocket::ConnectedState;
        if (pripojeno != m_pripojeno) {
            m_pripojeno = pripojeno;
            emit pripojeniZmeneno(pripojeno);
        }
    });

    m_hlidac.setObjectName(QStringLiteral("PripojenoTimer"));
    m_hlidac.setInterval(m_tik);
    connect(&m_hlidac, &QTimer::timeout, this, &SpojeniSWebem::PripojenoTimerTimer);
}

SpojeniSWebem::~SpojeniSWebem()
{
    // The socket closes as it goes: its signals must not come back here.
    m_socket->disconnect(this);
}

bool SpojeniSWebem::jePripojeno() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void SpojeniSWebem::Pripoj()
{
    const QString adresa = m_nastaveni.adresa;
    if (jePripojeno() && adresa == m_pripojenaAdresa)
        return;
    if (m_socket->state() != QAbstractSocket::UnconnectedState) {
        const bool bylNavazan = m_navazano && jePripojeno();
        m_socket->abort();
        m_navazano = false;
        if (bylNavazan) {
            // What went unanswered goes again to the new address.
            m_kOpakovani += std::exchange(m_bezOdpovedi, {});
            QMetaObject::invokeMethod(this, [this] { emit ztraceno(false); }, Qt::QueuedConnection);
        }
    }
    m_pripojenaAdresa = adresa;
    const Pozadavek::CilServeru cil = Pozadavek::rozeberAdresu(adresa);
    if (!cil.platny)
        return;
    m_pokus.start();
    m_socket->connectToHost(cil.host, cil.port);
}

bool SpojeniSWebem::pozadejSpojeni()
{
    if (jePripojeno())
        return true;
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        Pripoj();
    if (!m_hlidac.isActive())
        m_hlidac.start();
    return false;
}

void SpojeniSWebem::ClientSocketRead()
{
    const QByteArray data = m_socket->readAll();
    const QString text = Pozadavek::zCp1250(data);
    m_bezOdpovedi.clear();
    if (m_odpovedBajtu + data.size() > OdpovedWebu::limit) {
        // A site that never stops must not fill the desk's memory.
        zavri();
        emit prilisDlouha();
        return;
    }
    const quint64 preruseni = m_preruseni;
    emit prijato(data.size(), text);
    if (m_preruseni != preruseni)
        return;
    m_odpovedBajtu += data.size();
    m_odpoved += text;
    emit odpovedPrijata(text);
}

void SpojeniSWebem::ClientSocketError()
{
    // Silent: the connection is closed; what waits gets a new one.
    const bool bylNavazan = m_navazano;
    m_navazano = false;
    m_socket->abort();
    m_kOpakovani += std::exchange(m_bezOdpovedi, {});
    hlidej();
    QMetaObject::invokeMethod(this, [this, bylNavazan] { emit ztraceno(bylNavazan); }, Qt::QueuedConnection);
}

void SpojeniSWebem::obnov(bool bylNavazan)
{
    // A connection the site closed is made again at once; a refused one at the next tick.
    if (bylNavazan && m_hlidac.isActive() && m_socket->state() == QAbstractSocket::UnconnectedState)
        Pripoj();
}

void SpojeniSWebem::PripojenoTimerTimer()
{
    if (!jePripojeno()) {
        // An attempt gets one tick; then a new one replaces it.
        if (m_socket->state() == QAbstractSocket::UnconnectedState || !m_pokus.isValid() || m_pokus.elapsed() >= m_tik)
            Pripoj();
    } else {
        emit tikPripojeno();
    }
    emit tikHotov();
}

bool SpojeniSWebem::posli(const QByteArray &pozadavek, std::optional<Druh> druh)
{
    // The socket buffers all of it and writes on as the server takes it.
    if (!jePripojeno())
        return false;
    m_socket->write(pozadavek);
    if (druh)
        m_bezOdpovedi.append({*druh, pozadavek});
    return true;
}

void SpojeniSWebem::posliOpakovane()
{
    for (const Odeslany &o : std::exchange(m_kOpakovani, {}))
        m_socket->write(o.bajty);
}

void SpojeniSWebem::zapomen(Druh druh)
{
    const auto ofKind = [druh](const Odeslany &o) { return o.druh == druh; };
    m_bezOdpovedi.removeIf(ofKind);
    m_kOpakovani.removeIf(ofKind);
}

bool SpojeniSWebem::opakuje(Druh druh) const
{
    return std::any_of(m_kOpakovani.cbegin(), m_kOpakovani.cend(), [druh](const Odeslany &o) { return o.druh == druh; });
}

void SpojeniSWebem::zavri()
{
    ++m_preruseni;
    m_socket->abort();
    m_navazano = false;
}

void SpojeniSWebem::prerus()
{
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        return;
    zavri();
    m_kOpakovani += std::exchange(m_bezOdpovedi, {});
}

void SpojeniSWebem::hlidej()
{
    // One watchdog for every operation: it stops only when none waits.
    const bool ceka = (m_ceka && m_ceka()) || !m_kOpakovani.isEmpty();
    if (ceka && !m_hlidac.isActive())
        m_hlidac.start();
    else if (!ceka)
        m_hlidac.stop();
}

void SpojeniSWebem::vyprazdniOdpoved()
{
    m_odpoved.clear();
    m_odpovedBajtu = 0;
    emit odpovedVyprazdnena();
}

QString SpojeniSWebem::teloZacatek() const
{
    return Pozadavek::spolecnyZacatek(m_nastaveni.id, m_nastaveni.heslo);
}

QByteArray SpojeniSWebem::pozadavek(const QString &skript, const QString &telo) const
{
    return Pozadavek::SestavPozadavek(m_nastaveni.adresar, m_nastaveni.adresa, skript, telo);
}
