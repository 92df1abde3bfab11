#include "desk/TRezervaceSmazRezervaci.h"
#include "ui_TRezervaceSmazRezervaci.h"

#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "gui/ModelKlientu.h"
#include "model/Objednavky.h"

TRezervaceSmazRezervaci::TRezervaceSmazRezervaci(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TRezervaceSmazRezervaci>())
{
    ui->setupUi(this);
    m_klienti = new ModelKlientu(ui->KlientComboBox);
    connect(ui->KlientComboBox, &QComboBox::activated, this, &TRezervaceSmazRezervaci::KlientComboBoxChange);
    // Arrow keys move the selection too, not only clicks.
    connect(ui->RezervaceListBox, &QListWidget::itemSelectionChanged, this,
            &TRezervaceSmazRezervaci::RezervaceListBoxClick);
    connect(ui->SmazRezervaciButton, &QPushButton::clicked, this,
            &TRezervaceSmazRezervaci::SmazRezervaciButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TRezervaceSmazRezervaci::OKButtonClick);
    zahazujPriSkryti(m_objednavky);
}

TRezervaceSmazRezervaci::~TRezervaceSmazRezervaci() = default;

void TRezervaceSmazRezervaci::FormShow()
{
    m_klienti->nacti();
    m_objednavky.reset();
    m_klientId = -1;
    ui->RezervaceListBox->clear();
    RezervaceListBoxClick();
}

void TRezervaceSmazRezervaci::FormHide()
{
    m_klienti->zahod();
}

void TRezervaceSmazRezervaci::KlientComboBoxChange()
{
    m_objednavky.reset();
    m_klientId = -1;
    const int klientId = m_klienti->klientNaRadku(ui->KlientComboBox->currentIndex());
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
    const Objednavka *vybrana = vybranaObjednavka();
    if (!vybrana) {
        ui->OdLabel->clear();
        ui->DoLabel->clear();
        return;
    }
    ui->OdLabel->setText(vybrana->od_kdy.toString(u"yyyy-MM-dd"));
    ui->DoLabel->setText(vybrana->do_kdy.toString(u"yyyy-MM-dd"));
}

const Objednavka *TRezervaceSmazRezervaci::vybranaObjednavka() const
{
    const int radek = ListBox::vybranyRadek(ui->RezervaceListBox);
    if (!m_objednavky || radek < 0 || radek >= m_objednavky->Pocet())
        return nullptr;
    return &m_objednavky->prvky()[radek];
}

void TRezervaceSmazRezervaci::SmazRezervaciButtonClick()
{
    const Objednavka *vybrana = vybranaObjednavka();
    if (!vybrana)
        return;
    const int cislo = vybrana->cislo_objednavky;
    if (MessageBox::varovani(this, tr("Opravdu chcete rezervaci trvale smazat?"),
                             QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    bool smazana = true;
    if (zkus(tr("Nepodařilo se smazat rezervaci."), [&] { smazana = Objednavka::SmazObjednavku(cislo, m_klientId, m_objednavky->prvky()); })
        && !smazana)
        MessageBox::chyba(this, tr("Rezervace %1 už neexistuje, mezitím ji smazala jiná recepce.").arg(cislo));
    KlientComboBoxChange();
}

void TRezervaceSmazRezervaci::OKButtonClick()
{
    accept();
}
