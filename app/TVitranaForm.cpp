#include "app/TVitranaForm.h"
#include "ui_TVitranaForm.h"

#include "admin/TAdministracePokoje.h"
#include "admin/TAdministraceSkupinyPokoju.h"
#include "admin/TAdministraceTypyDni.h"
#include "admin/TAdministraceTypyPokoju.h"
#include "admin/TDefinovaniCen.h"
#include "admin/THistorieZmen.h"
#include "admin/TPrehledy.h"
#include "admin/TUdajeOHotelu.h"
#include "admin/TNastaveniDnuUTypuDne.h"
#include "app/ObsazenostGrid.h"
#include "app/TAboutBox.h"
#include "core/Recepce.h"
#include "db/TMojeDatabaze.h"
#include "core/Zalohovani.h"
#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/TMojeQuery.h"
#include "model/Historie.h"
#include "model/NahlaseniCizincu.h"
#include "model/Pobyt.h"
#include "desk/TKlientiUpravUdaje.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"
#include "desk/TPrijezdyAOdjezdy.h"
#include "desk/TStavPokoju.h"
#include "desk/TDomovniKniha.h"
#include "desk/TUbyport.h"
#include "desk/TEvidencniKniha.h"
#include "desk/TOdjezdHosta.h"
#include "desk/TPrijezdHosta.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "gui/MessageBox.h"
#include "model/SkupinyPokoju.h"
#include "web/IndikatorWebu.h"
#include "web/TAdministraceSpolupraceSWebem.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QLabel>
#include <QShowEvent>
#include <QPointer>
#include <QTimer>

TVitranaForm::TVitranaForm(Recepce *recepce, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TVitranaForm>()), m_recepce(recepce),
      m_skupiny(std::make_unique<SkupinyPokoju>())
{
    ui->setupUi(this);
    m_titulek = windowTitle();
    move(142, 139);

    connect(ui->ZobrazButton, &QPushButton::clicked, this, &TVitranaForm::ZobrazButtonClick);
    connect(ui->ObsazenostPokojuTabControl, &QTabBar::currentChanged, this,
            &TVitranaForm::ObsazenostPokojuTabControlChange);
    const struct
    {
        QAction *item;
        void (TVitranaForm::*handler)();
    } items[] = {
        {ui->MenuKlientiNovyKlient, &TVitranaForm::MenuKlientiNovyKlientClick},
        {ui->MenuKlientiUpravUdaje, &TVitranaForm::MenuKlientiUpravUdajeClick},
        {ui->MenuRezervaceNovaRezervace, &TVitranaForm::MenuRezervaceNovaRezervaceClick},
        {ui->SmazRezervaci, &TVitranaForm::SmazRezervaciClick},
        {ui->MenuRezervacePrijezdyAOdjezdy, &TVitranaForm::MenuRezervacePrijezdyAOdjezdyClick},
        {ui->MenuRezervacePrijezdHosta, &TVitranaForm::MenuRezervacePrijezdHostaClick},
        {ui->MenuRezervaceOdjezdHosta, &TVitranaForm::MenuRezervaceOdjezdHostaClick},
        {ui->MenuAdministracePokoje, &TVitranaForm::MenuAdministracePokojeClick},
        {ui->MenuAdministraceTypyPokoju, &TVitranaForm::MenuAdministraceTypyPokojuClick},
        {ui->MenuAdministraceSkupinyPokoju, &TVitranaForm::MenuAdministraceSkupinyPokojuClick},
        {ui->MenuAdministraceTypyDni, &TVitranaForm::MenuAdministraceTypyDniClick},
        {ui->MenuAdministraceHistorieZmen, &TVitranaForm::MenuAdministraceHistorieZmenClick},
        {ui->MenuAdministracePrehledy, &TVitranaForm::MenuAdministracePrehledyClick},
        {ui->MenuAdministraceUdajeOHotelu, &TVitranaForm::MenuAdministraceUdajeOHoteluClick},
        {ui->MenuUklidStavPokoju, &TVitranaForm::MenuUklidStavPokojuClick},
        {ui->MenuKnihyDomovniKniha, &TVitranaForm::MenuKnihyDomovniKnihaClick},
        {ui->MenuKnihyUbyport, &TVitranaForm::MenuKnihyUbyportClick},
        {ui->MenuKnihyEvidencniKniha, &TVitranaForm::MenuKnihyEvidencniKnihaClick},
        {ui->SpolupraceSWebem, &TVitranaForm::SpolupraceSWebemClick},
        {ui->ZalohaDatabaze, &TVitranaForm::ZalohaDatabazeClick},
        {ui->OAplikaci, &TVitranaForm::OAplikaciClick},
    };
    for (const auto &i : items)
        connect(i.item, &QAction::triggered, this, i.handler);
    connect(ui->MrizkaObsazenosti, &ObsazenostGrid::freeSquareChosen, this,
            &TVitranaForm::MrizkaObsazenostiDblClick);
    connect(ui->MrizkaObsazenosti, &ObsazenostGrid::reservedSquareChosen, this,
            &TVitranaForm::MrizkaObsazenostiPrijezd);
    // A screen reader names the pickers by their captions.
    ui->OdLabel->setBuddy(ui->OdDateTimePicker);
    ui->DoLabel->setBuddy(ui->DoDateTimePicker);
    ObsazenostGrid::vyplnLegendu(ui->Legenda);
}

