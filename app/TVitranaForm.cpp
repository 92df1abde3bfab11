#include "app/TVitranaForm.h"

#include "app/MessageBox.h"
#include "app/ObsazenostGrid.h"
#include "app/Startup.h"
#include "app/TAboutBox.h"
#include "db/DatabaseError.h"
#include "model/SkupinyPokoju.h"
#include "web/TAdministraceSpolupraceSWebem.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

namespace {
// Grid origin: 10 px from the left edge, 2 px below the tab strip (24 + 22).
constexpr int gridX = 10;
constexpr int gridY = 48;
constexpr int clientWidth = 737;
} // namespace

TVitranaForm::TVitranaForm(const Configuration &config, bool emptyHotel, QWidget *parent)
    : QMainWindow(parent), m_listenPort(config.listenPort)
{
    setObjectName(QStringLiteral("VitranaForm"));
    setWindowTitle(tr("Vitrana"));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    move(142, 139);
    resize(754, 530);
    createControls();
    createMenu();
    FormCreate(config, emptyHotel);
}

TVitranaForm::~TVitranaForm() = default;

void TVitranaForm::createControls()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ClientArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_client = new QWidget;
    m_client->setMinimumSize(clientWidth, gridY);
    m_scroll->setWidget(m_client);
    setCentralWidget(m_scroll);

    auto *odLabel = new QLabel(tr("Od:"), m_client);
    odLabel->setObjectName(QStringLiteral("OdLabel"));
    odLabel->move(8, 3);
    auto *doLabel = new QLabel(tr("Do:"), m_client);
    doLabel->setObjectName(QStringLiteral("DoLabel"));
    doLabel->move(232, 3);

    const QString longDate = QLocale().dateFormat(QLocale::LongFormat);
    for (QDateTimeEdit **picker : {&m_od, &m_do}) {
        *picker = new QDateTimeEdit(m_client);
        (*picker)->setCalendarPopup(true);
        (*picker)->setDisplayFormat(longDate);
    }
    m_od->setObjectName(QStringLiteral("OdDateTimePicker"));
    m_od->setGeometry(32, 0, 186, 21);
    m_do->setObjectName(QStringLiteral("DoDateTimePicker"));
    m_do->setGeometry(256, 0, 186, 21);

    m_zobraz = new QPushButton(tr("Zobraz"), m_client);
    m_zobraz->setObjectName(QStringLiteral("ZobrazButton"));
    m_zobraz->setGeometry(448, 0, 75, 21);
    connect(m_zobraz, &QPushButton::clicked, this, &TVitranaForm::ZobrazButtonClick);

    m_taby = new QTabBar(m_client);
    m_taby->setObjectName(QStringLiteral("ObsazenostPokojuTabControl"));
    m_taby->setGeometry(0, 24, clientWidth, 22);
    m_taby->setExpanding(false);
    m_taby->setMouseTracking(true);   // hot tracking
    connect(m_taby, &QTabBar::currentChanged, this, &TVitranaForm::ObsazenostPokojuTabControlChange);

    m_grid = new ObsazenostGrid(m_client);
    m_grid->move(gridX, gridY);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(19);
}

QAction *TVitranaForm::addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setEnabled(false);   // until its dialog exists
    return item;
}

void TVitranaForm::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("HlavniMenu"));

    QMenu *klienti = bar->addMenu(tr("Klienti"));
    klienti->setObjectName(QStringLiteral("MenuKlienti"));
    addItem(klienti, "MenuKlientiNovyKlient", tr("Nový klient..."));
    addItem(klienti, "MenuKlientiUpravUdaje", tr("Uprav údaje..."));

    QMenu *rezervace = bar->addMenu(tr("Rezervace"));
    rezervace->setObjectName(QStringLiteral("MenuRezervace"));
    addItem(rezervace, "MenuRezervaceNovaRezervace", tr("Nová rezervace..."));
    addItem(rezervace, "SmazRezervaci", tr("Smaž rezervaci..."));

    QMenu *administrace = bar->addMenu(tr("Administrace"));
    administrace->setObjectName(QStringLiteral("MenuAdministrace"));
    addItem(administrace, "MenuAdministracePokoje", tr("Pokoje..."));
    addItem(administrace, "MenuAdministraceTypyPokoju", tr("Typy pokojů..."));
    addItem(administrace, "MenuAdministraceSkupinyPokoju", tr("Skupiny pokojů..."));
    administrace->addSeparator()->setObjectName(QStringLiteral("Linka1"));
    addItem(administrace, "MenuAdministraceTypyDni", tr("Typy dní..."));
    administrace->addSeparator()->setObjectName(QStringLiteral("N1"));
    addItem(administrace, "SpolupraceSWebem", tr("Spolupráce s webem..."));

    QMenu *napoveda = bar->addMenu(tr("Nápověda"));
    napoveda->setObjectName(QStringLiteral("MenuNapoveda"));
    connect(addItem(napoveda, "OAplikaci", tr("O aplikaci")), &QAction::triggered, this,
            &TVitranaForm::OAplikaciClick);
}

