#include "web/engine/ImportWebu.h"

#include "web/engine/LogWebu.h"
#include "web/engine/SpojeniSWebem.h"
#include "web/engine/UlozeniRezervaci.h"

#include <QDate>
#include <utility>

namespace {
constexpr qsizetype mebibajt = 1024 * 1024;
} // namespace

ImportWebu::ImportWebu(SpojeniSWebem &spojeni, int tik, QObject *parent)
    : QObject(parent), m_spojeni(spojeni), m_tik(tik)
{
}

quint64 ImportWebu::spust(Puvod puvod)
{
    switch (m_stav) {
    case StavImportu::Nic:
        break;
    case StavImportu::PrvniPozadavek:
        // Nothing asked yet: the run about to ask answers this start too.
        if (puvod == Puvod::Recepcni)
            m_puvod = puvod;
        return m_cislo;
    case StavImportu::CekaNaOdpoved:
        if (puvod == Puvod::Recepcni) {
            // The receptionist begins again, as a stuck reply may need.
            opust();
            break;
        }
        [[fallthrough]];
    case StavImportu::OdpovedKOdeslani:
        // A guest may have booked after the request went: a new run follows
        // this one. Outcomes of stored reservations are never abandoned.
        if (!m_dalsi || puvod == Puvod::Recepcni)
            m_dalsi = puvod;
        emit stavZmenen();
        return m_cislo + 1;
    }
    ++m_cislo;
    m_stav = StavImportu::PrvniPozadavek;
    m_puvod = puvod;
    m_opakovani = 0;
    m_varovani.clear();
    m_preruseno.clear();
    krok();
    return m_cislo;
}

void ImportWebu::opust()
{
    // What the site still sends for the abandoned request must not mix with
    // the new reply: the connection goes, the other requests go again.
    m_spojeni.zapomen(SpojeniSWebem::Druh::Import);
    m_spojeni.prerus();
    m_stav = StavImportu::Nic;
}

void ImportWebu::krok()
{
    switch (m_stav) {
    case StavImportu::Nic:
        return;
    case StavImportu::PrvniPozadavek:
        if (!m_spojeni.pozadejSpojeni())
            break;
        m_spojeni.vyprazdniOdpoved();
        m_odpoved = OdpovedWebu();
        m_spojeni.posli(m_spojeni.pozadavek(QStringLiteral("rezervace_na_vitrane.php"), m_spojeni.teloZacatek()),
                        SpojeniSWebem::Druh::Import);
        m_stav = StavImportu::CekaNaOdpoved;
        m_tikyOdpovedi = 0;
        break;
    case StavImportu::CekaNaOdpoved:
        if (!m_odpoved.jeUplna() || !ulozOdpoved())
            return;
        [[fallthrough]];
    case StavImportu::OdpovedKOdeslani:
        if (!m_spojeni.pozadejSpojeni())
            break;
        m_spojeni.posli(m_pozadavekVysledku, SpojeniSWebem::Druh::Vysledek);
        if (m_preruseno.isEmpty())
            ukonci(true, m_varovani, m_souhrn);
        else
            ukonci(false, m_preruseno, m_souhrn);
        return;
    }
    m_spojeni.hlidej();
    emit stavZmenen();
}

QString ImportWebu::zpravaPrilisDlouha() const
{
    return tr("Web poslal odpověď delší než %1 MiB, spojení bylo ukončeno.").arg(OdpovedWebu::limit / mebibajt) + u' '
           + tr("Import rezervací byl ukončen a nic z této odpovědi nebylo uloženo.");
}

void ImportWebu::prijato(qsizetype bajtu, const QString &text)
{
    if (m_stav != StavImportu::CekaNaOdpoved)
        return;
    if (!m_odpoved.pridej(bajtu, text)) {
        // A site that never stops must not fill the desk's memory.
        m_spojeni.zavri();
        ukonci(false, zpravaPrilisDlouha(), tr("odpověď webu je příliš dlouhá"));
        return;
    }
    // The pass stores reservations: not from inside the socket's own signal.
    if (m_odpoved.jeUplna())
        QMetaObject::invokeMethod(this, &ImportWebu::krok, Qt::QueuedConnection);
}

bool ImportWebu::prilisDlouha()
{
    if (m_stav != StavImportu::CekaNaOdpoved)
        return false;
    ukonci(false, zpravaPrilisDlouha(), tr("odpověď webu je příliš dlouhá"));
    return true;
}

bool ImportWebu::tik()
{
    if (m_stav != StavImportu::CekaNaOdpoved || ++m_tikyOdpovedi < maxTikuCekani || m_odpoved.jeUplna())
        return false;
    // What the site may still send must not mix with a later reply.
    m_spojeni.zavri();
    ukonci(false,
           tr("Web ani po %1 s nedokončil odpověď na import rezervací; import byl ukončen "
              "a nic z odpovědi nebylo uloženo.")
               .arg(maxTikuCekani * m_tik / 1000.0),
           tr("web nedokončil odpověď"));
    return true;
}