TVitranaForm::~TVitranaForm() = default;

ObsazenostGrid *TVitranaForm::grid() const
{
    return ui->MrizkaObsazenosti;
}

void TVitranaForm::createDialogs()
{
    m_pokoje = new TAdministracePokoje(this);
    ui->MenuAdministracePokoje->setEnabled(true);
    m_skupinyPokoju = new TAdministraceSkupinyPokoju(this);
    ui->MenuAdministraceSkupinyPokoju->setEnabled(true);
    m_typyPokoju = new TAdministraceTypyPokoju(this);
    ui->MenuAdministraceTypyPokoju->setEnabled(true);
    m_definovaniCen = new TDefinovaniCen(this);
    m_typyPokoju->setDefinovaniCen(m_definovaniCen);
    m_pridaniKlienta = new TPridaniKlienta(this);
    ui->MenuKlientiNovyKlient->setEnabled(true);
    m_novaRezervace = new TNovaRezervace(this);
    ui->MenuRezervaceNovaRezervace->setEnabled(true);
    m_typyDni = new TAdministraceTypyDni(this);
    ui->MenuAdministraceTypyDni->setEnabled(true);
    m_nastaveniDnu = new TNastaveniDnuUTypuDne(this);
    m_typyDni->setNastaveniDnu(m_nastaveniDnu);
    m_historieZmen = new THistorieZmen(this);
    ui->MenuAdministraceHistorieZmen->setEnabled(true);
    m_prehledy = new TPrehledy(this);
    ui->MenuAdministracePrehledy->setEnabled(true);
    m_udajeOHotelu = new TUdajeOHotelu(this);
    ui->MenuAdministraceUdajeOHotelu->setEnabled(true);
    m_stavPokoju = new TStavPokoju(this);
    ui->MenuUklidStavPokoju->setEnabled(true);
    m_domovniKniha = new TDomovniKniha(this);
    ui->MenuKnihyDomovniKniha->setEnabled(true);
    m_ubyport = new TUbyport(this);
    ui->MenuKnihyUbyport->setEnabled(true);
    m_evidencniKniha = new TEvidencniKniha(this);
    ui->MenuKnihyEvidencniKniha->setEnabled(true);
    m_upravUdaje = new TKlientiUpravUdaje(this);
    ui->MenuKlientiUpravUdaje->setEnabled(true);
    m_smazRezervaci = new TRezervaceSmazRezervaci(this);
    ui->SmazRezervaci->setEnabled(true);
    m_prijezdyAOdjezdy = new TPrijezdyAOdjezdy(this);
    ui->MenuRezervacePrijezdyAOdjezdy->setEnabled(true);
    m_prijezdHosta = new TPrijezdHosta(this);
    ui->MenuRezervacePrijezdHosta->setEnabled(true);
    m_prijezdyAOdjezdy->setPrijezdHosta(m_prijezdHosta);
    m_odjezdHosta = new TOdjezdHosta(this);
    ui->MenuRezervaceOdjezdHosta->setEnabled(true);
    m_aboutBox = new TAboutBox(this);
    ui->OAplikaci->setEnabled(true);
    // The web road is the core's: the dialog and the status bar only show it.
    SpolupraceSWebem *web = m_recepce->spoluprace();
    m_spolupraceSWebem = new TAdministraceSpolupraceSWebem(web, this);
    ui->SpolupraceSWebem->setEnabled(true);
    // The web road's health without opening its dialog.
    ui->StatusBar1->addPermanentWidget(new IndikatorWebu(web, ui->StatusBar1));
    ui->ZalohaDatabaze->setEnabled(true);
    // How the last automatic backup ended; red when it failed.
    if (AutomatickeZalohy *zalohy = m_recepce->zalohy()) {
        auto *indikator = new QLabel(ui->StatusBar1);
        indikator->setObjectName(QStringLiteral("IndikatorZaloh"));
        const auto ukaz = [indikator](const QString &text, bool chyba) {
            indikator->setText(chyba ? tr("Záloha selhala") : text.isEmpty() ? QString() : tr("Záloha v pořádku"));
            indikator->setToolTip(text);
            indikator->setAccessibleDescription(text);
            indikator->setStyleSheet(chyba ? QStringLiteral("color: #b00000;") : QString());
        };
        ukaz(zalohy->posledniStav(), zalohy->posledniSelhala());
        connect(zalohy, &AutomatickeZalohy::stav, indikator, ukaz);
        ui->StatusBar1->addPermanentWidget(indikator);
    }
    m_novaRezervace->setSpolupraceSWebem(web);
    // With several servers configured, which one this desk works on (a
    // cluster node lost moves it to the next).
    if (m_recepce->konfigurace().mode == Configuration::Mode::MySql && m_recepce->konfigurace().socket.isEmpty()
        && m_recepce->konfigurace().servers().size() > 1) {
        auto *server = new QLabel(ui->StatusBar1);
        server->setObjectName(QStringLiteral("ServerLabel"));
        const auto ukaz = [server](const QString &nazev) {
            server->setText(tr("Server: %1").arg(nazev));
            server->setAccessibleName(tr("Databázový server %1").arg(nazev));
        };
        ukaz(m_recepce->databaze()->serverInUse());
        m_recepce->databaze()->setServerChanged(
            [label = QPointer<QLabel>(server), ukaz](const QString &nazev) {
                if (label)
                    ukaz(nazev);
            });
        ui->StatusBar1->addPermanentWidget(server);
    }
}

void TVitranaForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TVitranaForm::FormShow()
{
    const QDateTime now = QDateTime::currentDateTime();
    ui->OdDateTimePicker->setDateTime(now);
    ui->DoDateTimePicker->setDateTime(now.addDays(29));
    ukazObsahDatabaze();
    vyplnTaby();
    refresh();
    // Other desks' saves show here within a few seconds.
    auto *sledovani = new QTimer(this);
    sledovani->setObjectName(QStringLiteral("SledovaniZmen"));
    connect(sledovani, &QTimer::timeout, this, &TVitranaForm::zkontrolujZmeny);
    sledovani->start(3000);
    zkontrolujZmeny();
}

void TVitranaForm::ukazHlaseniPoTerminu(const QDate &dnes)
{
    int poTerminu = 0;
    try {
        TMojeQuery q(*m_recepce->databaze());
        poTerminu = NahlaseniCizincu::poTerminu(NahlaseniCizincu::kNahlaseni(q, dnes), dnes);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot count the overdue reports of foreign guests: %s", qUtf8Printable(e.text()));
        return;
    }
    m_denHlaseni = dnes;
    if (!m_hlaseniLabel) {
        m_hlaseniLabel = new QLabel(ui->StatusBar1);
        m_hlaseniLabel->setObjectName(QStringLiteral("HlaseniPoTerminuLabel"));
        m_hlaseniLabel->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; color: #b00000; }"));
        ui->StatusBar1->addWidget(m_hlaseniLabel);
    }
    // The police want foreign guests within three working days: a glance tells.
    const QString text = poTerminu == 0 ? QString()
                                        : tr("Cizinci nenahlášení po termínu: %1 (Knihy → Hlášení cizinců)").arg(poTerminu);
    m_hlaseniLabel->setText(text);
    m_hlaseniLabel->setAccessibleName(text);
    m_hlaseniLabel->setVisible(poTerminu > 0);
}

