#include "web/engine/SpolupraceSWebem.h"

#include "db/DatabaseError.h"
#include "web/engine/LogWebu.h"
#include "web/engine/NaslouchaniRecepce.h"
#include "web/protocol/Exporty.h"
#include "web/protocol/ImportRezervaci.h"
#include "web/protocol/Pozadavek.h"
#include "web/protocol/Presmerovani.h"

#include <QTcpSocket>
#include <utility>

Q_LOGGING_CATEGORY(logWebu, "vitrana.web")

namespace {
constexpr qsizetype mebibajt = 1024 * 1024;

} // namespace

SpolupraceSWebem::SpolupraceSWebem(quint16 listenPort, const CasovaniWebu &casovani, QObject *parent)
    : QObject(parent), m_casovani(casovani), m_pozadovanyPort(listenPort)
{
    m_socket = new QTcpSocket(this);
    m_socket->setObjectName(QStringLiteral("ClientSocket"));
    connect(m_socket, &QTcpSocket::readyRead, this, &SpolupraceSWebem::ClientSocketRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &SpolupraceSWebem::ClientSocketError);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_navazano = true;
        m_pokus.invalidate();
        // Whatever waits for the connection goes now, not at the next tick.
        QMetaObject::invokeMethod(this, &SpolupraceSWebem::poSpojeni, Qt::QueuedConnection);
    });
    connect(m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        const bool pripojeno = state == QAbstractSocket::ConnectedState;
        if (pripojeno != m_pripojeno) {
            m_pripojeno = pripojeno;
            emit pripojeniZmeneno(pripojeno);
        }
    });

    PripojenoTimer.setObjectName(QStringLiteral("PripojenoTimer"));
    PripojenoTimer.setInterval(m_casovani.pripojeno);
    connect(&PripojenoTimer, &QTimer::timeout, this, &SpolupraceSWebem::PripojenoTimerTimer);
    CekaniNaImportRezervaciTimer.setObjectName(QStringLiteral("CekaniNaImportRezervaciTimer"));
    CekaniNaImportRezervaciTimer.setInterval(m_casovani.cekaniNaImport);
    connect(&CekaniNaImportRezervaciTimer, &QTimer::timeout, this, &SpolupraceSWebem::CekaniNaImportRezervaciTimerTimer);

    // Another desk on this machine may hold the port: the rest works without the listener.
    m_naslouchani = new NaslouchaniRecepce(m_casovani.neuplnyPozadavek, m_casovani.odpojeni, this);
    connect(m_naslouchani, &NaslouchaniRecepce::pozadavek, this, &SpolupraceSWebem::pozadavekHosta);
    m_naslouchani->naslouchej(listenPort);
}

SpolupraceSWebem::~SpolupraceSWebem()
{
    // The sockets close as they go: their signals must not come back here.
    m_socket->disconnect(this);
    delete m_naslouchani;
}

quint16 SpolupraceSWebem::portNaslouchani() const
{
    return m_naslouchani->port();
}

QString SpolupraceSWebem::chybaNaslouchani() const
{
    return m_naslouchani->chyba();
}

QStringList SpolupraceSWebem::cekani() const
{
    QStringList lines;
    if (m_stavExportuCen == StavExportuCen::CekaNaSpojeni)
        lines << tr("Export cen a obsazenosti čeká na spojení se serverem, na webu ještě není.");
    if (m_stavImportu == StavImportu::PrvniPozadavek
        || (m_stavImportu == StavImportu::OdpovedKOdeslani && !jePripojeno()))
        lines << tr("Import rezervací čeká na spojení se serverem.");
    else if (m_stavImportu == StavImportu::CekaNaOdpoved)
        lines << tr("Import rezervací čeká na odpověď serveru.");
    if (!m_hoste.isEmpty())
        lines << tr("Hosté z webu čekající na výsledek importu: %1").arg(m_hoste.size());
    return lines;
}

// ---- the connection to the web server ----