void ImportWebu::poZtrateSpojeni()
{
    // What went unanswered is waiting to go again already (moved when the connection went).
    if (m_stav != StavImportu::CekaNaOdpoved || m_spojeni.opakuje(SpojeniSWebem::Druh::Import) || m_odpoved.jeUplna())
        return;
    // Part of the reply came and the rest never will. A site closing its
    // end as the request came is asked once more, on a new connection.
    if (m_opakovani++ == 0)
        m_stav = StavImportu::PrvniPozadavek;
    else
        ukonci(false, tr("Web ukončil spojení dřív, než dokončil odpověď na import rezervací; nic z ní nebylo uloženo."),
               tr("web nedokončil odpověď"));
}

bool ImportWebu::ulozOdpoved()
{
    const QDate dnes = QDate::currentDate();
    const RezervaceZWebu rezervace = nactiRezervace(m_odpoved, dnes);
    if (!rezervace.chyba.isEmpty()) {
        ukonci(false,
               tr("Odpověď webu na import rezervací je chybná, import byl ukončen a nic z této odpovědi "
                  "nebylo uloženo.")
                   + u'\n' + rezervace.chyba,
               tr("chybná odpověď webu"));
        return false;
    }
    const ImportRezervaci::Vysledek vysledek = ImportRezervaci::ulozRezervace(rezervace, dnes);
    QStringList souhrn{tr("uloženo %1").arg(vysledek.ulozeno)};
    if (vysledek.znovu > 0)
        souhrn << tr("%1 uloženo už dříve").arg(vysledek.znovu);
    if (vysledek.odmitnuto > 0)
        souhrn << tr("odmítnuto %1").arg(vysledek.odmitnuto);
    if (vysledek.nezodpovezeno > 0)
        souhrn << tr("%1 čeká na webu").arg(vysledek.nezodpovezeno);

    QStringList varovani;
    if (!vysledek.chyby.isEmpty())
        varovani << tr("Některé rezervace z webu nelze uložit; web se dozví, že uloženy nebyly.") + u'\n'
                        + vysledek.chyby.join(u'\n');
    if (!vysledek.varovani.isEmpty())
        varovani << tr("Web nabídl některé rezervace znovu s jinými údaji; každá je uložena nejvýš jednou, "
                       "podle první nabídky.") + u'\n'
                        + vysledek.varovani.join(u'\n');
    m_varovani = varovani.join(u'\n');

    if (!vysledek.preruseno.isEmpty()) {
        // A fault of ours, not of the reservations: what is not stored stays
        // unanswered, so that the site offers it again.
        const QString proc = tr("Ukládání rezervací z webu se přerušilo: %1. Uloženo je %2, %3 rezervací zůstává "
                                "na webu a příští import je uloží.")
                                 .arg(vysledek.preruseno, QString::number(vysledek.ulozeno),
                                      QString::number(vysledek.nezodpovezeno));
        m_preruseno = m_varovani.isEmpty() ? proc : proc + u'\n' + m_varovani;
        m_souhrn = tr("chyba databáze, ") + souhrn.join(QStringLiteral(", "));
        if (!vysledek.maOdpoved()) {
            ukonci(false, m_preruseno, m_souhrn);
            return false;
        }
    } else {
        m_souhrn = souhrn.join(QStringLiteral(", "));
    }
    m_vysledek = vysledek.odpoved;
    m_pozadavekVysledku = m_spojeni.pozadavek(QStringLiteral("rezervace_na_vitrane2.php"),
                                              m_spojeni.teloZacatek() + u'&' + vysledek.odpoved);
    m_stav = StavImportu::OdpovedKOdeslani;
    // Reconnects if the address was changed meanwhile.
    if (m_spojeni.jePripojeno())
        m_spojeni.Pripoj();
    return true;
}

void ImportWebu::ukonci(bool uspech, const QString &zprava, const QString &kratce)
{
    const quint64 cislo = m_cislo;
    const bool odRecepcniho = m_puvod == Puvod::Recepcni;
    m_stav = StavImportu::Nic;
    m_spojeni.zapomen(SpojeniSWebem::Druh::Import);
    m_posledni.cas = QDateTime::currentDateTime();
    m_posledni.uspech = uspech;
    m_posledni.text = kratce;
    if (uspech)
        qCInfo(logWebu, "reservation import: %s", qPrintable(kratce));
    if (!zprava.isEmpty())
        qCWarning(logWebu, "reservation import: %s", qPrintable(QString(zprava).replace(u'\n', u' ')));

    emit skoncil(cislo, uspech ? std::optional<QString>(m_vysledek) : std::nullopt);
    if (m_dalsi) {
        // Not from inside a socket's signal, which may have brought us here.
        const Puvod puvod = *std::exchange(m_dalsi, std::nullopt);
        QMetaObject::invokeMethod(this, [this, puvod] { spust(puvod); }, Qt::QueuedConnection);
    }
    m_spojeni.hlidej();
    emit stavZmenen();
    // Last: a box shown from here runs an event loop of its own.
    if (!zprava.isEmpty())
        emit chyba(zprava, odRecepcniho);
}
