#include "desk/TDomovniKniha.h"
#include "ui_TDomovniKniha.h"

#include "db/TMojeQuery.h"
#include "gui/TiskA4.h"
#include "model/Historie.h"

#include <QDir>
#include <QFileDialog>

TDomovniKniha::TDomovniKniha(QWidget *parent) : TDialog(parent), ui(std::make_unique<Ui::TDomovniKniha>())
{
    ui->setupUi(this);
    ui->KnihaTable->setColumnCount(int(DomovniKniha::sloupce().size()));
    ui->KnihaTable->setHorizontalHeaderLabels(DomovniKniha::sloupce());
    connect(ui->OdDatePicker, &QDateEdit::dateChanged, this, &TDomovniKniha::ObdobiChange);
    connect(ui->DoDatePicker, &QDateEdit::dateChanged, this, &TDomovniKniha::ObdobiChange);
    connect(ui->TiskButton, &QPushButton::clicked, this, &TDomovniKniha::TiskButtonClick);
    connect(ui->UlozitPdfButton, &QPushButton::clicked, this, &TDomovniKniha::UlozitPdfButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TDomovniKniha::StornoButtonClick);
    zahazujPriSkryti(m_zapisy);
}

TDomovniKniha::~TDomovniKniha() = default;

void TDomovniKniha::FormShow()
{
    // The month so far: what a police check most often asks for.
    const QDate dnes = QDate::currentDate();
    const QSignalBlocker od(ui->OdDatePicker), doKdy(ui->DoDatePicker);
    ui->OdDatePicker->setDate(QDate(dnes.year(), dnes.month(), 1));
    ui->DoDatePicker->setDate(dnes);
    m_hotel = UdajeHotelu().udaje();
    nacti();
}

void TDomovniKniha::ObdobiChange()
{
    if (isVisible())
        zkus(tr("Nepodařilo se načíst domovní knihu."), [this] { nacti(); });
}

void TDomovniKniha::nacti()
{
    TMojeQuery q;
    m_zapisy = DomovniKniha::nacti(q, ui->OdDatePicker->date(), ui->DoDatePicker->date());
    vypis();
}

void TDomovniKniha::vypis()
{
    QTableWidget *table = ui->KnihaTable;
    table->clearContents();
    table->setRowCount(int(m_zapisy.size()));
    int neuplnych = 0;
    for (int radek = 0; radek < int(m_zapisy.size()); ++radek) {
        const ZapisDomovniKnihy &z = m_zapisy[radek];
        const bool neuplny = !z.chybi.isEmpty();
        neuplnych += neuplny;
        const QStringList texty = DomovniKniha::bunky(z);
        for (int sloupec = 0; sloupec < texty.size(); ++sloupec) {
            auto *bunka = new QTableWidgetItem(texty[sloupec]);
            if (neuplny) {
                // Colour alone tells a screen reader nothing: the cell's text says it too.
                bunka->setForeground(Qt::red);
                bunka->setData(Qt::AccessibleTextRole, tr("%1, neúplný záznam").arg(texty[sloupec]));
            }
            table->setItem(radek, sloupec, bunka);
        }
    }
    table->resizeColumnsToContents();
    QString souhrn = m_zapisy.empty() ? tr("V tomto období nebyl ubytován žádný cizinec.")
                                      : tr("Záznamů: %1.").arg(m_zapisy.size());
    if (neuplnych > 0)
        souhrn += u' ' + tr("Neúplných (červeně nahoře): %1 – doplňte chybějící údaje.").arg(neuplnych);
    ui->SouhrnLabel->setText(tr("Místo pobytu: %1. ").arg(DomovniKniha::mistoPobytu(m_hotel)) + souhrn);
}

QString TDomovniKniha::html() const
{
    return DomovniKniha::html(m_hotel, m_zapisy, ui->OdDatePicker->date(), ui->DoDatePicker->date());
}

int TDomovniKniha::ulozPdf(const QString &soubor)
{
    return TiskA4::ulozPdf(this, soubor, html(), QPageLayout::Landscape, DomovniKniha::mistoPobytu(m_hotel));
}

void TDomovniKniha::TiskButtonClick()
{
    TiskA4::nahled(this, tr("Tisk domovní knihy"), html(), QPageLayout::Landscape,
                   DomovniKniha::mistoPobytu(m_hotel));
}

void TDomovniKniha::UlozitPdfButtonClick()
{
    const QString navrh = QDir::home().filePath(QStringLiteral("domovni-kniha-%1-%2.pdf")
                                                    .arg(ui->OdDatePicker->date().toString(u"yyyy-MM-dd"),
                                                         ui->DoDatePicker->date().toString(u"yyyy-MM-dd")));
    QString soubor = QFileDialog::getSaveFileName(this, tr("Uložit jako PDF"), navrh, tr("Dokument PDF (*.pdf)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".pdf");
    ulozPdf(soubor);
}