bool SpolupraceSWebem::jePripojeno() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void SpolupraceSWebem::Pripoj()
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
            QMetaObject::invokeMethod(this, [this] { poZtrateSpojeni(false); }, Qt::QueuedConnection);
        }
    }
    m_pripojenaAdresa = adresa;
    const Pozadavek::CilServeru cil = Pozadavek::rozeberAdresu(adresa);
    if (!cil.platny)
        return;
    m_pokus.start();
    m_socket->connectToHost(cil.host, cil.port);
}

bool SpolupraceSWebem::pozadejSpojeni()
{
    if (jePripojeno())
        return true;
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        Pripoj();
    if (!PripojenoTimer.isActive())
        PripojenoTimer.start();
    return false;
}

void SpolupraceSWebem::ClientSocketRead()
{
    const QByteArray data = m_socket->readAll();
    const QString text = Pozadavek::zCp1250(data);
    m_bezOdpovedi.clear();
    const bool importCeka = m_stavImportu == StavImportu::CekaNaOdpoved;
    if (m_odpovedBajtu + data.size() > OdpovedWebu::limit
        || (importCeka && !m_odpovedImportu.pridej(data.size(), text))) {
        // A site that never stops must not fill the desk's memory.
        m_socket->abort();
        m_navazano = false;
        const QString zprava = tr("Web poslal odpověď delší než %1 MiB, spojení bylo ukončeno.").arg(OdpovedWebu::limit / mebibajt);
        if (importCeka) {
            ukonciImport(false, zprava + u' ' + tr("Import rezervací byl ukončen a nic z této odpovědi nebylo uloženo."),
                         tr("odpověď webu je příliš dlouhá"));
        } else {
            qCWarning(logWebu, "%s", qPrintable(zprava));
            hlidej();
        }
        return;
    }
    m_odpovedBajtu += data.size();
    m_odpoved += text;
    emit odpovedPrijata(text);
    // The pass stores reservations: not from inside the socket's own signal.
    if (importCeka && m_odpovedImportu.jeUplna())
        QMetaObject::invokeMethod(this, &SpolupraceSWebem::krokImportu, Qt::QueuedConnection);
}

void SpolupraceSWebem::ClientSocketError()
{
    // Silent: the connection is closed; what waits gets a new one.
    const bool bylNavazan = m_navazano;
    m_navazano = false;
    m_socket->abort();
    m_kOpakovani += std::exchange(m_bezOdpovedi, {});
    hlidej();
    QMetaObject::invokeMethod(this, [this, bylNavazan] { poZtrateSpojeni(bylNavazan); }, Qt::QueuedConnection);
}

void SpolupraceSWebem::poZtrateSpojeni(bool bylNavazan)
{
    // What went unanswered is in m_kOpakovani already (moved when the connection went).
    const bool importZnovu = std::any_of(m_kOpakovani.cbegin(), m_kOpakovani.cend(),
                                         [](const Odeslany &o) { return o.druh == Druh::Import; });
    if (m_stavImportu == StavImportu::CekaNaOdpoved && !importZnovu && !m_odpovedImportu.jeUplna()) {
        // Part of the reply came and the rest never will. A site closing its
        // end as the request came is asked once more, on a new connection.
        if (m_opakovaniImportu++ == 0)
            m_stavImportu = StavImportu::PrvniPozadavek;
        else
            ukonciImport(false, tr("Web ukončil spojení dřív, než dokončil odpověď na import rezervací; nic z ní nebylo uloženo."),
                         tr("web nedokončil odpověď"));
    }
    hlidej();
    // A connection the site closed is made again at once; a refused one at the next tick.
    if (bylNavazan && PripojenoTimer.isActive() && m_socket->state() == QAbstractSocket::UnconnectedState)
        Pripoj();
}

void SpolupraceSWebem::PripojenoTimerTimer()
{
    if (!jePripojeno()) {
        // An attempt gets one tick; then a new one replaces it.
        if (m_socket->state() == QAbstractSocket::UnconnectedState || !m_pokus.isValid()
            || m_pokus.elapsed() >= m_casovani.pripojeno)
            Pripoj();
        return;
    }
    if (m_stavImportu == StavImportu::CekaNaOdpoved && ++m_tikyOdpovedi >= maxTikuCekani
        && !m_odpovedImportu.jeUplna()) {
        // What the site may still send must not mix with a later reply.
        m_socket->abort();
        m_navazano = false;
        ukonciImport(false, tr("Web ani po %1 s nedokončil odpověď na import rezervací; import byl ukončen "
                               "a nic z odpovědi nebylo uloženo.")
                                .arg(maxTikuCekani * m_casovani.pripojeno / 1000.0),
                     tr("web nedokončil odpověď"));
        return;
    }
    poSpojeni();
}

