#include "admin/TAdministracePokoje.h"
#include "ui_TAdministracePokoje.h"

#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/Pokoje.h"
#include "model/TypyPokoju.h"

TAdministracePokoje::TAdministracePokoje(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministracePokoje>())
{
    ui->setupUi(this);
    connect(ui->PridejPokojButton, &QPushButton::clicked, this, &TAdministracePokoje::PridejPokojButtonClick);
    connect(ui->OdstranVybranePokojeButton, &QPushButton::clicked, this,
            &TAdministracePokoje::OdstranVybranePokojeButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TAdministracePokoje::OKButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TAdministracePokoje::StornoButtonClick);
}

TAdministracePokoje::~TAdministracePokoje() = default;

void TAdministracePokoje::FormShow()
{
    m_pokoje = std::make_unique<Pokoje>();
    m_typyPokoju = std::make_unique<TypyPokoju>();
    obnovSeznamy();
}

void TAdministracePokoje::FormHide()
{
    m_pokoje.reset();
    m_typyPokoju.reset();
}

void TAdministracePokoje::obnovSeznamy()
{
    ListBox::vypis(ui->NadefinovanePokojeListBox, *m_pokoje);
    ListBox::vypis(ui->TypyPokojuListBox, *m_typyPokoju);
}

void TAdministracePokoje::PridejPokojButtonClick()
{
    const QStringList typ = ListBox::vybrane(ui->TypyPokojuListBox);
    if (typ.isEmpty() || ui->NovyPokojEdit->text().isEmpty())
        return;
    if (!zkus(tr("Nepodařilo se přidat pokoj."), [&] { m_pokoje->Pridej(ui->NovyPokojEdit->text(), m_typyPokoju->NajdiId(typ.first())); }))
        return;
    obnovSeznamy();
}

void TAdministracePokoje::OdstranVybranePokojeButtonClick()
{
    const QStringList vybrane = ListBox::vybrane(ui->NadefinovanePokojeListBox);
    if (vybrane.isEmpty())
        return;
    // Guests booked from today on would vanish from the grid with their room.
    int budouci = 0;
    if (!zkus(tr("Nepodařilo se zjistit rezervace vybraných pokojů."), [&] {
            budouci = Pokoje::reservationsUntil(m_pokoje->roomsRemovedBy(vybrane), QDate::currentDate());
        }))
        return;
    if (budouci > 0
        && MessageBox::varovani(this,
                                tr("Vybrané pokoje mají rezervace na dnešek nebo pozdější dny (počet: %1).")
                                        .arg(budouci)
                                    + u'\n' + tr("Opravdu je chcete odstranit?"),
                                QMessageBox::Ok | QMessageBox::Cancel)
               != QMessageBox::Ok)
        return;
    for (const QString &cislo : vybrane)
        m_pokoje->Odstran(cislo);
    obnovSeznamy();
}

void TAdministracePokoje::OKButtonClick()
{
    if (zkus(tr("Nepodařilo se uložit pokoje."), [this] { m_pokoje->Uloz(); }))
        accept();
}

void TAdministracePokoje::StornoButtonClick()
{
    reject();
}
