#include "web/TAdministraceSpolupraceSWebem.h"

#include "gui/MessageBox.h"
#include "db/DatabaseError.h"
#include "web/protocol/Exporty.h"
#include "web/protocol/ImportRezervaci.h"
#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVBoxLayout>
#include <utility>

TAdministraceSpolupraceSWebem::TAdministraceSpolupraceSWebem(quint16 listenPort, QWidget *parent,
                                                             const CasovaniWebu &casovani)
    : TDialog(parent), m_casovani(casovani)
{
    setObjectName(QStringLiteral("AdministraceSpolupraceSWebem"));
    setWindowTitle(tr("AdministraceSpolupraceSWebem"));
    resize(621, 481);
    createControls();
    FormCreate(listenPort);
}

TAdministraceSpolupraceSWebem::~TAdministraceSpolupraceSWebem()
{
    // The sockets outlive this object's members and close as they go:
    // their signals must not reach it any more.
    ClientSocket->disconnect(this);
    for (QTcpSocket *spojeni : ServerSocket->findChildren<QTcpSocket *>())
        spojeni->disconnect(this);
}

void TAdministraceSpolupraceSWebem::createControls()
{
    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto edit = [this](const char *name, const QString &text) {
        auto *e = new QLineEdit(text, this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto button = [this](const char *name, const QString &text, void (TAdministraceSpolupraceSWebem::*handler)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };

    auto *left = new QVBoxLayout;
    left->addWidget(label("AdresaLabel", tr("Doménová adresa databáze:")));
    left->addWidget(AdresaEdit = edit("AdresaEdit", QStringLiteral("localhost")));
    auto *pripoj = new QHBoxLayout;
    pripoj->addWidget(PripojenoLabel = label("PripojenoLabel", tr("Odpojeno")));
    pripoj->addWidget(button("PripojButton", tr("Připoj"), &TAdministraceSpolupraceSWebem::PripojButtonClick));
    left->addLayout(pripoj);
    left->addWidget(label("AdresarLabel", tr("Adresář se skripty na serveru:")));
    left->addWidget(AdresarEdit = edit("AdresarEdit", QStringLiteral("/zarventocz/www/vitrana")));
    left->addWidget(label("IDLabel", tr("ID:")));
    left->addWidget(IDEdit = edit("IDEdit", QStringLiteral("1")));
    left->addWidget(label("HesloLabel", tr("Heslo:")));
    left->addWidget(HesloEdit = edit("HesloEdit", QString()));
    left->addWidget(label("LokalniIPLabel", tr("Lokální IP adresa:")));
    left->addWidget(LokalniIPEdit = edit("LokalniIPEdit", QString()));
    left->addWidget(button("UlozIPAdresuButton", tr("Ulož IP adresu na serveru"),
                           &TAdministraceSpolupraceSWebem::UlozIPAdresuButtonClick));
    left->addWidget(button("ExportTypuPokojuButton", tr("Export údajů o typech pokojů"),
                           &TAdministraceSpolupraceSWebem::ExportTypuPokojuButtonClick));
    left->addWidget(button("ExportCenObsazenostiButton", tr("Export cen a obsazenosti"),
                           &TAdministraceSpolupraceSWebem::ExportCenObsazenostiButtonClick));
    left->addWidget(button("ImportRezervaciButton", tr("Import rezervací z webu"),
                           &TAdministraceSpolupraceSWebem::ImportRezervaciButtonClick));
    // What waits for the web server, so that nobody takes a change for sent.
    left->addWidget(CekaniLabel = label("CekaniLabel", QString()));
    CekaniLabel->setWordWrap(true);
    left->addWidget(NaslouchaniLabel = label("NaslouchaniLabel", QString()));
    NaslouchaniLabel->setWordWrap(true);
    left->addStretch();
    left->addWidget(button("ZavriButton", tr("Zavři"), &TAdministraceSpolupraceSWebem::ZavriButtonClick));

    auto *right = new QVBoxLayout;
    right->addWidget(label("OpovedServeruLabel", tr("Odpověď serveru:")));
    OdpovedServeruMemo = new QPlainTextEdit(this);
    OdpovedServeruMemo->setObjectName(QStringLiteral("OdpovedServeruMemo"));
    OdpovedServeruMemo->setReadOnly(true);
    right->addWidget(OdpovedServeruMemo);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 0);
    layout->addLayout(right, 1);

    ClientSocket = new QTcpSocket(this);
    ClientSocket->setObjectName(QStringLiteral("ClientSocket"));
    connect(ClientSocket, &QTcpSocket::readyRead, this, &TAdministraceSpolupraceSWebem::ClientSocketRead);
    connect(ClientSocket, &QTcpSocket::errorOccurred, this, &TAdministraceSpolupraceSWebem::ClientSocketError);
    connect(ClientSocket, &QTcpSocket::stateChanged, this, &TAdministraceSpolupraceSWebem::ukazStav);

    ServerSocket = new QTcpServer(this);
    ServerSocket->setObjectName(QStringLiteral("ServerSocket"));
    connect(ServerSocket, &QTcpServer::newConnection, this, &TAdministraceSpolupraceSWebem::ServerSocketClientConnect);

    const struct
    {
        QTimer *timer;
        const char *name;
        int interval;
        void (TAdministraceSpolupraceSWebem::*handler)();
    } timers[] = {
        {&PripojenoTimer, "PripojenoTimer", m_casovani.pripojeno, &TAdministraceSpolupraceSWebem::PripojenoTimerTimer},
        {&LabelPripojenoTimer, "LabelPripojenoTimer", m_casovani.labelPripojeno,
         &TAdministraceSpolupraceSWebem::LabelPripojenoTimerTimer},
        {&CekaniNaImportRezervaciTimer, "CekaniNaImportRezervaciTimer", m_casovani.cekaniNaImport,
         &TAdministraceSpolupraceSWebem::CekaniNaImportRezervaciTimerTimer},
        {&ServerSocketDisconnectTimer, "ServerSocketDisconnectTimer", m_casovani.odpojeni,
         &TAdministraceSpolupraceSWebem::ServerSocketDisconnectTimerTimer},
        {&NeuplnyPozadavekTimer, "NeuplnyPozadavekTimer", m_casovani.neuplnyPozadavek,
         &TAdministraceSpolupraceSWebem::NeuplnyPozadavekTimerTimer},
    };
    for (const auto &t : timers) {
        t.timer->setObjectName(QLatin1String(t.name));
        t.timer->setInterval(t.interval);
        connect(t.timer, &QTimer::timeout, this, t.handler);
    }
    ServerSocketDisconnectTimer.setSingleShot(true);
    NeuplnyPozadavekTimer.setSingleShot(true);
}

void TAdministraceSpolupraceSWebem::FormCreate(quint16 listenPort)
{
    StavExportuCen = -1;
    StavImportu = -1;
    VysledekPripraven = false;
    PocitadloCekani = 0;

    // Another desk on this machine may hold the port: the desk goes on
    // without the listener and says so here.
    if (ServerSocket->listen(QHostAddress::Any, listenPort)) {
        NaslouchaniLabel->setText(tr("Hosty přesměrované z webu přijímám na portu %1.").arg(ServerSocket->serverPort()));
    } else {
        const QString why = ServerSocket->serverError() == QAbstractSocket::AddressInUseError
                                ? tr("port je obsazen, nejspíš jinou spuštěnou Vitranou na tomto počítači")
                                : ServerSocket->errorString();
        NaslouchaniLabel->setText(tr("Hosty přesměrované z webu nelze přijímat na portu %1: %2. "
                                     "Ostatní práce s webem funguje.")
                                      .arg(listenPort)
                                      .arg(why));
        qWarning("Vitrana: cannot listen on port %u: %s", unsigned(listenPort),
                 qPrintable(ServerSocket->errorString()));
    }
    ukazStav();
}

quint16 TAdministraceSpolupraceSWebem::portNaslouchani() const
{
    return ServerSocket->isListening() ? ServerSocket->serverPort() : 0;
}

void TAdministraceSpolupraceSWebem::FormShow()
{
    LabelPripojenoTimerTimer();
    LabelPripojenoTimer.start();
}

void TAdministraceSpolupraceSWebem::FormHide()
{
    LabelPripojenoTimer.stop();
}

void TAdministraceSpolupraceSWebem::ZavriButtonClick()
{
    close();
}

// ---- the client connection ----

bool TAdministraceSpolupraceSWebem::jePripojeno() const
{
    return ClientSocket->state() == QAbstractSocket::ConnectedState;
}

void TAdministraceSpolupraceSWebem::PripojButtonClick()
{
    const QString adresa = AdresaEdit->text();
    if (jePripojeno() && adresa == m_pripojenaAdresa)
        return;
    // An attempt still under way is replaced by this one.
    ClientSocket->abort();
    m_pripojenaAdresa = adresa;
    const Pozadavek::CilServeru cil = Pozadavek::rozeberAdresu(adresa);
    if (cil.platny)
        ClientSocket->connectToHost(cil.host, cil.port);
}

void TAdministraceSpolupraceSWebem::ClientSocketRead()
{
    const QString data = Pozadavek::zCp1250(ClientSocket->readAll());
    m_bezOdpovedi.clear();
    m_odpoved += data;
    m_odpovedImportu += data;
    OdpovedServeruMemo->moveCursor(QTextCursor::End);
    OdpovedServeruMemo->insertPlainText(QString(data).remove(u'\r'));
    // The step stores reservations and may show a message: not from inside
    // the socket's own signal.
    QMetaObject::invokeMethod(this, &TAdministraceSpolupraceSWebem::krokImportu, Qt::QueuedConnection);
}

void TAdministraceSpolupraceSWebem::ClientSocketError()
{
    // Silent: the label shows "Odpojeno" and the watchdog, if running, tries again.
    ClientSocket->abort();
    if (!m_bezOdpovedi.isEmpty()) {
        m_kOpakovani += std::exchange(m_bezOdpovedi, {});
        PripojenoTimer.start(m_casovani.pripojeno);
    }
}

void TAdministraceSpolupraceSWebem::PripojenoTimerTimer()
{
    if (!jePripojeno()) {
        PripojButtonClick();
        return;
    }
    for (const QByteArray &pozadavek : std::exchange(m_kOpakovani, {}))
        ClientSocket->write(pozadavek);
    krokImportu();
    krokExportuCen();
}

void TAdministraceSpolupraceSWebem::LabelPripojenoTimerTimer()
{
    PripojenoLabel->setText(jePripojeno() ? tr("Připojeno") : tr("Odpojeno"));
}

QString TAdministraceSpolupraceSWebem::teloZacatek() const
{
    return Pozadavek::spolecnyZacatek(IDEdit->text(), HesloEdit->text());
}

void TAdministraceSpolupraceSWebem::posli(const QByteArray &pozadavek, bool opakovat)
{
    // The socket buffers all of it and writes on as the server takes it.
    if (!jePripojeno())
        return;
    ClientSocket->write(pozadavek);
    if (opakovat)
        m_bezOdpovedi.append(pozadavek);
}

void TAdministraceSpolupraceSWebem::vyprazdniOdpoved()
{
    m_odpoved.clear();
    OdpovedServeruMemo->clear();
}

void TAdministraceSpolupraceSWebem::stopWatchdogWhenIdle()
{
    // The watchdog is shared: it stops only when neither operation waits.
    if (StavExportuCen != 0 && StavImportu == -1 && m_kOpakovani.isEmpty())
        PripojenoTimer.stop();
    ukazStav();
}

void TAdministraceSpolupraceSWebem::ukazStav()
{
    QStringList waiting;
    const bool connected = jePripojeno();
    if (StavExportuCen == 0)
        waiting << tr("Export cen a obsazenosti čeká na spojení se serverem, na webu ještě není.");
    if (StavImportu == 0 || (StavImportu == 2 && !connected))
        waiting << tr("Import rezervací čeká na spojení se serverem.");
    else if (StavImportu == 1)
        waiting << tr("Import rezervací čeká na odpověď serveru.");
    CekaniLabel->setText(waiting.join(u'\n'));
}

// ---- exports ----

void TAdministraceSpolupraceSWebem::ExportTypuPokojuButtonClick()
{
    const QString telo = teloZacatek() + Exporty::poleTypuPokoju();
    const QByteArray pozadavek =
        Pozadavek::SestavPozadavek(AdresarEdit->text(), AdresaEdit->text(), QStringLiteral("typy_pokoju.php"), telo);
    vyprazdniOdpoved();
    posli(pozadavek);
}

void TAdministraceSpolupraceSWebem::ExportCenObsazenostiButtonClick()
{
    StavExportuCen = 0;
    krokExportuCen();
}

void TAdministraceSpolupraceSWebem::krokExportuCen()
{
    if (StavExportuCen != 0)
        return;
    PripojenoTimer.start(m_casovani.pripojeno);
    vyprazdniOdpoved();
    // Composed at the moment of sending, so the site gets the data of that moment.
    if (jePripojeno()) {
        QString telo;
        try {
            telo = teloZacatek() + Exporty::poleCenAObsazenosti();
        } catch (const DatabaseError &e) {
            // Ended: every tick would run the failing statement again.
            StavExportuCen = -1;
            stopWatchdogWhenIdle();
            MessageBox::show(this, e.text(), tr("Chyba"), QMessageBox::Ok, QMessageBox::Critical);
            return;
        }
        posli(Pozadavek::SestavPozadavek(AdresarEdit->text(), AdresaEdit->text(),
                                         QStringLiteral("ceny_a_obsazenost.php"), telo),
              true);
        StavExportuCen = -1;
        stopWatchdogWhenIdle();
    }
    ukazStav();
}

void TAdministraceSpolupraceSWebem::UlozIPAdresuButtonClick()
{
    const QString telo = teloZacatek() + QStringLiteral("&ip_adresa=") + Pozadavek::hodnota(LokalniIPEdit->text());
    const QByteArray pozadavek = Pozadavek::SestavPozadavek(AdresarEdit->text(), AdresaEdit->text(),
                                                            QStringLiteral("uloz_ip_adresu.php"), telo);
    vyprazdniOdpoved();
    posli(pozadavek);
}

// ---- the reservation import ----

void TAdministraceSpolupraceSWebem::ImportRezervaciButtonClick()
{
    StavImportu = 0;
    krokImportu();
}

void TAdministraceSpolupraceSWebem::krokImportu()
{
    switch (StavImportu) {
    case 0:
        PripojenoTimer.start(m_casovani.pripojeno);
        VysledekPripraven = false;
        m_importSelhal = false;
        m_pozadavekImportu = Pozadavek::SestavPozadavek(AdresarEdit->text(), AdresaEdit->text(),
                                                        QStringLiteral("rezervace_na_vitrane.php"), teloZacatek());
        vyprazdniOdpoved();
        m_odpovedImportu.clear();
        if (jePripojeno()) {
            posli(m_pozadavekImportu, true);
            StavImportu = 1;
        }
        break;
    case 1: {
        const OdpovedWebu odpoved(m_odpovedImportu);
        if (!odpoved.jeUplna())
            return;
        const RezervaceZWebu rezervace = nactiRezervace(odpoved);
        if (!rezervace.chyba.isEmpty()) {
            ukonciImportChybou(rezervace.chyba);
            return;
        }
        // Ended before storing: after a database error in the pass no later
        // step stores this reply again.
        StavImportu = -1;
        m_importSelhal = true;
        stopWatchdogWhenIdle();
        try {
            VysledekImportu = ImportRezervaci::ulozRezervace(rezervace, QDate::currentDate());
        } catch (const DatabaseError &e) {
            MessageBox::show(this, e.text(), tr("Chyba"), QMessageBox::Ok, QMessageBox::Critical);
            return;
        }
        m_importSelhal = false;

        m_pozadavekImportu = Pozadavek::SestavPozadavek(AdresarEdit->text(), AdresaEdit->text(),
                                                        QStringLiteral("rezervace_na_vitrane2.php"),
                                                        teloZacatek() + u'&' + VysledekImportu);
        PripojenoTimer.start(m_casovani.pripojeno);
        PripojButtonClick();
        StavImportu = 2;
        break;
    }
    case 2:
        if (jePripojeno()) {
            posli(m_pozadavekImportu, true);
            StavImportu = -1;
            VysledekPripraven = true;
            stopWatchdogWhenIdle();
        }
        break;
    default:
        return;
    }
    ukazStav();
}

void TAdministraceSpolupraceSWebem::ukonciImportChybou(const QString &text)
{
    StavImportu = -1;
    m_importSelhal = true;
    stopWatchdogWhenIdle();
    MessageBox::show(this, tr("Odpověď webu na import rezervací je chybná, import byl ukončen "
                              "a nic z této odpovědi nebylo uloženo.")
                               + u'\n' + text,
                     tr("Chyba"), QMessageBox::Ok, QMessageBox::Warning);
}

// ---- the reception listener ----

void TAdministraceSpolupraceSWebem::ServerSocketClientConnect()
{
    while (QTcpSocket *spojeni = ServerSocket->nextPendingConnection()) {
        if (!m_spojeni.isEmpty()) {
            // One browser at a time: a later one is cut off unread.
            spojeni->abort();
            spojeni->deleteLater();
            continue;
        }
        m_spojeni.append(spojeni);
        connect(spojeni, &QTcpSocket::readyRead, this, &TAdministraceSpolupraceSWebem::ServerSocketClientRead);
        connect(spojeni, &QTcpSocket::errorOccurred, this, [this, spojeni] { ServerSocketClientError(spojeni); });
        connect(spojeni, &QTcpSocket::disconnected, this, [this, spojeni] { odeberSpojeni(spojeni); });
        NeuplnyPozadavekTimer.start();
    }
}

void TAdministraceSpolupraceSWebem::ServerSocketClientRead()
{
    if (m_spojeni.isEmpty())
        return;
    QTcpSocket *spojeni = m_spojeni.first();
    if (!m_prijataData.pridej(spojeni->readAll())) {
        // No browser request is that long.
        spojeni->abort();
        odeberSpojeni(spojeni);
        return;
    }
    if (!m_prijataData.jeUplny())
        return;

    const QString &text = m_prijataData.text();
    m_cisloRezervace = Presmerovani::HodnotaParametru(text, QStringLiteral("cislo_rezervace"));
    m_skriptZpet = Presmerovani::HodnotaParametru(text, QStringLiteral("skript_zpet"));
    m_vzhledStranek = Presmerovani::HodnotaParametru(text, QStringLiteral("vzhled_stranek"));
    m_prijataData.vyprazdni();
    m_zadatel = spojeni;
    NeuplnyPozadavekTimer.stop();
    // The wait runs even if the import fails at once.
    if (!CekaniNaImportRezervaciTimer.isActive())
        CekaniNaImportRezervaciTimer.start(m_casovani.cekaniNaImport);
    ImportRezervaciButtonClick();
}

void TAdministraceSpolupraceSWebem::ServerSocketClientError(QTcpSocket *spojeni)
{
    spojeni->abort();
    odeberSpojeni(spojeni);
}

void TAdministraceSpolupraceSWebem::odeberSpojeni(QTcpSocket *spojeni)
{
    const qsizetype index = m_spojeni.indexOf(spojeni);
    if (index < 0)
        return;
    m_spojeni.removeAt(index);
    spojeni->disconnect(this);
    spojeni->deleteLater();
    if (index == 0) {
        // What an unfinished request left must not precede the next browser's data.
        m_prijataData.vyprazdni();
        NeuplnyPozadavekTimer.stop();
    }
}

void TAdministraceSpolupraceSWebem::NeuplnyPozadavekTimerTimer()
{
    // A browser that has not completed its request would keep every other guest out.
    if (m_spojeni.isEmpty())
        return;
    QTcpSocket *spojeni = m_spojeni.first();
    spojeni->abort();
    odeberSpojeni(spojeni);
}

void TAdministraceSpolupraceSWebem::CekaniNaImportRezervaciTimerTimer()
{
    ++PocitadloCekani;
    bool hotovo = false;
    QString dotaz;
    if (VysledekPripraven) {
        dotaz = VysledekImportu;
        VysledekPripraven = false;
        hotovo = true;
    }
    // An import that ended with an error will bring no result: no use waiting.
    const bool selhal = !hotovo && m_importSelhal && StavImportu == -1;
    if (!hotovo && !selhal && PocitadloCekani < maxTikuCekani)
        return;

    CekaniNaImportRezervaciTimer.stop();
    PocitadloCekani = 0;
    if (!hotovo)
        dotaz = QStringLiteral("chyba=1");
    dotaz += QStringLiteral("&cislo_rezervace=") + m_cisloRezervace + QStringLiteral("&vzhled_stranek=") + m_vzhledStranek;
    const QByteArray odpoved = Presmerovani::OdpovedPresmerovani(m_skriptZpet, dotaz);
    // Only to the browser that asked: a guest who came later must not be
    // sent to another guest's result.
    if (m_zadatel && m_spojeni.contains(m_zadatel.data()))
        m_zadatel->write(odpoved);
    ServerSocketDisconnectTimer.start(m_casovani.odpojeni);
}

void TAdministraceSpolupraceSWebem::ServerSocketDisconnectTimerTimer()
{
    ServerSocketDisconnectTimer.stop();
    const QList<QTcpSocket *> open = m_spojeni;
    for (QTcpSocket *spojeni : open) {
        spojeni->disconnectFromHost();
        if (spojeni->state() == QAbstractSocket::UnconnectedState)
            odeberSpojeni(spojeni);
    }
}