void TVitranaForm::zkontrolujZmeny()
{
    TMojeDatabaze *db = m_recepce->databaze();
    if (!db || db->pausing())
        return;   // the server is away: the next action says so, not a timer
    qint64 posledni = 0;
    try {
        TMojeQuery q(*db);
        posledni = Historie::posledniZmena(q);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot read the history's last change: %s", qUtf8Printable(e.text()));
        return;
    }
    const bool prvni = m_posledniZmena < 0;
    // A report falls due at midnight too, not only when something is saved.
    const QDate dnes = QDate::currentDate();
    if (posledni == m_posledniZmena && dnes == m_denHlaseni)
        return;
    ukazHlaseniPoTerminu(dnes);
    if (posledni == m_posledniZmena)
        return;
    m_posledniZmena = posledni;
    if (prvni)
        return;   // the window has just read everything
    try {
        m_skupiny = std::make_unique<SkupinyPokoju>();
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot read the room groups: %s", qUtf8Printable(e.text()));
        return;
    }
    ukazObsahDatabaze();
    vyplnTaby();
    const int skupina = ui->ObsazenostPokojuTabControl->currentIndex();
    const QDate od = ui->OdDateTimePicker->date(), doKdy = ui->DoDateTimePicker->date();
    const qint64 span = od.daysTo(doKdy) + 1;
    grid()->vyprazdni();
    if (span < 1 || span > 60 || skupina < 0 || skupina >= static_cast<int>(m_skupiny->prvky().size()))
        return;
    try {
        grid()->ZobrazObsazenost(m_skupiny->prvky()[skupina], od, doKdy);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot read the occupancy: %s", qUtf8Printable(e.text()));
    }
}

void TVitranaForm::ukazObsahDatabaze()
{
    // Checked at every start and after rooms or groups are saved: the notice
    // stays while the sample's clients are there, or until the first room.
    Installation::Content obsah = Installation::Content::Hotel;
    try {
        TMojeQuery q(*m_recepce->databaze());
        obsah = Installation::content(q);
    } catch (const DatabaseError &e) {
        qWarning("Vitrana: cannot tell whether the database holds the sample hotel: %s", qUtf8Printable(e.text()));
        return;
    }
    // Short in the status bar, which the web line shares; the whole sentence in its tooltip.
    QString nazev;
    QString popis;
    QString vysvetleni;
    switch (obsah) {
    case Installation::Content::SampleHotel:
        nazev = tr("ukázkový hotel");
        popis = tr("Ukázkový hotel, smyšlená data");
        vysvetleni = tr("Ukázkový hotel: pokoje, klienti a rezervace jsou smyšlené, nejsou to data vašeho hotelu.");
        break;
    case Installation::Content::EmptyHotel:
        nazev = tr("prázdný hotel");
        popis = tr("Prázdný hotel");
        vysvetleni = tr("Prázdný hotel: zatím nemá žádný pokoj. Typy pokojů, pokoje a skupiny založte v menu Administrace.");
        break;
    case Installation::Content::Hotel:
        break;
    }
    setWindowTitle(nazev.isEmpty() ? m_titulek : m_titulek + QStringLiteral(" – ") + nazev);
    if (!m_obsahLabel) {
        m_obsahLabel = new QLabel(ui->StatusBar1);
        m_obsahLabel->setObjectName(QStringLiteral("ObsahDatabazeLabel"));
        m_obsahLabel->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; color: #b00000; }"));
        ui->StatusBar1->addWidget(m_obsahLabel);
    }
    m_obsahLabel->setText(popis);
    m_obsahLabel->setToolTip(vysvetleni);
    m_obsahLabel->setVisible(!popis.isEmpty());
}

