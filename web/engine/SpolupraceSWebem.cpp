#include "web/engine/SpolupraceSWebem.h"

#include "web/engine/ExportyWebu.h"
#include "web/engine/HosteWebu.h"
#include "web/engine/ImportWebu.h"
#include "web/engine/LogWebu.h"
#include "web/engine/NaslouchaniRecepce.h"
#include "web/engine/SpojeniSWebem.h"
#include "web/protocol/OdpovedWebu.h"

Q_LOGGING_CATEGORY(logWebu, "vitrana.web")

static_assert(SpolupraceSWebem::maxTikuCekani == ImportWebu::maxTikuCekani);

SpolupraceSWebem::SpolupraceSWebem(quint16 listenPort, const CasovaniWebu &casovani, QObject *parent)
    : QObject(parent), m_pozadovanyPort(listenPort)
{
    m_spojeni = new SpojeniSWebem(m_nastaveni, casovani.pripojeno, this);
    m_exporty = new ExportyWebu(*m_spojeni, m_nastaveni, this);
    m_import = new ImportWebu(*m_spojeni, casovani.pripojeno, this);
    m_hoste = new HosteWebu(listenPort, casovani, maxTikuCekani, this);
    m_spojeni->setCeka([this] { return m_exporty->ceka() || m_import->ceka(); });

    connect(m_spojeni, &SpojeniSWebem::pripojeniZmeneno, this, &SpolupraceSWebem::pripojeniZmeneno);
    connect(m_spojeni, &SpojeniSWebem::odpovedVyprazdnena, this, &SpolupraceSWebem::odpovedVyprazdnena);
    connect(m_spojeni, &SpojeniSWebem::odpovedPrijata, this, &SpolupraceSWebem::odpovedPrijata);
    connect(m_spojeni, &SpojeniSWebem::navazano, this, &SpolupraceSWebem::poSpojeni);
    connect(m_spojeni, &SpojeniSWebem::ztraceno, this, &SpolupraceSWebem::poZtrateSpojeni);
    connect(m_spojeni, &SpojeniSWebem::tikPripojeno, this, &SpolupraceSWebem::tikPripojeno);
    connect(m_spojeni, &SpojeniSWebem::tikHotov, this, &SpolupraceSWebem::tikHlidace);
    connect(m_spojeni, &SpojeniSWebem::prijato, m_import, &ImportWebu::prijato);
    connect(m_spojeni, &SpojeniSWebem::prilisDlouha, this, &SpolupraceSWebem::prilisDlouha);

    connect(m_exporty, &ExportyWebu::stavZmenen, this, &SpolupraceSWebem::stavZmenen);
    connect(m_exporty, &ExportyWebu::chyba, this, &SpolupraceSWebem::chyba);
    connect(m_import, &ImportWebu::stavZmenen, this, &SpolupraceSWebem::stavZmenen);
    connect(m_import, &ImportWebu::chyba, this, &SpolupraceSWebem::chyba);
    connect(m_import, &ImportWebu::skoncil, m_hoste, &HosteWebu::odpovez);
    connect(m_hoste, &HosteWebu::stavZmenen, this, &SpolupraceSWebem::stavZmenen);

    // A guest forwarded by the site waits for the run that answers it.
    connect(&m_hoste->naslouchani(), &NaslouchaniRecepce::pozadavek, this,
            [this](quint64 host, const PozadavekHosta &pozadavek) {
                const quint64 import = m_import->spust(ImportWebu::Puvod::Host);
                m_hoste->pridej(host, pozadavek, import);
                emit stavZmenen();
            });
}

SpolupraceSWebem::~SpolupraceSWebem()
{
    // The guests' sockets close first, as they go; then the site's connection.
    delete m_hoste;
    delete m_spojeni;
}

quint16 SpolupraceSWebem::portNaslouchani() const
{
    return m_hoste->naslouchani().port();
}

QString SpolupraceSWebem::chybaNaslouchani() const
{
    return m_hoste->naslouchani().chyba();
}

bool SpolupraceSWebem::portObsazen() const
{
    return m_hoste->naslouchani().obsazen();
}

