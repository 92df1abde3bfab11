#include "web/engine/ExportyWebu.h"

#include "db/DatabaseError.h"
#include "web/engine/DataExportu.h"
#include "web/engine/LogWebu.h"
#include "web/engine/SpojeniSWebem.h"
#include "web/protocol/Exporty.h"
#include "web/protocol/Pozadavek.h"

ExportyWebu::ExportyWebu(SpojeniSWebem &spojeni, const NastaveniWebu &nastaveni, QObject *parent)
    : QObject(parent), m_spojeni(spojeni), m_nastaveni(nastaveni)
{
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
    krok();
}

void ExportyWebu::krok()
{
    if (m_stav != StavExportuCen::CekaNaSpojeni)
        return;
    m_spojeni.vyprazdniOdpoved();
    if (!m_spojeni.pozadejSpojeni()) {
        emit stavZmenen();
        return;
    }
    // Composed at the moment of sending, so the site gets the data of that moment.
    QString telo;
    try {
        telo = m_spojeni.teloZacatek() + Exporty::poleCenAObsazenosti(DataExportu::cenyAObsazenost());
    } catch (const DatabaseError &e) {
        // Ended: every tick would run the failing statement again.
        m_stav = StavExportuCen::Nic;
        m_spojeni.hlidej();
        zaznamenej(false, tr("ceny a obsazenost, chyba databáze"));
        qCWarning(logWebu, "prices and occupancy export: %s", qPrintable(e.text()));
        emit stavZmenen();
        emit chyba(tr("Ceny a obsazenost se nepodařilo načíst pro export.") + u'\n' + e.text(), true);
        return;
    }
    m_spojeni.posli(m_spojeni.pozadavek(QStringLiteral("ceny_a_obsazenost.php"), telo), SpojeniSWebem::Druh::Export);
    m_stav = StavExportuCen::Nic;
    m_spojeni.hlidej();
    zaznamenej(true, tr("ceny a obsazenost odeslány"));
    emit stavZmenen();
}

void ExportyWebu::UlozIPAdresu()
{
    const QString telo = m_spojeni.teloZacatek() + QStringLiteral("&ip_adresa=") + Pozadavek::hodnota(m_nastaveni.lokalniIP);
    const QByteArray p = m_spojeni.pozadavek(QStringLiteral("uloz_ip_adresu.php"), telo);
    m_spojeni.vyprazdniOdpoved();
    m_spojeni.posli(p);
}
