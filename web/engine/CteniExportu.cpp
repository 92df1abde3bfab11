#include "web/engine/CteniExportu.h"

#include "db/DatabaseError.h"
#include "db/SqlSpojeni.h"
#include "db/SqlWeb.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "web/engine/DataExportu.h"
#include "web/engine/LogWebu.h"

#include <QDeadlineTimer>

CteniExportu::CteniExportu(const PristupKDatabazi &pristup, QObject *parent)
    : QThread(parent), m_pristup(pristup)
{
    setObjectName(QStringLiteral("CteniExportu"));
}

CteniExportu::~CteniExportu()
{
    {
        const std::lock_guard lock(m_mutex);
        m_konec = true;
    }
    m_podminka.notify_all();
    // A statement may wait for tables another desk holds; the server ends it
    // on request. A connect cannot be ended, its own bound limits it.
    QDeadlineTimer limit(qint64(m_pristup.config.timeoutSeconds + 2) * 1000);
    while (!wait(QDeadlineTimer(100))) {
        qint64 id = 0;
        {
            const std::lock_guard lock(m_mutex);
            id = m_idSpojeni;
        }
        if (id != 0) {
            try {
                TMojeQuery q;
                q.exec(SqlWeb::stopStatement(id));
            } catch (const DatabaseError &e) {
                qCWarning(logWebu, "prices and occupancy read not stopped: %s", qPrintable(e.text()));
            }
        }
        if (limit.hasExpired()) {
            // Better a thread left to its bound than a desk that never closes.
            qCWarning(logWebu, "prices and occupancy read still running at shutdown");
            terminate();
            wait();
            break;
        }
    }
}

void CteniExportu::precti(quint64 cteni)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pozadavek = cteni;
    }
    m_podminka.notify_all();
    if (!isRunning())
        start();
}

void CteniExportu::run()
{
    std::unique_ptr<TMojeDatabaze> databaze;
    for (;;) {
        quint64 cteni = 0;
        {
            std::unique_lock lock(m_mutex);
            m_podminka.wait(lock, [this] { return m_konec || m_pozadavek != 0; });
            if (m_konec)
                break;
            cteni = std::exchange(m_pozadavek, 0);
        }
        const PrecteneCeny vysledek = cti(cteni, databaze);
        {
            const std::lock_guard lock(m_mutex);
            m_idSpojeni = 0;
            if (m_konec)
                break;
        }
        emit precteno(vysledek);
    }
    databaze.reset();   // closed on the thread that opened it
}

PrecteneCeny CteniExportu::cti(quint64 cteni, std::unique_ptr<TMojeDatabaze> &databaze)
{
    PrecteneCeny vysledek;
    vysledek.cteni = cteni;
    try {
        if (!databaze || !databaze->isOpen()) {
            databaze.reset();
            auto nova = std::make_unique<TMojeDatabaze>(m_pristup.config);
            nova->open(m_pristup.user, m_pristup.password);
            databaze = std::move(nova);
        }
        // Asked every time: a reconnect gives the connection another id.
        TMojeQuery q(*databaze);
        q.setSql(SqlSpojeni::selectConnectionId());
        q.open();
        {
            const std::lock_guard lock(m_mutex);
            m_idSpojeni = q.text(QStringLiteral("id")).toLongLong();
        }
        vysledek.ceny = DataExportu::cenyAObsazenost(*databaze);
    } catch (const DatabaseError &e) {
        vysledek.chyba = e.text();
        vysledek.bezSpojeni = !databaze || e.kind() == DatabaseError::Kind::ConnectionLost;
    }
    return vysledek;
}
