#include "web/engine/ExportyWebu.h"

#include "db/DatabaseError.h"
#include "web/engine/CteniExportu.h"
#include "web/engine/DataExportu.h"
#include "web/engine/LogWebu.h"
#include "web/engine/SpojeniSWebem.h"
#include "web/protocol/Exporty.h"
#include "web/protocol/Pozadavek.h"

ExportyWebu::ExportyWebu(SpojeniSWebem &spojeni, const NastaveniWebu &nastaveni, QObject *parent)
    : QObject(parent), m_spojeni(spojeni), m_nastaveni(nastaveni)
{
}

ExportyWebu::~ExportyWebu()
{
    m_cteni.reset();   // while the rest still stands: the worker's last result is dropped
}

void ExportyWebu::ctiVeVlakne(const PristupKDatabazi &pristup)
{
    m_cteni = std::make_unique<CteniExportu>(pristup);
    connect(m_cteni.get(), &CteniExportu::precteno, this, &ExportyWebu::precteno);
}

void ExportyWebu::zaznamenej(bool uspech, const QString &text)
{
    m_posledni.cas = QDateTime::currentDateTime();
    m_posledni.uspech = uspech;
    m_posledni.text = text;
}

void ExportyWebu::ExportTypuPokoju()
{
    QString telo;
    try {
        telo = m_spojeni.teloZacatek() + Exporty::poleTypuPokoju(DataExportu::typyPokoju());
    } catch (const DatabaseError &e) {
        zaznamenej(false, tr("typy pokojů, chyba databáze"));
        emit stavZmenen();
        emit chyba(tr("Typy pokojů se nepodařilo načíst pro export.") + u'\n' + e.text(), true);
        return;
    }
    const QByteArray p = m_spojeni.pozadavek(QStringLiteral("typy_pokoju.php"), telo);
    m_spojeni.vyprazdniOdpoved();
    // Without a connection it is lost, as it always was; the line says so.
    if (m_spojeni.posli(p))
        zaznamenej(true, tr("typy pokojů odeslány"));
    else
        zaznamenej(false, tr("typy pokojů, bez spojení s webem"));
    emit stavZmenen();
}

void ExportyWebu::ExportCenObsazenosti()
{
    m_stav = StavExportuCen::CekaNaSpojeni;
    // What the worker reads now may predate the change this start reports.
    if (m_cte)
        m_znovu = true;
    krok();
}

void ExportyWebu::krok()
{
    if (m_stav != StavExportuCen::CekaNaSpojeni || m_cte)
        return;
    m_spojeni.vyprazdniOdpoved();
    if (!m_spojeni.pozadejSpojeni()) {
        emit stavZmenen();
        return;
    }
    // Read at the moment of sending, so the site gets the data of that moment.
    if (m_cteni) {
        m_cte = true;
        m_znovu = false;
        m_cteni->precti(++m_poradi);
        return;
    }
    try {
        odesli(DataExportu::cenyAObsazenost());
    } catch (const DatabaseError &e) {
        selhaloCteni(e.text());
    }
}

void ExportyWebu::precteno(const PrecteneCeny &vysledek)
{
    if (!m_cte || vysledek.cteni != m_poradi)
        return;
    m_cte = false;
    if (vysledek.bezSpojeni) {
        // Better the window waits for it than the site never gets it.
        qCWarning(logWebu, "prices and occupancy read on the window's thread, the worker has no connection: %s",
                  qPrintable(vysledek.chyba));
        try {
            odesli(DataExportu::cenyAObsazenost());
        } catch (const DatabaseError &e) {
            selhaloCteni(e.text());
        }
        return;
    }
    if (!vysledek.chyba.isEmpty())
        selhaloCteni(vysledek.chyba);
    else
        odesli(vysledek.ceny);
}

void ExportyWebu::odesli(const QList<Exporty::CenaDne> &ceny)
{
    if (!m_spojeni.jePripojeno()) {
        // Lost while reading: read again when it stands.
        krok();
        return;
    }
    const QString telo = m_spojeni.teloZacatek() + Exporty::poleCenAObsazenosti(ceny);
    m_spojeni.posli(m_spojeni.pozadavek(QStringLiteral("ceny_a_obsazenost.php"), telo), SpojeniSWebem::Druh::Export);
    zaznamenej(true, tr("ceny a obsazenost odeslány"));
    if (std::exchange(m_znovu, false)) {
        emit stavZmenen();
        krok();
        return;
    }
    m_stav = StavExportuCen::Nic;
    m_spojeni.hlidej();
    emit stavZmenen();
}

void ExportyWebu::selhaloCteni(const QString &text)
{
    // Ended: every tick would run the failing statement again.
    m_stav = StavExportuCen::Nic;
    m_spojeni.hlidej();
    zaznamenej(false, tr("ceny a obsazenost, chyba databáze"));
    qCWarning(logWebu, "prices and occupancy export: %s", qPrintable(text));
    emit stavZmenen();
    emit chyba(tr("Ceny a obsazenost se nepodařilo načíst pro export.") + u'\n' + text, true);
    // A start during the failed read is an action of its own.
    if (std::exchange(m_znovu, false))
        ExportCenObsazenosti();
}

void ExportyWebu::UlozIPAdresu()
{
    const QString telo = m_spojeni.teloZacatek() + QStringLiteral("&ip_adresa=") + Pozadavek::hodnota(m_nastaveni.lokalniIP);
    const QByteArray p = m_spojeni.pozadavek(QStringLiteral("uloz_ip_adresu.php"), telo);
    m_spojeni.vyprazdniOdpoved();
    m_spojeni.posli(p);
}