void SpolupraceSWebem::poSpojeni()
{
    if (!jePripojeno())
        return;
    for (const Odeslany &o : std::exchange(m_kOpakovani, {}))
        m_socket->write(o.bajty);
    krokImportu();
    krokExportuCen();
    hlidej();
}

bool SpolupraceSWebem::posli(const QByteArray &pozadavek, std::optional<Druh> druh)
{
    // The socket buffers all of it and writes on as the server takes it.
    if (!jePripojeno())
        return false;
    m_socket->write(pozadavek);
    if (druh)
        m_bezOdpovedi.append({*druh, pozadavek});
    return true;
}

void SpolupraceSWebem::zapomen(Druh druh)
{
    const auto ofKind = [druh](const Odeslany &o) { return o.druh == druh; };
    m_bezOdpovedi.removeIf(ofKind);
    m_kOpakovani.removeIf(ofKind);
}

void SpolupraceSWebem::vyprazdniOdpoved()
{
    m_odpoved.clear();
    m_odpovedBajtu = 0;
    emit odpovedVyprazdnena();
}

void SpolupraceSWebem::hlidej()
{
    // One watchdog for every operation: it stops only when none waits.
    const bool ceka = m_stavExportuCen != StavExportuCen::Nic || m_stavImportu != StavImportu::Nic
                      || !m_kOpakovani.isEmpty();
    if (ceka && !PripojenoTimer.isActive())
        PripojenoTimer.start();
    else if (!ceka)
        PripojenoTimer.stop();
}

QString SpolupraceSWebem::teloZacatek() const
{
    return Pozadavek::spolecnyZacatek(m_nastaveni.id, m_nastaveni.heslo);
}

QByteArray SpolupraceSWebem::pozadavek(const QString &skript, const QString &telo) const
{
    return Pozadavek::SestavPozadavek(m_nastaveni.adresar, m_nastaveni.adresa, skript, telo);
}

void SpolupraceSWebem::zaznamenej(PosledniAkce &akce, bool uspech, const QString &text)
{
    akce.cas = QDateTime::currentDateTime();
    akce.uspech = uspech;
    akce.text = text;
}

// ---- exports ----

void SpolupraceSWebem::ExportTypuPokoju()
{
    QString telo;
    try {
        telo = teloZacatek() + Exporty::poleTypuPokoju();
    } catch (const DatabaseError &e) {
        zaznamenej(m_posledniExport, false, tr("typy pokojů, chyba databáze"));
        emit stavZmenen();
        emit chyba(tr("Typy pokojů se nepodařilo načíst pro export.") + u'\n' + e.text(), true);
        return;
    }
    const QByteArray p = pozadavek(QStringLiteral("typy_pokoju.php"), telo);
    vyprazdniOdpoved();
    // Without a connection it is lost, as it always was; the line says so.
    if (posli(p))
        zaznamenej(m_posledniExport, true, tr("typy pokojů odeslány"));
    else
        zaznamenej(m_posledniExport, false, tr("typy pokojů, bez spojení s webem"));
    emit stavZmenen();
}

void SpolupraceSWebem::ExportCenObsazenosti()
{
    m_stavExportuCen = StavExportuCen::CekaNaSpojeni;
    krokExportuCen();
}