void TVitranaForm::FormCreate(const Configuration &config, bool emptyHotel)
{
    auto pripojeni = std::make_unique<Pripojeni>(config, emptyHotel);
    try {
        pripojeni->open(this);
    } catch (const DatabaseError &e) {
        MessageBox::show(this, tr("Nepodařilo se připojit k databázi."), tr("Chyba"), QMessageBox::Ok,
                         QMessageBox::Critical, e.text());
        return;
    }
    m_pripojeni = std::move(pripojeni);
    m_skupiny = std::make_unique<SkupinyPokoju>();
}

bool TVitranaForm::jePripojeno() const
{
    return m_pripojeni != nullptr;
}

void TVitranaForm::createDialogs()
{
    m_aboutBox = new TAboutBox(this);
    findChild<QAction *>(QStringLiteral("OAplikaci"))->setEnabled(true);
    // Last: from here on the desk listens for guests forwarded by the web site.
    m_spolupraceSWebem = new TAdministraceSpolupraceSWebem(quint16(m_listenPort), this);
    QAction *web = findChild<QAction *>(QStringLiteral("SpolupraceSWebem"));
    web->setEnabled(true);
    connect(web, &QAction::triggered, this, &TVitranaForm::SpolupraceSWebemClick);
}

void TVitranaForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TVitranaForm::FormShow()
{
    if (!jePripojeno()) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    m_od->setDateTime(now);
    m_do->setDateTime(now.addDays(29));

    QStringList nazvy;
    m_skupiny->Vypis(nazvy);
    {
        const QSignalBlocker quiet(m_taby);
        while (m_taby->count() > 0)
            m_taby->removeTab(0);
        for (const QString &nazev : nazvy)
            m_taby->addTab(nazev);
        if (m_taby->count() > 0)
            m_taby->setCurrentIndex(0);
    }
    refresh();
}

void TVitranaForm::refresh()
{
    const qint64 span = m_od->date().daysTo(m_do->date()) + 1;
    m_grid->vyprazdni();
    fitClientArea();

    if (span > 60) {
        MessageBox::show(this,
                         tr("Požadujete zobrazit %1 dní.").arg(span) + u'\n'
                             + tr("Maximálně lze zobrazit 60 dní, doporučeno je 30."),
                         tr("Velké časové rozpětí"), QMessageBox::Ok);
        return;
    }
    if (span > 30) {
        const auto answer = MessageBox::show(this,
                                             tr("Požadujete zobrazit %1 dní.").arg(span) + u'\n'
                                                 + tr("Akce může trvat dlouho. Chcete pokračovat?"),
                                             tr("Varování"), QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return;
    }
    if (span < 1 || m_taby->currentIndex() < 0)
        return;

    m_grid->ZobrazObsazenost(*m_skupiny, m_taby->tabText(m_taby->currentIndex()), m_od->date(), m_do->date());
    fitClientArea();
}

void TVitranaForm::fitClientArea()
{
    // Scroll bars appear when the grid is larger than the window.
    const QSize grid = m_grid->sizeHint();
    m_client->setMinimumSize(qMax(clientWidth, gridX + grid.width()), gridY + grid.height());
}

void TVitranaForm::ZobrazButtonClick()
{
    refresh();
}

void TVitranaForm::ObsazenostPokojuTabControlChange()
{
    refresh();
}

void TVitranaForm::OAplikaciClick()
{
    m_aboutBox->exec();
}

void TVitranaForm::SpolupraceSWebemClick()
{
    m_spolupraceSWebem->exec();
}
