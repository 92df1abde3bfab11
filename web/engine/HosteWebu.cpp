#include "web/engine/HosteWebu.h"

#include "web/engine/NaslouchaniRecepce.h"
#include "web/protocol/Presmerovani.h"

HosteWebu::HosteWebu(quint16 listenPort, const CasovaniWebu &casovani, int maxTikuCekani, QObject *parent)
    : QObject(parent), m_cekani(qint64(maxTikuCekani) * casovani.cekaniNaImport)
{
    CekaniNaImportRezervaciTimer.setObjectName(QStringLiteral("CekaniNaImportRezervaciTimer"));
    CekaniNaImportRezervaciTimer.setInterval(casovani.cekaniNaImport);
    connect(&CekaniNaImportRezervaciTimer, &QTimer::timeout, this, &HosteWebu::CekaniNaImportRezervaciTimerTimer);

    // Another desk on this machine may hold the port: the rest works without the listener.
    m_naslouchani = new NaslouchaniRecepce(casovani.neuplnyPozadavek, casovani.odpojeni, this);
    m_naslouchani->naslouchej(listenPort);
}

HosteWebu::~HosteWebu()
{
    // Its sockets close as they go: before the queue they might answer from.
    delete m_naslouchani;
}

void HosteWebu::pridej(quint64 host, const PozadavekHosta &pozadavek, quint64 import)
{
    m_hoste.append({host, pozadavek.cislo_rezervace, pozadavek.skript_zpet, pozadavek.vzhled_stranek, import,
                    QDeadlineTimer(m_cekani)});
    if (!CekaniNaImportRezervaciTimer.isActive())
        CekaniNaImportRezervaciTimer.start();
}

void HosteWebu::CekaniNaImportRezervaciTimerTimer()
{
    // Each guest waits for at most its own 20 ticks' time.
    QList<CekajiciHost> odchazi;
    for (auto it = m_hoste.begin(); it != m_hoste.end();) {
        if (!it->konec.hasExpired()) {
            ++it;
            continue;
        }
        odchazi << *it;
        it = m_hoste.erase(it);
    }
    for (const CekajiciHost &h : odchazi)
        odpovezHostovi(h, QStringLiteral("chyba=1"));
    if (m_hoste.isEmpty())
        CekaniNaImportRezervaciTimer.stop();
    emit stavZmenen();
}

void HosteWebu::odpovez(quint64 import, const std::optional<QString> &vysledek)
{
    QList<CekajiciHost> hotovi;
    m_hoste.removeIf([&](const CekajiciHost &h) {
        if (h.import > import)
            return false;
        hotovi << h;
        return true;
    });
    for (const CekajiciHost &h : hotovi)
        odpovezHostovi(h, vysledek.value_or(QStringLiteral("chyba=1")));
    if (m_hoste.isEmpty())
        CekaniNaImportRezervaciTimer.stop();
}

void HosteWebu::odpovezHostovi(const CekajiciHost &host, const QString &dotaz)
{
    const QString q = dotaz + QStringLiteral("&cislo_rezervace=") + host.cislo_rezervace
                      + QStringLiteral("&vzhled_stranek=") + host.vzhled_stranek;
    m_naslouchani->odpovez(host.host, Presmerovani::OdpovedPresmerovani(host.skript_zpet, q));
}
