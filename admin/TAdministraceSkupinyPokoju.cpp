#include "admin/TAdministraceSkupinyPokoju.h"
#include "ui_TAdministraceSkupinyPokoju.h"

#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/Pokoje.h"
#include "model/SkupinyPokoju.h"

TAdministraceSkupinyPokoju::TAdministraceSkupinyPokoju(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceSkupinyPokoju>())
{
    ui->setupUi(this);
    using T = TAdministraceSkupinyPokoju;
    connect(ui->SkupinyPokojuListBox, &QListWidget::itemSelectionChanged, this, &T::SkupinyPokojuListBoxClick);
    connect(ui->PridejSkupinuButton, &QPushButton::clicked, this, &T::PridejSkupinuButtonClick);
    connect(ui->OdstranSkupinuButton, &QPushButton::clicked, this, &T::OdstranSkupinuButtonClick);
    connect(ui->PridejPokojeButton, &QPushButton::clicked, this, &T::PridejPokojeButtonClick);
    connect(ui->OdeberPokojeButton, &QPushButton::clicked, this, &T::OdeberPokojeButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &T::OKButtonClick);
    naEnter(ui->NovaSkupinaEdit, &T::NovaSkupinaEditKeyDown);
    zahazujPriSkryti(m_skupiny, m_pokoje);
}

TAdministraceSkupinyPokoju::~TAdministraceSkupinyPokoju() = default;

void TAdministraceSkupinyPokoju::FormShow()
{
    m_skupiny = std::make_unique<SkupinyPokoju>();
    m_pokoje = std::make_unique<Pokoje>();
    obnovVse();
}

void TAdministraceSkupinyPokoju::obnovVse()
{
    ui->NovaSkupinaEdit->clear();
    {
        // The member refresh below is the one for the emptied group list.
        const QSignalBlocker quiet(ui->SkupinyPokojuListBox);
        ListBox::vypis(ui->SkupinyPokojuListBox, *m_skupiny);
    }
    ListBox::vypis(ui->VsechnyPokojeListBox, *m_pokoje);
    obnovCleny();
}

void TAdministraceSkupinyPokoju::obnovCleny()
{
    QStringList clenove;
    const int skupina = ListBox::vybranyRadek(ui->SkupinyPokojuListBox);
    if (skupina >= 0)
        m_skupiny->VypisPokoje(skupina, clenove);
    ListBox::naplnit(ui->PokojeVeSkupineListBox, clenove);
}

void TAdministraceSkupinyPokoju::nactiZnovu()
{
    m_skupiny->reloadKeepingChanges();
    m_pokoje = std::make_unique<Pokoje>();
    obnovVse();
}

Pokoje TAdministraceSkupinyPokoju::vybranePokoje(const QListWidget *box, const Pokoje &pokoje)
{
    std::vector<Pokoj> vybrane;
    for (int radek : ListBox::vybraneRadky(box))
        vybrane.push_back(pokoje.prvky()[radek]);
    return Pokoje(std::move(vybrane));
}

void TAdministraceSkupinyPokoju::SkupinyPokojuListBoxClick()
{
    obnovCleny();
}

void TAdministraceSkupinyPokoju::PridejSkupinuButtonClick()
{
    const QString nazev = ui->NovaSkupinaEdit->text().trimmed();
    if (nazev.isEmpty()) {
        if (!ui->NovaSkupinaEdit->text().isEmpty())
            MessageBox::chyba(this, tr("Název skupiny pokojů nesmí být prázdný."));
        return;
    }
    // Two tabs of one name could not be told apart.
    bool obsazeny = false;
    if (!zkus(tr("Nepodařilo se přidat skupinu pokojů."), [&] { obsazeny = m_skupiny->nameTaken(nazev); }))
        return;
    if (obsazeny) {
        MessageBox::chyba(this, tr("Skupina pokojů „%1“ už existuje.").arg(nazev));
        return;
    }
    m_skupiny->Pridej(nazev);
    obnovVse();
}

void TAdministraceSkupinyPokoju::NovaSkupinaEditKeyDown()
{
    PridejSkupinuButtonClick();   // Enter adds as the button does
}

void TAdministraceSkupinyPokoju::OdstranSkupinuButtonClick()
{
    m_skupiny->Odstran(ListBox::vybranyRadek(ui->SkupinyPokojuListBox));
    obnovVse();
}

void TAdministraceSkupinyPokoju::PridejPokojeButtonClick()
{
    const int skupina = ListBox::vybranyRadek(ui->SkupinyPokojuListBox);
    if (skupina < 0)
        return;
    m_skupiny->PridejPokojeDoSkupiny(skupina, vybranePokoje(ui->VsechnyPokojeListBox, *m_pokoje));
    obnovCleny();
}

void TAdministraceSkupinyPokoju::OdeberPokojeButtonClick()
{
    const int skupina = ListBox::vybranyRadek(ui->SkupinyPokojuListBox);
    if (skupina < 0)
        return;
    m_skupiny->OdeberPokojeZeSkupiny(skupina,
                                     vybranePokoje(ui->PokojeVeSkupineListBox, m_skupiny->prvky()[skupina].clenove));
    obnovCleny();
}

void TAdministraceSkupinyPokoju::OKButtonClick()
{
    ulozAZavri(tr("Nepodařilo se uložit skupiny pokojů."), [this] { m_skupiny->Uloz(); }, [this] { nactiZnovu(); });
}
