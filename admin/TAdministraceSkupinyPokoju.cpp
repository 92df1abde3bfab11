#include "admin/TAdministraceSkupinyPokoju.h"
#include "ui_TAdministraceSkupinyPokoju.h"

#include "gui/ListBox.h"
#include "model/Pokoje.h"
#include "model/SkupinyPokoju.h"

#include <QKeyEvent>

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
    connect(ui->StornoButton, &QPushButton::clicked, this, &T::StornoButtonClick);
    napojKeyDown(ui->NovaSkupinaEdit, &T::NovaSkupinaEditKeyDown);
}

TAdministraceSkupinyPokoju::~TAdministraceSkupinyPokoju() = default;

void TAdministraceSkupinyPokoju::FormShow()
{
    m_skupiny = std::make_unique<SkupinyPokoju>();
    m_pokoje = std::make_unique<Pokoje>();
    obnovVse();
}

void TAdministraceSkupinyPokoju::FormHide()
{
    m_skupiny.reset();
    m_pokoje.reset();
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
    const QString skupina = vybranaSkupina();
    if (!skupina.isNull())
        m_skupiny->VypisPokoje(skupina, clenove);
    ListBox::naplnit(ui->PokojeVeSkupineListBox, clenove);
}

QString TAdministraceSkupinyPokoju::vybranaSkupina() const
{
    const QStringList vybrana = ListBox::vybrane(ui->SkupinyPokojuListBox);
    return vybrana.isEmpty() ? QString() : vybrana.first();
}

Pokoje TAdministraceSkupinyPokoju::vybranePokoje(const QListWidget *box) const
{
    std::vector<Pokoj> pokoje;
    for (const QString &cislo : ListBox::vybrane(box))
        pokoje.push_back(m_pokoje->NajdiPokoj(cislo));
    return Pokoje(std::move(pokoje));
}

void TAdministraceSkupinyPokoju::SkupinyPokojuListBoxClick()
{
    obnovCleny();
}

void TAdministraceSkupinyPokoju::PridejSkupinuButtonClick()
{
    if (ui->NovaSkupinaEdit->text().isEmpty())
        return;
    // A new group starts with the links stored under its id, so this reads.
    if (zkus(tr("Nepodařilo se přidat skupinu pokojů."), [this] { m_skupiny->Pridej(ui->NovaSkupinaEdit->text()); }))
        obnovVse();
}

void TAdministraceSkupinyPokoju::NovaSkupinaEditKeyDown(QKeyEvent *key)
{
    if (jeEnter(key)) {
        key->accept();
        PridejSkupinuButtonClick();
    }
}

void TAdministraceSkupinyPokoju::OdstranSkupinuButtonClick()
{
    const QString skupina = vybranaSkupina();
    if (!skupina.isNull())
        m_skupiny->Odstran(skupina);
    obnovVse();
}

void TAdministraceSkupinyPokoju::PridejPokojeButtonClick()
{
    const QString skupina = vybranaSkupina();
    if (skupina.isNull())
        return;
    m_skupiny->PridejPokojeDoSkupiny(skupina, vybranePokoje(ui->VsechnyPokojeListBox));
    obnovCleny();
}

void TAdministraceSkupinyPokoju::OdeberPokojeButtonClick()
{
    const QString skupina = vybranaSkupina();
    if (skupina.isNull())
        return;
    m_skupiny->OdeberPokojeZeSkupiny(skupina, vybranePokoje(ui->PokojeVeSkupineListBox));
    obnovCleny();
}

void TAdministraceSkupinyPokoju::OKButtonClick()
{
    if (zkus(tr("Nepodařilo se uložit skupiny pokojů."), [this] { m_skupiny->Uloz(); }))
        accept();
}

void TAdministraceSkupinyPokoju::StornoButtonClick()
{
    reject();
}
