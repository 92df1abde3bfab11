#include "desk/TRezervaceSmazRezervaci.h"
#include "ui_TRezervaceSmazRezervaci.h"

#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"

TRezervaceSmazRezervaci::TRezervaceSmazRezervaci(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TRezervaceSmazRezervaci>())
{
    ui->setupUi(this);
    connect(ui->KlientComboBox, &QComboBox::activated, this, &TRezervaceSmazRezervaci::KlientComboBoxChange);
    // Arrow keys move the selection too, not only clicks.
    connect(ui->RezervaceListBox, &QListWidget::itemSelectionChanged, this,
            &TRezervaceSmazRezervaci::RezervaceListBoxClick);
    connect(ui->SmazRezervaciButton, &QPushButton::clicked, this,
            &TRezervaceSmazRezervaci::SmazRezervaciButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TRezervaceSmazRezervaci::OKButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TRezervaceSmazRezervaci::StornoButtonClick);
}

TRezervaceSmazRezervaci::~TRezervaceSmazRezervaci() = default;

void TRezervaceSmazRezervaci::FormShow()
{
    m_klienti = std::make_unique<Klienti>();
    ListBox::vypis(ui->KlientComboBox, *m_klienti);
    m_objednavky.reset();
    m_klientId = -1;
    ui->RezervaceListBox->clear();
    RezervaceListBoxClick();
}

void TRezervaceSmazRezervaci::FormHide()
{
    m_klienti.reset();
    m_objednavky.reset();
    m_klientId = -1;
}

void TRezervaceSmazRezervaci::KlientComboBoxChange()
{
    m_objednavky.reset();
    m_klientId = -1;
    // Two clients of one name: the first one's reservations are listed.
    const int klientId = ui->KlientComboBox->currentIndex() < 0
                             ? -1
                             : m_klienti->NajdiId(ui->KlientComboBox->currentText());
    if (klientId >= 0) {
        auto objednavky = std::make_unique<Objednavky>();
        if (zkus(tr("Nepodařilo se načíst rezervace klienta."), [&] { objednavky->NactiProKlienta(klientId); })) {
            m_objednavky = std::move(objednavky);
            m_klientId = klientId;
        }
    }
    if (m_objednavky)
        ListBox::vypis(ui->RezervaceListBox, *m_objednavky);
    else
        ui->RezervaceListBox->clear();
    RezervaceListBoxClick();
}

void TRezervaceSmazRezervaci::RezervaceListBoxClick()
{
    const QStringList vybrana = ListBox::vybrane(ui->RezervaceListBox);
    if (!m_objednavky || vybrana.isEmpty()) {
        ui->OdLabel->clear();
        ui->DoLabel->clear();
        return;
    }
    const int cislo = vybrana.first().toInt();
    ui->OdLabel->setText(m_objednavky->NajdiOd(cislo).toString(u"yyyy-MM-dd"));
    ui->DoLabel->setText(m_objednavky->NajdiDo(cislo).toString(u"yyyy-MM-dd"));
}

void TRezervaceSmazRezervaci::SmazRezervaciButtonClick()
{
    const QStringList vybrana = ListBox::vybrane(ui->RezervaceListBox);
    if (!m_objednavky || vybrana.isEmpty())
        return;
    if (MessageBox::varovani(this, tr("Opravdu chcete rezervaci trvale smazat?"),
                             QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    zkus(tr("Nepodařilo se smazat rezervaci."), [&] { Objednavka::SmazObjednavku(vybrana.first().toInt(), m_klientId); });
    KlientComboBoxChange();
}

void TRezervaceSmazRezervaci::OKButtonClick()
{
    accept();
}

void TRezervaceSmazRezervaci::StornoButtonClick()
{
    reject();
}
