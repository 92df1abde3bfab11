#pragma once

#include "web/engine/TypyWebu.h"

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class NaslouchaniRecepce;
struct PozadavekHosta;

/**
 * Guests whom the site forwarded to the desk: each waits for the import run
 * that answers it, at most its own deadline, and is then sent back to the
 * site with the outcome. The listener that takes them is owned here.
 */
class HosteWebu : public QObject
{
    Q_OBJECT
public:
    /** Listens on the port at once (0: any free port). */
    HosteWebu(quint16 listenPort, const CasovaniWebu &casovani, int maxTikuCekani, QObject *parent = nullptr);
    ~HosteWebu() override;

    NaslouchaniRecepce &naslouchani() const { return *m_naslouchani; }
    /** The guest waits for import run `import`. */
    void pridej(quint64 host, const PozadavekHosta &pozadavek, quint64 import);
    /** Run `import` ended: its guests and those of earlier runs get its answer, or an error. */
    void odpovez(quint64 import, const std::optional<QString> &vysledek);
    int pocet() const { return int(m_hoste.size()); }

signals:
    /** A guest's wait ran out. */
    void stavZmenen();

private:
    struct CekajiciHost
    {
        quint64 host;
        QString cislo_rezervace, skript_zpet, vzhled_stranek;
        quint64 import = 0;   // the first import run whose result answers it
        // By the clock, not by counted ticks: ticks missed while the desk
        // waited for the database do not come again.
        QDeadlineTimer konec;
    };

    void CekaniNaImportRezervaciTimerTimer();
    void odpovezHostovi(const CekajiciHost &host, const QString &dotaz);

    qint64 m_cekani;   // how long a guest waits at most, in ms
    NaslouchaniRecepce *m_naslouchani = nullptr;
    QTimer CekaniNaImportRezervaciTimer;
    QList<CekajiciHost> m_hoste;
};