void TVitranaForm::vyplnTaby()
{
    QTabBar *taby = ui->ObsazenostPokojuTabControl;
    // After a reload the same group stays selected while it exists; names
    // repeat, so each tab keeps its group's id.
    const QVariant vybrana = taby->tabData(taby->currentIndex());
    QStringList nazvy;
    m_skupiny->Vypis(nazvy);
    const QSignalBlocker quiet(taby);
    while (taby->count() > 0)
        taby->removeTab(0);
    int znovu = 0;
    for (int i = 0; i < static_cast<int>(nazvy.size()); ++i) {
        taby->addTab(nazvy[i]);
        const int id = m_skupiny->prvky()[i].skupina_pokoju_id;
        taby->setTabData(i, id);
        if (vybrana.isValid() && vybrana.toInt() == id)
            znovu = i;
    }
    if (taby->count() > 0)
        taby->setCurrentIndex(znovu);
    // A tab strip is named by its current tab; without one it is no stop for Tab.
    taby->setFocusPolicy(taby->count() > 0 ? Qt::TabFocus : Qt::NoFocus);
}

void TVitranaForm::nactiSkupiny()
{
    try {
        m_skupiny = std::make_unique<SkupinyPokoju>();
    } catch (const DatabaseError &e) {
        MessageBox::chybaDatabaze(this, tr("Nepodařilo se načíst skupiny pokojů."), e);
        return;
    }
    ukazObsahDatabaze();
    vyplnTaby();
    refresh();
}

