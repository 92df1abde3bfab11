#include "desk/TEvidencniKniha.h"
#include "ui_TEvidencniKniha.h"

#include "gui/MessageBox.h"
#include "gui/TiskA4.h"
#include "model/Historie.h"

#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QSaveFile>

namespace {
QString castka(double v)
{
    return QStringLiteral("%1 Kč").arg(QLocale(QLocale::Czech, QLocale::Czechia).toString(v, 'f', 2));
}

QString osvobozeni(const SouhrnMesice &m)
{
    QStringList out;
    for (auto i = m.osvobozeni.cbegin(); i != m.osvobozeni.cend(); ++i)
        out << QStringLiteral("%1: %2").arg(i.key()).arg(i.value());
    return out.join(QStringLiteral("; "));
}

void naplnTabulku(QTableWidget *table, const std::vector<QStringList> &radky)
{
    table->clearContents();
    table->setRowCount(int(radky.size()));
    for (int r = 0; r < int(radky.size()); ++r)
        for (int s = 0; s < radky[r].size(); ++s)
            table->setItem(r, s, new QTableWidgetItem(radky[r][s]));
    table->resizeColumnsToContents();
}
} // namespace

TEvidencniKniha::TEvidencniKniha(QWidget *parent) : TDialog(parent), ui(std::make_unique<Ui::TEvidencniKniha>())
{
    ui->setupUi(this);
    connect(ui->ZobrazitButton, &QPushButton::clicked, this, &TEvidencniKniha::ZobrazitButtonClick);
    connect(ui->TiskButton, &QPushButton::clicked, this, &TEvidencniKniha::TiskButtonClick);
    connect(ui->UlozitPdfButton, &QPushButton::clicked, this, &TEvidencniKniha::UlozitPdfButtonClick);
    connect(ui->SouhrnCsvButton, &QPushButton::clicked, this, &TEvidencniKniha::SouhrnCsvButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TEvidencniKniha::StornoButtonClick);
    zahazujPriSkryti(m_zapisy, m_mesice);
}

TEvidencniKniha::~TEvidencniKniha() = default;

void TEvidencniKniha::FormShow()
{
    // The fee is paid for past months: every opening offers the last one.
    const QDate minuly = QDate::currentDate().addMonths(-1);
    ui->OdDatePicker->setDate(QDate(minuly.year(), minuly.month(), 1));
    ui->DoDatePicker->setDate(QDate(minuly.year(), minuly.month(), minuly.daysInMonth()));
    ZobrazitButtonClick();
}

void TEvidencniKniha::ZobrazitButtonClick()
{
    const QDate od = ui->OdDatePicker->date(), doKdy = ui->DoDatePicker->date();
    if (doKdy < od) {
        MessageBox::chyba(this, tr("Konec období je před jeho začátkem."));
        return;
    }
    zkus(tr("Evidenční knihu se nepodařilo načíst."), [&] {
        m_hotel = UdajeHotelu().udaje();
        m_zapisy = EvidencniKniha::nacti(od, doKdy, m_hotel.poplatek_sazba);
        m_mesice = EvidencniKniha::souhrn(m_zapisy, od, doKdy, m_hotel.poplatek_sazba);
        m_od = od;
        m_do = doKdy;
    });
    vypis();
}

void TEvidencniKniha::vypis()
{
    std::vector<QStringList> radky;
    for (const ZapisKnihy &z : m_zapisy)
        radky.push_back({Historie::datum(z.prvniDen()), Historie::datum(z.posledniDen()),
                         z.host.jmeno + u' ' + z.host.prijmeni, EvidencniKniha::adresa(z.host),
                         Historie::datum(z.host.datum_narozeni), EvidencniKniha::doklad(z.host), z.cislo_pokoje,
                         EvidencniKniha::poplatekText(z.poplatek)});
    naplnTabulku(ui->KnihaTable, radky);
    radky.clear();
    for (const SouhrnMesice &m : m_mesice)
        radky.push_back({EvidencniKniha::nazevMesice(m.mesic), QString::number(m.osob), QString::number(m.noci), QString::number(m.placene),
                         castka(m.castka), osvobozeni(m)});
    naplnTabulku(ui->MesiceTable, radky);
    const bool neco = !m_zapisy.empty();
    ui->TiskButton->setEnabled(neco);
    ui->UlozitPdfButton->setEnabled(neco);
    ui->SouhrnCsvButton->setEnabled(!m_mesice.empty());
}

QString TEvidencniKniha::html() const
{
    QString h = QStringLiteral("<h2>%1</h2><p>%2, %3<br>%4 – %5, %6</p>")
                    .arg(tr("Evidenční kniha – poplatek z pobytu").toHtmlEscaped(), m_hotel.zarizeni.toHtmlEscaped(),
                         m_hotel.obec.toHtmlEscaped(), Historie::datum(m_od), Historie::datum(m_do),
                         tr("sazba %1 za osobu a den").arg(castka(m_hotel.poplatek_sazba)).toHtmlEscaped());
    h += TiskA4::tabulka(ui->KnihaTable);
    h += QStringLiteral("<h3>%1</h3>").arg(tr("Součty po měsících").toHtmlEscaped()) + TiskA4::tabulka(ui->MesiceTable);
    return h;
}

void TEvidencniKniha::TiskButtonClick()
{
    TiskA4::nahled(this, tr("Tisk evidenční knihy"), html());
}

void TEvidencniKniha::UlozitPdfButtonClick()
{
    const QString navrh = QDir::home().filePath(QStringLiteral("evidencni-kniha-%1-%2.pdf")
                                                    .arg(m_od.toString(u"yyyyMMdd"), m_do.toString(u"yyyyMMdd")));
    QString soubor = QFileDialog::getSaveFileName(this, tr("Uložit jako PDF"), navrh, tr("Dokument PDF (*.pdf)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".pdf");
    ulozPdf(soubor);
}

int TEvidencniKniha::ulozPdf(const QString &soubor)
{
    return TiskA4::ulozPdf(this, soubor, html());
}

void TEvidencniKniha::SouhrnCsvButtonClick()
{
    const QString navrh = QDir::home().filePath(QStringLiteral("poplatek-z-pobytu-%1-%2.csv")
                                                    .arg(m_od.toString(u"yyyyMMdd"), m_do.toString(u"yyyyMMdd")));
    QString soubor =
        QFileDialog::getSaveFileName(this, tr("Souhrn pro obec (CSV)"), navrh, tr("Soubor CSV (*.csv)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".csv");
    ulozSouhrnCsv(soubor);
}

bool TEvidencniKniha::ulozSouhrnCsv(const QString &soubor)
{
    const QByteArray data = EvidencniKniha::csv(m_mesice, m_hotel.poplatek_sazba);
    QSaveFile f(soubor);
    if (f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit())
        return true;
    MessageBox::chyba(this, tr("Souhrn se nepodařilo uložit do „%1“: %2").arg(QDir::toNativeSeparators(soubor),
                                                                             f.errorString()));
    return false;
}
