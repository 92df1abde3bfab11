#include "desk/TKlientiUpravUdaje.h"
#include "ui_TKlientiUpravUdaje.h"

#include "gui/MessageBox.h"
#include "gui/ModelKlientu.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"

TKlientiUpravUdaje::TKlientiUpravUdaje(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TKlientiUpravUdaje>())
{
    ui->setupUi(this);
    m_klienti = new ModelKlientu(ui->KlientiComboBox);
    connect(ui->SmazKlientaButton, &QPushButton::clicked, this, &TKlientiUpravUdaje::SmazKlientaButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TKlientiUpravUdaje::OKButtonClick);
}

TKlientiUpravUdaje::~TKlientiUpravUdaje() = default;

void TKlientiUpravUdaje::FormShow()
{
    m_klienti->nacti();
}

void TKlientiUpravUdaje::FormHide()
{
    m_klienti->zahod();
}

void TKlientiUpravUdaje::SmazKlientaButtonClick()
{
    // The client of the line chosen, by position: names repeat.
    const int klientId = m_klienti->klientNaRadku(ui->KlientiComboBox->currentIndex());
    if (klientId < 0)
        return;
    int pocet = 0;
    if (!zkus(tr("Nepodařilo se zjistit rezervace klienta."), [&] {
            Objednavky objednavky;
            objednavky.NactiProKlienta(klientId);
            pocet = objednavky.Pocet();
        }))
        return;
    if (pocet > 0) {
        nelzeSmazat();
        return;
    }
    if (MessageBox::varovani(this, tr("Opravdu chcete klienta trvale smazat?"), QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    // Checked again under the lock: another desk may have booked for the
    // client while the question was open.
    Klient::Smazani vysledek = Klient::Smazani::Smazan;
    if (!zkus(tr("Nepodařilo se smazat klienta."), [&] { vysledek = Klient::SmazKlienta(klientId); }))
        return;
    if (vysledek == Klient::Smazani::MaRezervace) {
        nelzeSmazat();
        return;
    }
    if (vysledek == Klient::Smazani::UzNeni)
        MessageBox::chyba(this, tr("Klient už neexistuje, mezitím ho smazala jiná recepce."));
    zkus(tr("Nepodařilo se načíst klienty."), [this] { FormShow(); });
}

void TKlientiUpravUdaje::nelzeSmazat()
{
    MessageBox::show(this, tr("Ke klientovi jsou jeste prirazeny nejake rezervace."), tr("Nelze smazat"));
}

void TKlientiUpravUdaje::OKButtonClick()
{
    accept();
}
