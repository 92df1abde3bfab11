#include "admin/TPrehledy.h"
#include "ui_TPrehledy.h"

#include "gui/MessageBox.h"
#include "gui/TiskA4.h"

#include <QAbstractTableModel>
#include <QCategoryAxis>
#include <QChart>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineSeries>
#include <QSaveFile>
#include <QValueAxis>

using namespace Prehledy;

/**
 * The rows shown, as the view asks for them: three years by day are a
 * thousand rows of eight figures, and a screen reader's bridge that hears
 * of every cell set one by one held the window for seconds; a model is
 * reset once and read for the cells in view.
 */
class TPrehledy::Model : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void ukaz(const std::vector<RadekPrehledu> &radky, Rozpad rozpad)
    {
        beginResetModel();
        m_zahlavi = zahlavi(rozpad);
        m_prvniCislo = rozpad == Rozpad::Celkem ? 1 : 2;
        m_texty.clear();
        m_texty.reserve(radky.size());
        for (const RadekPrehledu &r : radky)
            m_texty.push_back(Prehledy::texty(r, rozpad, true));
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_texty.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_zahlavi.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return m_texty[std::size_t(index.row())].value(index.column());
        if (role == Qt::TextAlignmentRole && index.column() >= m_prvniCislo)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
            return QAbstractTableModel::headerData(section, orientation, role);
        if (role == Qt::DisplayRole)
            return m_zahlavi[section];
        // The figures' definitions where they are read; the full text is under the table.
        static const char *const vysvetleni[] = {
            QT_TRANSLATE_NOOP("TPrehledy", "Noci pokojů skupiny obsazené pobyty v období."),
            QT_TRANSLATE_NOOP("TPrehledy", "Pokoje skupiny, jak jsou dnes, × dny období."),
            QT_TRANSLATE_NOOP("TPrehledy", "Obsazené / dostupné pokojonoci."),
            QT_TRANSLATE_NOOP("TPrehledy", "Ceny pobytů rozdělené rovným dílem na jejich noci."),
            QT_TRANSLATE_NOOP("TPrehledy", "Průměrná cena obsazené noci: tržba / obsazené pokojonoci."),
            QT_TRANSLATE_NOOP("TPrehledy", "Tržba na dostupnou pokojonoc: tržba / dostupné pokojonoci.")};
        const int cislo = section - m_prvniCislo;
        if (role == Qt::ToolTipRole && cislo >= 0 && cislo < 6)
            return QCoreApplication::translate("TPrehledy", vysvetleni[cislo]);
        return {};
    }

private:
    QStringList m_zahlavi;
    int m_prvniCislo = 1;
    std::vector<QStringList> m_texty;
};

TPrehledy::TPrehledy(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TPrehledy>())
{
    ui->setupUi(this);
    // The chart only pictures the table, which the keyboard and a screen
    // reader reach with every figure; Tab passes it by.
    ui->GrafView->setFocusPolicy(Qt::NoFocus);
    ui->GrafView->viewport()->setFocusPolicy(Qt::NoFocus);
    connect(ui->ZobrazitButton, &QPushButton::clicked, this, &TPrehledy::ZobrazitButtonClick);
    connect(ui->UlozitCsvButton, &QPushButton::clicked, this, &TPrehledy::UlozitCsvButtonClick);
    connect(ui->TiskButton, &QPushButton::clicked, this, &TPrehledy::TiskButtonClick);
    connect(ui->UlozitPdfButton, &QPushButton::clicked, this, &TPrehledy::UlozitPdfButtonClick);
    m_model = new Model(this);
    ui->PrehledTable->setModel(m_model);
    ui->PrehledTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->GrafView->setRenderHint(QPainter::Antialiasing);
    ui->TabulkaAGraf->setStretchFactor(0, 2);
    ui->TabulkaAGraf->setStretchFactor(1, 1);
    zahazujPriSkryti(m_radky);
}

TPrehledy::~TPrehledy() = default;

void TPrehledy::FormShow()
{
    // Every opening starts at the current month of the whole hotel.
    const QDate dnes = QDate::currentDate();
    ui->OdDatePicker->setDate(QDate(dnes.year(), dnes.month(), 1));
    ui->DoDatePicker->setDate(QDate(dnes.year(), dnes.month(), dnes.daysInMonth()));
    ui->SkupinaComboBox->clear();
    ui->SkupinaComboBox->addItem(tr("Všechny pokoje"), -1);
    std::vector<SkupinaPrehledu> s;
    zkus(tr("Nepodařilo se načíst skupiny pokojů."), [&] { s = skupiny(); });
    for (const SkupinaPrehledu &skupina : s)
        ui->SkupinaComboBox->addItem(skupina.nazev_skupiny_pokoju, skupina.skupina_pokoju_id);
    ZobrazitButtonClick();
}

void TPrehledy::ZobrazitButtonClick()
{
    Zadani z;
    z.od = ui->OdDatePicker->date();
    z.doKdy = ui->DoDatePicker->date();
    if (z.doKdy < z.od) {
        MessageBox::chyba(this, tr("Konec období je před jeho začátkem."));
        return;
    }
    z.skupinaPokojuId = ui->SkupinaComboBox->currentData().toInt();
    z.cleneni = ui->CleneniComboBox->currentIndex() == 0 ? Cleneni::PoDnech : Cleneni::PoMesicich;
    z.rozpad = static_cast<Rozpad>(qBound(0, ui->RozpadComboBox->currentIndex(), 2));
    std::vector<RadekPrehledu> radky;
    if (!zkus(tr("Nepodařilo se načíst přehled."), [&] { radky = nacti(z); }))
        return;
    m_radky = std::move(radky);
    m_zadani = z;
    ukazTabulku();
    ukazGraf();
}

