#include "desk/TPrijezdyAOdjezdy.h"
#include "ui_TPrijezdyAOdjezdy.h"

#include "desk/TPrijezdHosta.h"
#include "gui/MessageBox.h"
#include "gui/TiskA4.h"
#include "model/PrijezdyAOdjezdy.h"

#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {
// The print is in Czech whatever the desk's regional settings.
QLocale cesky()
{
    return QLocale(QLocale::Czech, QLocale::CzechRepublic);
}

QString cena(double value)
{
    return cesky().toCurrencyString(value, QStringLiteral("Kč"));
}

/** A cell sorted by its key where it has one (numbers, prices), else as text with numbers in order ("2" before "10"). */
class Bunka : public QTableWidgetItem
{
public:
    explicit Bunka(const QString &text, const QVariant &klic = {}) : QTableWidgetItem(text)
    {
        if (klic.isValid()) {
            setData(Qt::UserRole, klic);
            setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        const QVariant a = data(Qt::UserRole), b = other.data(Qt::UserRole);
        if (a.isValid() && b.isValid())
            return a.toDouble() < b.toDouble();
        static const QCollator razeni = [] {
            // Czech order of names; the C locale's collation knows no numbers.
            QCollator c(cesky());
            c.setNumericMode(true);
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        return razeni.compare(text(), other.text()) < 0;
    }
};

// A room or a client deleted since the stay was stored.
QString nebo(bool existuje, const QString &text)
{
    return existuje ? text : QStringLiteral("?");
}

} // namespace

TPrijezdyAOdjezdy::TPrijezdyAOdjezdy(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TPrijezdyAOdjezdy>())
{
    ui->setupUi(this);
    for (QTableWidget *table : {ui->PrijezdyTable, ui->OdjezdyTable})
        table->sortByColumn(0, Qt::AscendingOrder);
    connect(ui->DenDatePicker, &QDateEdit::dateChanged, this, &TPrijezdyAOdjezdy::DenDatePickerChange);
    connect(ui->PredchoziDenButton, &QPushButton::clicked, this, &TPrijezdyAOdjezdy::PredchoziDenButtonClick);
    connect(ui->DnesButton, &QPushButton::clicked, this, &TPrijezdyAOdjezdy::DnesButtonClick);
    connect(ui->DalsiDenButton, &QPushButton::clicked, this, &TPrijezdyAOdjezdy::DalsiDenButtonClick);
    connect(ui->TiskButton, &QPushButton::clicked, this, &TPrijezdyAOdjezdy::TiskButtonClick);
    connect(ui->UlozitPdfButton, &QPushButton::clicked, this, &TPrijezdyAOdjezdy::UlozitPdfButtonClick);
    connect(ui->PrijezdHostaButton, &QPushButton::clicked, this, &TPrijezdyAOdjezdy::PrijezdHostaButtonClick);
    zahazujPriSkryti(m_seznam);
}

TPrijezdyAOdjezdy::~TPrijezdyAOdjezdy() = default;

void TPrijezdyAOdjezdy::FormShow()
{
    // Loaded once below, where a failure closes the dialog (the picker's own
    // handlers still see the change: its long date follows it).
    m_otevira = true;
    ui->DenDatePicker->setDate(QDate::currentDate());
    m_otevira = false;
    nactiDen();
}

void TPrijezdyAOdjezdy::nactiDen()
{
    // Empty while it loads, and so when the load fails: never the lists of another day.
    m_seznam.reset();
    vypisSeznam();
    m_seznam = std::make_unique<PrijezdyAOdjezdy>(PrijezdyAOdjezdy::Nacti(ui->DenDatePicker->date()));
    vypisSeznam();
}

void TPrijezdyAOdjezdy::vypisSeznam()
{
    static const std::vector<PobytDne> zadne;
    const std::vector<PobytDne> &prijezdy = m_seznam ? m_seznam->prijezdy : zadne;
    const std::vector<PobytDne> &odjezdy = m_seznam ? m_seznam->odjezdy : zadne;
    vypis(ui->PrijezdyTable, prijezdy);
    vypis(ui->OdjezdyTable, odjezdy);
    ui->PrijezdyLabel->setText(tr("Příjezdy (%1):").arg(prijezdy.size()));
    ui->OdjezdyLabel->setText(tr("Odjezdy (%1):").arg(odjezdy.size()));
}

void TPrijezdyAOdjezdy::vypis(QTableWidget *table, const std::vector<PobytDne> &pobyty)
{
    // Filled unsorted (a sorted table moves rows while they are filled), then sorted as the user left it.
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(int(pobyty.size()));
    for (int radek = 0; radek < int(pobyty.size()); ++radek) {
        const PobytDne &p = pobyty[radek];
        const QList<QTableWidgetItem *> bunky{
            new Bunka(QString::number(p.cislo_objednavky), p.cislo_objednavky),
            new Bunka(nebo(p.pokoj_existuje, p.cislo_pokoje)),
            new Bunka(nebo(p.klient_existuje, p.jmeno)),
            new Bunka(p.typ_klienta),
            new Bunka(p.telefon),
            new Bunka(QString::number(p.noci()), p.noci()),
            new Bunka(cena(p.cena), p.cena),
        };
        for (int sloupec = 0; sloupec < bunky.size(); ++sloupec)
            table->setItem(radek, sloupec, bunky[sloupec]);
    }
    table->setSortingEnabled(true);
    table->resizeColumnsToContents();
}

void TPrijezdyAOdjezdy::DenDatePickerChange()
{
    if (!m_otevira)
        zkus(tr("Nepodařilo se načíst příjezdy a odjezdy."), [this] { nactiDen(); });
}

void TPrijezdyAOdjezdy::PredchoziDenButtonClick()
{
    ui->DenDatePicker->setDate(ui->DenDatePicker->date().addDays(-1));
}

void TPrijezdyAOdjezdy::DnesButtonClick()
{
    ui->DenDatePicker->setDate(QDate::currentDate());
}

void TPrijezdyAOdjezdy::DalsiDenButtonClick()
{
    ui->DenDatePicker->setDate(ui->DenDatePicker->date().addDays(1));
}

QString TPrijezdyAOdjezdy::html() const
{
    const QStringList hlavicka{tr("Rezervace"), tr("Pokoj"), tr("Klient"), tr("Typ klienta"),
                               tr("Telefon"), tr("Nocí"), tr("Cena")};
    // In the order of the table on the screen, as the user sorted it.
    const auto seznam = [&](const QString &nadpis, const QTableWidget *table, const QString &zadny) {
        QString h = QStringLiteral("<h3>%1 (%2)</h3>").arg(nadpis.toHtmlEscaped()).arg(table->rowCount());
        if (table->rowCount() == 0)
            return h + QStringLiteral("<p>%1</p>").arg(zadny.toHtmlEscaped());
        h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
        for (const QString &nazev : hlavicka)
            h += QStringLiteral("<th>%1</th>").arg(nazev.toHtmlEscaped());
        h += QStringLiteral("</tr></thead><tbody>");
        for (int radek = 0; radek < table->rowCount(); ++radek) {
            h += QStringLiteral("<tr>");
            for (int sloupec = 0; sloupec < table->columnCount(); ++sloupec) {
                const QTableWidgetItem *bunka = table->item(radek, sloupec);
                const bool cislo = bunka && bunka->data(Qt::UserRole).isValid();
                h += (cislo ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>"))
                     + (bunka ? bunka->text().toHtmlEscaped() : QString()) + QStringLiteral("</td>");
            }
            h += QStringLiteral("</tr>");
        }
        return h + QStringLiteral("</tbody></table>");
    };
    const QDate den = m_seznam ? m_seznam->den : ui->DenDatePicker->date();
    return QStringLiteral("<h2>%1</h2>")
               .arg(tr("Příjezdy a odjezdy – %1").arg(cesky().toString(den, QStringLiteral("dddd d. MMMM yyyy")))
                        .toHtmlEscaped())
           + seznam(tr("Příjezdy"), ui->PrijezdyTable, tr("Žádné příjezdy."))
           + seznam(tr("Odjezdy"), ui->OdjezdyTable, tr("Žádné odjezdy."));
}

std::unique_ptr<QTextDocument> TPrijezdyAOdjezdy::dokument(QPrinter &printer) const
{
    return TiskA4::dokument(printer, html());
}

int TPrijezdyAOdjezdy::tiskniDo(QPrinter &printer)
{
    return TiskA4::tiskni(printer, html());
}

int TPrijezdyAOdjezdy::ulozPdf(const QString &soubor)
{
    return TiskA4::ulozPdf(this, soubor, html());
}

void TPrijezdyAOdjezdy::TiskButtonClick()
{
    TiskA4::nahled(this, tr("Tisk příjezdů a odjezdů"), html());
}

void TPrijezdyAOdjezdy::PrijezdHostaButtonClick()
{
    // The arrival chosen in the table, else the first one shown; the check-in window lists the rest.
    const QTableWidget *table = ui->PrijezdyTable;
    const int radek = table->currentRow() >= 0 ? table->currentRow() : 0;
    if (!m_prijezdHosta)
        return;
    if (radek < table->rowCount())
        m_prijezdHosta->prefill(table->item(radek, 0)->data(Qt::UserRole).toInt(), table->item(radek, 1)->text());
    if (m_prijezdHosta->ukaz() == QDialog::Accepted)
        zkus(tr("Nepodařilo se načíst příjezdy a odjezdy."), [this] { nactiDen(); });
}

void TPrijezdyAOdjezdy::UlozitPdfButtonClick()
{
    const QDate den = ui->DenDatePicker->date();
    const QString navrh =
        QDir::home().filePath(QStringLiteral("prijezdy-a-odjezdy-%1.pdf").arg(den.toString(u"yyyy-MM-dd")));
    QString soubor = QFileDialog::getSaveFileName(this, tr("Uložit jako PDF"), navrh, tr("Dokument PDF (*.pdf)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".pdf");
    ulozPdf(soubor);
}