void SpolupraceSWebem::krokExportuCen()
{
    if (m_stavExportuCen != StavExportuCen::CekaNaSpojeni)
        return;
    vyprazdniOdpoved();
    if (!pozadejSpojeni()) {
        emit stavZmenen();
        return;
    }
    // Composed at the moment of sending, so the site gets the data of that moment.
    QString telo;
    try {
        telo = teloZacatek() + Exporty::poleCenAObsazenosti();
    } catch (const DatabaseError &e) {
        // Ended: every tick would run the failing statement again.
        m_stavExportuCen = StavExportuCen::Nic;
        hlidej();
        zaznamenej(m_posledniExport, false, tr("ceny a obsazenost, chyba databáze"));
        qCWarning(logWebu, "prices and occupancy export: %s", qPrintable(e.text()));
        emit stavZmenen();
        emit chyba(tr("Ceny a obsazenost se nepodařilo načíst pro export.") + u'\n' + e.text(), true);
        return;
    }
    posli(pozadavek(QStringLiteral("ceny_a_obsazenost.php"), telo), Druh::Export);
    m_stavExportuCen = StavExportuCen::Nic;
    hlidej();
    zaznamenej(m_posledniExport, true, tr("ceny a obsazenost odeslány"));
    emit stavZmenen();
}

void SpolupraceSWebem::UlozIPAdresu()
{
    const QString telo = teloZacatek() + QStringLiteral("&ip_adresa=") + Pozadavek::hodnota(m_nastaveni.lokalniIP);
    const QByteArray p = pozadavek(QStringLiteral("uloz_ip_adresu.php"), telo);
    vyprazdniOdpoved();
    posli(p);
}

// ---- the reservation import ----

void SpolupraceSWebem::ImportRezervaci()
{
    spustImport(Puvod::Recepcni);
}

quint64 SpolupraceSWebem::spustImport(Puvod puvod)
{
    switch (m_stavImportu) {
    case StavImportu::Nic:
        break;
    case StavImportu::PrvniPozadavek:
        // Nothing asked yet: the run about to ask answers this start too.
        if (puvod == Puvod::Recepcni)
            m_puvodImportu = puvod;
        return m_cisloImportu;
    case StavImportu::CekaNaOdpoved:
        if (puvod == Puvod::Recepcni) {
            // The receptionist begins again, as a stuck reply may need.
            opustImport();
            break;
        }
        [[fallthrough]];
    case StavImportu::OdpovedKOdeslani:
        // A guest may have booked after the request went: a new run follows
        // this one. Outcomes of stored reservations are never abandoned.
        if (!m_dalsiImport || puvod == Puvod::Recepcni)
            m_dalsiImport = puvod;
        emit stavZmenen();
        return m_cisloImportu + 1;
    }
    ++m_cisloImportu;
    m_stavImportu = StavImportu::PrvniPozadavek;
    m_puvodImportu = puvod;
    m_opakovaniImportu = 0;
    m_varovaniImportu.clear();
    m_prerusenoImportu.clear();
    krokImportu();
    return m_cisloImportu;
}

void SpolupraceSWebem::opustImport()
{
    // What the site still sends for the abandoned request must not mix with
    // the new reply: the connection goes, the other requests go again.
    zapomen(Druh::Import);
    if (m_socket->state() != QAbstractSocket::UnconnectedState) {
        m_socket->abort();
        m_navazano = false;
        m_kOpakovani += std::exchange(m_bezOdpovedi, {});
    }
    m_stavImportu = StavImportu::Nic;
}

void SpolupraceSWebem::krokImportu()
{
    switch (m_stavImportu) {
    case StavImportu::Nic:
        return;
    case StavImportu::PrvniPozadavek:
        if (!pozadejSpojeni())
            break;
        vyprazdniOdpoved();
        m_odpovedImportu = OdpovedWebu();
        posli(pozadavek(QStringLiteral("rezervace_na_vitrane.php"), teloZacatek()), Druh::Import);
        m_stavImportu = StavImportu::CekaNaOdpoved;
        m_tikyOdpovedi = 0;
        break;
    case StavImportu::CekaNaOdpoved:
        if (!m_odpovedImportu.jeUplna() || !ulozOdpoved())
            return;
        [[fallthrough]];
    case StavImportu::OdpovedKOdeslani:
        if (!pozadejSpojeni())
            break;
        posli(m_pozadavekVysledku, Druh::Vysledek);
        if (m_prerusenoImportu.isEmpty())
            ukonciImport(true, m_varovaniImportu, m_souhrnImportu);
        else
            ukonciImport(false, m_prerusenoImportu, m_souhrnImportu);
        return;
    }
    hlidej();
    emit stavZmenen();
}