void TPrehledy::ukazTabulku()
{
    m_model->ukaz(m_radky, m_zadani.rozpad);
    ui->UlozitCsvButton->setEnabled(!m_radky.empty());
    ui->TiskButton->setEnabled(!m_radky.empty());
    ui->UlozitPdfButton->setEnabled(!m_radky.empty());
}

void TPrehledy::ukazGraf()
{
    // Occupancy only, one line per category over the buckets: every
    // category shares the 0-100 % scale; the money is in the table.
    auto *graf = new QChart;
    graf->setTitle(tr("Obsazenost %"));
    graf->legend()->setVisible(m_zadani.rozpad != Rozpad::Celkem);
    // At the right, one category a line: below the chart the legend shares
    // one line and cut the names ("Host…") at the designed size.
    graf->legend()->setAlignment(Qt::AlignRight);
    graf->legend()->setShowToolTips(true);

    std::vector<QString> obdobi;
    std::vector<QLineSeries *> rady;   // by the category's place
    QDate kos;
    for (const RadekPrehledu &r : m_radky) {
        if (obdobi.empty() || kos != r.od) {
            obdobi.push_back(r.obdobi);
            kos = r.od;
        }
        if (std::size_t(r.poradiKategorie) >= rady.size())
            rady.resize(std::size_t(r.poradiKategorie) + 1, nullptr);
        QLineSeries *&rada = rady[std::size_t(r.poradiKategorie)];
        if (!rada) {
            rada = new QLineSeries;
            rada->setName(r.kategorie.isEmpty() ? tr("Celkem") : r.kategorie);
            rada->setPointsVisible(true);
        }
        // A bucket without rooms has no occupancy: the line leaves it out.
        if (const auto obsazenost = r.obsazenost())
            rada->append(double(obdobi.size() - 1), *obsazenost);
    }

    auto *osaX = new QCategoryAxis;
    osaX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    osaX->setLabelsAngle(-90);   // dates and months side by side do not fit
    osaX->setTruncateLabels(false);
    // About a dozen labels at most, so a year by days stays legible.
    const int krok = qMax(1, int(obdobi.size() + 11) / 12);
    for (int i = 0; i < int(obdobi.size()); i += krok)
        osaX->append(obdobi[std::size_t(i)], i);
    osaX->setRange(-0.5, qMax(0.5, double(obdobi.size()) - 0.5));
    auto *osaY = new QValueAxis;
    osaY->setRange(0, 100);
    osaY->setLabelFormat(QStringLiteral("%d"));
    graf->addAxis(osaX, Qt::AlignBottom);
    graf->addAxis(osaY, Qt::AlignLeft);
    for (QLineSeries *rada : rady) {
        if (!rada)
            continue;
        graf->addSeries(rada);
        rada->attachAxis(osaX);
        rada->attachAxis(osaY);
    }

    QChart *stary = ui->GrafView->chart();
    ui->GrafView->setChart(graf);
    delete stary;   // the view leaves its previous chart to the caller
}

void TPrehledy::UlozitCsvButtonClick()
{
    const QString navrh = QDir::home().filePath(
        QStringLiteral("prehled-%1-%2.csv")
            .arg(m_zadani.od.toString(QStringLiteral("yyyyMMdd")), m_zadani.doKdy.toString(QStringLiteral("yyyyMMdd"))));
    QString soubor = QFileDialog::getSaveFileName(this, tr("Uložit přehled"), navrh, tr("Soubor CSV (*.csv)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".csv");
    ulozCsv(soubor);
}

QString TPrehledy::html() const
{
    const QLocale cs(QLocale::Czech, QLocale::Czechia);
    QString h = QStringLiteral("<h2>%1</h2><p>%2 – %3, %4</p>")
                    .arg(tr("Obsazenost a tržby").toHtmlEscaped(), cs.toString(m_zadani.od, QStringLiteral("d. M. yyyy")),
                         cs.toString(m_zadani.doKdy, QStringLiteral("d. M. yyyy")),
                         ui->SkupinaComboBox->currentText().toHtmlEscaped());
    return h + TiskA4::tabulka(m_model);
}

void TPrehledy::TiskButtonClick()
{
    TiskA4::nahled(this, tr("Tisk přehledu"), html());
}

void TPrehledy::UlozitPdfButtonClick()
{
    const QString navrh = QDir::home().filePath(
        QStringLiteral("prehled-%1-%2.pdf")
            .arg(m_zadani.od.toString(QStringLiteral("yyyyMMdd")), m_zadani.doKdy.toString(QStringLiteral("yyyyMMdd"))));
    QString soubor = QFileDialog::getSaveFileName(this, tr("Uložit jako PDF"), navrh, tr("Dokument PDF (*.pdf)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".pdf");
    ulozPdf(soubor);
}

int TPrehledy::ulozPdf(const QString &soubor)
{
    return TiskA4::ulozPdf(this, soubor, html());
}

bool TPrehledy::ulozCsv(const QString &soubor)
{
    QSaveFile f(soubor);
    if (f.open(QIODevice::WriteOnly) && f.write(Prehledy::csv(m_radky, m_zadani.rozpad)) >= 0 && f.commit())
        return true;
    MessageBox::chyba(this, tr("Přehled se nepodařilo uložit do „%1“: %2").arg(QDir::toNativeSeparators(soubor),
                                                                               f.errorString()));
    return false;
}