StavExportuCen SpolupraceSWebem::stavExportuCen() const
{
    return m_exporty->stav();
}

StavImportu SpolupraceSWebem::stavImportu() const
{
    return m_import->stav();
}

const QString &SpolupraceSWebem::vysledekImportu() const
{
    return m_import->vysledek();
}

const QString &SpolupraceSWebem::odpovedServeru() const
{
    return m_spojeni->odpoved();
}

QString SpolupraceSWebem::konecOdpovedi() const
{
    // A box of megabytes would cost the window more than anyone reads.
    const QString &cela = m_spojeni->odpoved();
    if (cela.size() <= konecOdpovediZnaku)
        return cela;
    QStringView konec = QStringView(cela).right(konecOdpovediZnaku);
    const qsizetype radek = konec.indexOf(u'\n');
    if (radek >= 0)
        konec = konec.mid(radek + 1);
    else if (konec.front().isLowSurrogate())
        konec = konec.mid(1);
    return konec.toString();
}

const PosledniAkce &SpolupraceSWebem::posledniExport() const
{
    return m_exporty->posledni();
}

const PosledniAkce &SpolupraceSWebem::posledniImport() const
{
    return m_import->posledni();
}

int SpolupraceSWebem::cekajicichHostu() const
{
    return m_hoste->pocet();
}

bool SpolupraceSWebem::hlidaSpojeni() const
{
    return m_spojeni->hlida();
}

bool SpolupraceSWebem::jePripojeno() const
{
    return m_spojeni->jePripojeno();
}

QStringList SpolupraceSWebem::cekani() const
{
    QStringList lines;
    if (stavExportuCen() == StavExportuCen::CekaNaSpojeni)
        lines << tr("Export cen a obsazenosti čeká na spojení se serverem, na webu ještě není.");
    const StavImportu importu = stavImportu();
    if (importu == StavImportu::PrvniPozadavek || (importu == StavImportu::OdpovedKOdeslani && !jePripojeno()))
        lines << tr("Import rezervací čeká na spojení se serverem.");
    else if (importu == StavImportu::CekaNaOdpoved)
        lines << tr("Import rezervací čeká na odpověď serveru.");
    if (cekajicichHostu() > 0)
        lines << tr("Hosté z webu čekající na výsledek importu: %1").arg(cekajicichHostu());
    return lines;
}

void SpolupraceSWebem::Pripoj()
{
    m_spojeni->Pripoj();
}

void SpolupraceSWebem::ctiExportyVeVlakne(const PristupKDatabazi &pristup)
{
    m_exporty->ctiVeVlakne(pristup);
}

void SpolupraceSWebem::ExportTypuPokoju()
{
    m_exporty->ExportTypuPokoju();
}

void SpolupraceSWebem::ExportCenObsazenosti()
{
    m_exporty->ExportCenObsazenosti();
}

void SpolupraceSWebem::ImportRezervaci()
{
    m_import->spust(ImportWebu::Puvod::Recepcni);
}

void SpolupraceSWebem::UlozIPAdresu()
{
    m_exporty->UlozIPAdresu();
}

void SpolupraceSWebem::hlidej()
{
    m_spojeni->hlidej();
}

void SpolupraceSWebem::poSpojeni()
{
    if (!m_spojeni->jePripojeno())
        return;
    m_spojeni->posliOpakovane();
    m_import->krok();
    m_exporty->krok();
    hlidej();
}

void SpolupraceSWebem::poZtrateSpojeni(bool bylNavazan)
{
    m_import->poZtrateSpojeni();
    hlidej();
    m_spojeni->obnov(bylNavazan);
}

void SpolupraceSWebem::tikPripojeno()
{
    // A reply that never completes ends the import; otherwise whatever waits goes.
    if (!m_import->tik())
        poSpojeni();
}

void SpolupraceSWebem::prilisDlouha()
{
    if (m_import->prilisDlouha())
        return;
    qCWarning(logWebu, "%s",
              qPrintable(tr("Web poslal odpověď delší než %1 MiB, spojení bylo ukončeno.")
                             .arg(OdpovedWebu::limit / (1024 * 1024))));
    hlidej();
}