void TVitranaForm::refresh()
{
    const qint64 span = ui->OdDateTimePicker->date().daysTo(ui->DoDateTimePicker->date()) + 1;
    grid()->vyprazdni();

    if (span > 60) {
        MessageBox::show(this,
                         tr("Požadujete zobrazit %1 dní.").arg(span) + u'\n'
                             + tr("Maximálně lze zobrazit 60 dní, doporučeno je 30."),
                         tr("Velké časové rozpětí"), QMessageBox::Ok);
        return;
    }
    if (span > 30) {
        const auto answer = MessageBox::varovani(this,
                                                 tr("Požadujete zobrazit %1 dní.").arg(span) + u'\n'
                                                     + tr("Akce může trvat dlouho. Chcete pokračovat?"),
                                                 QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return;
    }
    // A tab stands for the group at its position, whatever its name.
    const int skupina = ui->ObsazenostPokojuTabControl->currentIndex();
    if (span < 1 || skupina < 0 || skupina >= static_cast<int>(m_skupiny->prvky().size()))
        return;

    try {
        grid()->ZobrazObsazenost(m_skupiny->prvky()[skupina], ui->OdDateTimePicker->date(),
                                 ui->DoDateTimePicker->date());
    } catch (const DatabaseError &e) {
        MessageBox::chybaDatabaze(this, tr("Nepodařilo se načíst obsazenost pokojů."), e);
    }
}

void TVitranaForm::ZobrazButtonClick()
{
    refresh();
}

void TVitranaForm::ObsazenostPokojuTabControlChange()
{
    refresh();
}

void TVitranaForm::otevriZeSmycky(std::function<void()> otevri)
{
    // The menu item's own call (an assistive tool's "press" too) returns at once
    // instead of waiting until the modal dialog is closed.
    QTimer::singleShot(0, this, [otevri = std::move(otevri)] {
        if (QApplication::activeModalWidget())
            return;   // pressed again before the first one opened, or over a dialog
        otevri();
    });
}

void TVitranaForm::MenuKlientiNovyKlientClick()
{
    otevriZeSmycky([this] { m_pridaniKlienta->ukaz(); });
}

void TVitranaForm::MenuKlientiUpravUdajeClick()
{
    otevriZeSmycky([this] { m_upravUdaje->ukaz(); });
}

void TVitranaForm::MenuRezervaceNovaRezervaceClick()
{
    otevriZeSmycky([this] { novaRezervace(); });
}

void TVitranaForm::MrizkaObsazenostiDblClick(const QString &cisloPokoje, const QDate &den)
{
    otevriZeSmycky([this, cisloPokoje, den] {
        // The client is still to be chosen; the rest is what was clicked.
        m_novaRezervace->prefill(cisloPokoje, den);
        novaRezervace();
    });
}

void TVitranaForm::novaRezervace()
{
    m_novaRezervace->ukaz();
    refresh();   // whatever closed the dialog
}

void TVitranaForm::SmazRezervaciClick()
{
    otevriZeSmycky([this] {
        m_smazRezervaci->ukaz();
        refresh();
    });
}

void TVitranaForm::MenuRezervacePrijezdyAOdjezdyClick()
{
    otevriZeSmycky([this] { m_prijezdyAOdjezdy->ukaz(); });
}

void TVitranaForm::MenuRezervacePrijezdHostaClick()
{
    otevriZeSmycky([this] {
        m_prijezdHosta->ukaz();
        refresh();   // an early arrival moves a stay's first day
    });
}

void TVitranaForm::MrizkaObsazenostiPrijezd(int pokojId, const QString &cisloPokoje, const QDate &den)
{
    otevriZeSmycky([this, pokojId, cisloPokoje, den] {
        std::vector<PobytPokoje> pobyty;
        try {
            pobyty = NactiPobytyPokoje(pokojId, den, den);
        } catch (const DatabaseError &e) {
            MessageBox::chybaDatabaze(this, tr("Nepodařilo se načíst rezervaci."), e);
            return;
        }
        if (!pobyty.empty())
            m_prijezdHosta->prefill(pobyty.front().cislo_objednavky, cisloPokoje);
        m_prijezdHosta->ukaz();
        refresh();   // an early arrival moves a stay's first day
    });
}

void TVitranaForm::MenuRezervaceOdjezdHostaClick()
{
    otevriZeSmycky([this] {
        m_odjezdHosta->ukaz();
        refresh();   // an early departure frees nights
    });
}

void TVitranaForm::MenuAdministracePokojeClick()
{
    otevriZeSmycky([this] {
        // Saved rooms reach the tabs and the grid at once.
        if (m_pokoje->ukaz() == QDialog::Accepted)
            nactiSkupiny();
    });
}

void TVitranaForm::MenuAdministraceTypyPokojuClick()
{
    otevriZeSmycky([this] { m_typyPokoju->ukaz(); });
}

void TVitranaForm::MenuAdministraceSkupinyPokojuClick()
{
    otevriZeSmycky([this] {
        if (m_skupinyPokoju->ukaz() == QDialog::Accepted)
            nactiSkupiny();
    });
}

void TVitranaForm::MenuAdministraceTypyDniClick()
{
    otevriZeSmycky([this] { m_typyDni->ukaz(); });
}

void TVitranaForm::MenuAdministraceHistorieZmenClick()
{
    otevriZeSmycky([this] { m_historieZmen->ukaz(); });
}

void TVitranaForm::MenuAdministracePrehledyClick()
{
    otevriZeSmycky([this] { m_prehledy->ukaz(); });
}

void TVitranaForm::MenuAdministraceUdajeOHoteluClick()
{
    otevriZeSmycky([this] { m_udajeOHotelu->ukaz(); });
}

void TVitranaForm::MenuUklidStavPokojuClick()
{
    otevriZeSmycky([this] {
        m_stavPokoju->ukaz();
        refresh();   // the rooms' marks and spans out of order
    });
}

void TVitranaForm::MenuKnihyDomovniKnihaClick()
{
    otevriZeSmycky([this] { m_domovniKniha->ukaz(); });
}

void TVitranaForm::MenuKnihyUbyportClick()
{
    otevriZeSmycky([this] { m_ubyport->ukaz(); });
}

void TVitranaForm::MenuKnihyEvidencniKnihaClick()
{
    otevriZeSmycky([this] { m_evidencniKniha->ukaz(); });
}

void TVitranaForm::SpolupraceSWebemClick()
{
    otevriZeSmycky([this] { m_spolupraceSWebem->ukaz(); });
}

void TVitranaForm::ZalohaDatabazeClick()
{
    otevriZeSmycky([this] {
        const Configuration &config = m_recepce->pristup().config;
        const QString slozka = config.mode == Configuration::Mode::Private ? config.automaticBackupFolder()
                                                                           : QDir::homePath();
        QDir().mkpath(slozka);
        const QString navrh = QDir(slozka).filePath(
            QStringLiteral("hotel-%1.sql.gz").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
        QString soubor = QFileDialog::getSaveFileName(this, tr("Záloha databáze"), navrh,
                                                      tr("Záloha databáze (*.sql.gz)"));
        if (soubor.isEmpty())
            return;
        if (!soubor.endsWith(QLatin1String(".sql.gz")))
            soubor += QStringLiteral(".sql.gz");
        zalohujDo(soubor);
    });
}

bool TVitranaForm::zalohujDo(const QString &soubor)
{
    if (!m_zalohovani) {
        m_zalohovani = new ZalohovaniNaPozadi(m_recepce->pristup(), this);
        m_prubehZalohy = new QProgressDialog(this);
        m_prubehZalohy->setObjectName(QStringLiteral("PrubehZalohy"));
        m_prubehZalohy->setWindowTitle(tr("Záloha databáze"));
        m_prubehZalohy->setCancelButtonText(tr("Zrušit"));
        m_prubehZalohy->setWindowModality(Qt::WindowModal);
        m_prubehZalohy->setMinimumDuration(0);
        m_prubehZalohy->setAutoClose(false);
        m_prubehZalohy->setAutoReset(false);
        m_prubehZalohy->reset();
        connect(m_prubehZalohy, &QProgressDialog::canceled, m_zalohovani, &ZalohovaniNaPozadi::zrus);
        connect(m_zalohovani, &ZalohovaniNaPozadi::prubeh, m_prubehZalohy, [this](qint64 hotovo, qint64 celkem) {
            // Rows can pass the server's estimate; the bar then stays nearly full.
            m_prubehZalohy->setValue(celkem > 0 ? int(std::min<qint64>(hotovo * 1000 / celkem, 999)) : 0);
        });
        connect(m_zalohovani, &ZalohovaniNaPozadi::dokonceno, this, [this](const QString &soubor, const QString &chyba) {
            m_prubehZalohy->reset();
            m_prubehZalohy->hide();
            if (chyba.isEmpty())
                MessageBox::show(this, tr("Záloha databáze je zapsána v souboru %1 (%2 kB).")
                                           .arg(QDir::toNativeSeparators(soubor))
                                           .arg((QFileInfo(soubor).size() + 1023) / 1024),
                                 tr("Záloha databáze"), QMessageBox::Ok, QMessageBox::Information);
            else
                MessageBox::chyba(this, chyba, QMessageBox::Warning);
        });
    }
    if (!m_zalohovani->zacni(soubor))
        return false;
    m_prubehZalohy->setRange(0, 1000);
    m_prubehZalohy->setValue(0);
    m_prubehZalohy->setLabelText(tr("Zapisuje se záloha do souboru %1…").arg(QDir::toNativeSeparators(soubor)));
    m_prubehZalohy->show();
    return true;
}

void TVitranaForm::OAplikaciClick()
{
    otevriZeSmycky([this] { m_aboutBox->ukaz(); });
}