bool SpolupraceSWebem::ulozOdpoved()
{
    const QDate dnes = QDate::currentDate();
    const RezervaceZWebu rezervace = nactiRezervace(m_odpovedImportu, dnes);
    if (!rezervace.chyba.isEmpty()) {
        ukonciImport(false,
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
    m_varovaniImportu = varovani.join(u'\n');

    if (!vysledek.preruseno.isEmpty()) {
        // A fault of ours, not of the reservations: what is not stored stays
        // unanswered, so that the site offers it again.
        const QString proc = tr("Ukládání rezervací z webu se přerušilo: %1. Uloženo je %2, %3 rezervací zůstává "
                                "na webu a příští import je uloží.")
                                 .arg(vysledek.preruseno, QString::number(vysledek.ulozeno),
                                      QString::number(vysledek.nezodpovezeno));
        m_prerusenoImportu = m_varovaniImportu.isEmpty() ? proc : proc + u'\n' + m_varovaniImportu;
        m_souhrnImportu = tr("chyba databáze, ") + souhrn.join(QStringLiteral(", "));
        if (!vysledek.maOdpoved()) {
            ukonciImport(false, m_prerusenoImportu, m_souhrnImportu);
            return false;
        }
    } else {
        m_souhrnImportu = souhrn.join(QStringLiteral(", "));
    }
    m_vysledekImportu = vysledek.odpoved;
    m_pozadavekVysledku = pozadavek(QStringLiteral("rezervace_na_vitrane2.php"), teloZacatek() + u'&' + vysledek.odpoved);
    m_stavImportu = StavImportu::OdpovedKOdeslani;
    // Reconnects if the address was changed meanwhile.
    if (jePripojeno())
        Pripoj();
    return true;
}

void SpolupraceSWebem::ukonciImport(bool uspech, const QString &zprava, const QString &kratce)
{
    const quint64 cislo = m_cisloImportu;
    const bool odRecepcniho = m_puvodImportu == Puvod::Recepcni;
    m_stavImportu = StavImportu::Nic;
    zapomen(Druh::Import);
    zaznamenej(m_posledniImport, uspech, kratce);
    if (uspech)
        qCInfo(logWebu, "reservation import: %s", qPrintable(kratce));
    if (!zprava.isEmpty())
        qCWarning(logWebu, "reservation import: %s", qPrintable(QString(zprava).replace(u'\n', u' ')));

    odpovezHostum(cislo, uspech ? std::optional<QString>(m_vysledekImportu) : std::nullopt);
    if (m_dalsiImport) {
        // Not from inside a socket's signal, which may have brought us here.
        const Puvod puvod = *std::exchange(m_dalsiImport, std::nullopt);
        QMetaObject::invokeMethod(this, [this, puvod] { spustImport(puvod); }, Qt::QueuedConnection);
    }
    hlidej();
    emit stavZmenen();
    // Last: a box shown from here runs an event loop of its own.
    if (!zprava.isEmpty())
        emit chyba(zprava, odRecepcniho);
}

// ---- guests forwarded by the web site ----

void SpolupraceSWebem::pozadavekHosta(quint64 host, const PozadavekHosta &pozadavek)
{
    const quint64 import = spustImport(Puvod::Host);
    m_hoste.append({host, pozadavek.cislo_rezervace, pozadavek.skript_zpet, pozadavek.vzhled_stranek, import,
                    QDeadlineTimer(qint64(maxTikuCekani) * m_casovani.cekaniNaImport)});
    if (!CekaniNaImportRezervaciTimer.isActive())
        CekaniNaImportRezervaciTimer.start();
    emit stavZmenen();
}

void SpolupraceSWebem::CekaniNaImportRezervaciTimerTimer()
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

void SpolupraceSWebem::odpovezHostum(quint64 import, const std::optional<QString> &vysledek)
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

void SpolupraceSWebem::odpovezHostovi(const CekajiciHost &host, const QString &dotaz)
{
    const QString q = dotaz + QStringLiteral("&cislo_rezervace=") + host.cislo_rezervace
                      + QStringLiteral("&vzhled_stranek=") + host.vzhled_stranek;
    m_naslouchani->odpovez(host.host, Presmerovani::OdpovedPresmerovani(host.skript_zpet, q));
}
