#include "desk/TUbyport.h"
#include "ui_TUbyport.h"

#include "gui/MessageBox.h"
#include "model/Historie.h"
#include "model/NahlaseniCizincu.h"
#include "model/UdajeOHotelu.h"
#include "model/Zeme.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>

TUbyport::TUbyport(QWidget *parent) : TDialog(parent), ui(std::make_unique<Ui::TUbyport>())
{
    ui->setupUi(this);
    connect(ui->UlozitSouborButton, &QPushButton::clicked, this, &TUbyport::UlozitSouborButtonClick);
    connect(ui->OznacitButton, &QPushButton::clicked, this, &TUbyport::OznacitButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TUbyport::StornoButtonClick);
    zahazujPriSkryti(m_hoste);
}

TUbyport::~TUbyport() = default;

void TUbyport::FormShow()
{
    m_den = QDate::currentDate();
    nacti();
    // Everyone listed is to be reported: all chosen, the receptionist narrows it.
    ui->HosteTable->selectAll();
    ui->HosteTable->setCurrentCell(0, 0, QItemSelectionModel::NoUpdate);
}

void TUbyport::nacti()
{
    m_hoste = NahlaseniCizincu::kNahlaseni(m_den);
    vypis();
}

void TUbyport::vypis()
{
    QTableWidget *table = ui->HosteTable;
    table->clearContents();
    table->setRowCount(int(m_hoste.size()));
    int poTerminu = 0;
    for (int radek = 0; radek < int(m_hoste.size()); ++radek) {
        const HlaseniHosta &h = m_hoste[radek];
        const QDate termin = Ubyport::termin(h.prvniDen);
        const bool pozde = Ubyport::poTerminu(h.prvniDen, m_den);
        poTerminu += pozde;
        QStringList stav;
        if (pozde)
            stav << tr("po termínu");
        if (h.opraven())
            stav << tr("údaje opraveny po nahlášení %1 (%2)").arg(Historie::datum(h.nahlaseno.date()), h.nahlasil);
        if (const QStringList chybi = Ubyport::coChybi(h, m_den); !chybi.isEmpty())
            stav << tr("chybí %1").arg(chybi.join(QStringLiteral(", ")));
        const QStringList texty{h.host.prijmeni + u' ' + h.host.jmeno, h.cislo_pokoje, Historie::datum(h.prvniDen),
                                Historie::datum(termin), Zeme::nazev(h.host.statni_prislusnost),
                                stav.join(QStringLiteral("; "))};
        for (int sloupec = 0; sloupec < texty.size(); ++sloupec) {
            auto *bunka = new QTableWidgetItem(texty[sloupec]);
            if (pozde) {
                // Colour alone tells a screen reader nothing: the cell's text says it too.
                bunka->setForeground(Qt::red);
                bunka->setData(Qt::AccessibleTextRole, tr("%1, po termínu").arg(texty[sloupec]));
            }
            table->setItem(radek, sloupec, bunka);
        }
    }
    table->resizeColumnsToContents();
    ui->SouhrnLabel->setText(m_hoste.empty()
                                 ? tr("Žádný cizinec nečeká na nahlášení.")
                                 : tr("K nahlášení: %1, z toho po termínu: %2. Hlásí se do tří pracovních dnů "
                                      "po dni příjezdu.")
                                       .arg(m_hoste.size())
                                       .arg(poTerminu));
    ui->UlozitSouborButton->setEnabled(!m_hoste.empty());
    ui->OznacitButton->setEnabled(!m_hoste.empty());
}

std::vector<HlaseniHosta> TUbyport::vybrani() const
{
    std::vector<HlaseniHosta> out;
    QList<int> radky;
    for (const QModelIndex &i : ui->HosteTable->selectionModel()->selectedRows())
        radky << i.row();
    std::sort(radky.begin(), radky.end());
    for (int radek : radky)
        if (radek < int(m_hoste.size()))
            out.push_back(m_hoste[radek]);
    return out;
}

bool TUbyport::ulozSoubor(const QString &soubor)
{
    const std::vector<HlaseniHosta> hoste = vybrani();
    UdajeOHotelu hotel;
    if (!zkus(tr("Nepodařilo se načíst údaje o hotelu."), [&] { hotel = UdajeHotelu().udaje(); }))
        return false;
    const Ubyport::Soubor s = Ubyport::soubor(hotel, hoste, QDateTime::currentDateTime(), m_den);
    if (!s.ok()) {
        MessageBox::chyba(this, tr("Soubor pro Ubyport nelze vytvořit:\n%1").arg(s.chyby.join(u'\n')));
        return false;
    }
    QSaveFile f(soubor);
    if (!f.open(QIODevice::WriteOnly) || f.write(s.data) != s.data.size() || !f.commit()) {
        MessageBox::chyba(this, tr("Soubor %1 se nepodařilo zapsat: %2").arg(QDir::toNativeSeparators(soubor),
                                                                           f.errorString()));
        return false;
    }
    return true;
}

void TUbyport::UlozitSouborButtonClick()
{
    if (vybrani().empty()) {
        MessageBox::chyba(this, tr("Vyberte hosty, které chcete nahlásit."));
        return;
    }
    const QString navrh = QDir::home().filePath(QStringLiteral("ubyport-%1.unl").arg(m_den.toString(u"yyyy-MM-dd")));
    const QString soubor =
        QFileDialog::getSaveFileName(this, tr("Uložit soubor pro Ubyport"), navrh, tr("Soubor UNL (*.unl)"));
    if (!soubor.isEmpty() && ulozSoubor(soubor))
        MessageBox::show(this,
                         tr("Soubor je uložen. Nahrajte jej do Ubyportu a po jeho přijetí označte hosty "
                            "jako nahlášené."),
                         tr("Ubyport"));
}

void TUbyport::OznacitButtonClick()
{
    const std::vector<HlaseniHosta> hoste = vybrani();
    if (hoste.empty()) {
        MessageBox::chyba(this, tr("Vyberte hosty, které policie přijala."));
        return;
    }
    if (MessageBox::show(this,
                         tr("Označit %n vybraných hostů jako nahlášené? Učiňte tak, až Ubyport soubor přijal.", "",
                            int(hoste.size())),
                         tr("Označit jako nahlášené"), QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    if (zkusUlozit(tr("Hosty se nepodařilo označit jako nahlášené."),
                   [&] { NahlaseniCizincu::oznacNahlasene(hoste); }, [this] { nacti(); }))
        zkus(tr("Nepodařilo se načíst cizince k nahlášení."), [this] { nacti(); });
}
