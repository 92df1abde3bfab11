#include "admin/TAdministraceTypyDni.h"
#include "ui_TAdministraceTypyDni.h"

#include "admin/TNastaveniDnuUTypuDne.h"
#include "gui/ListBox.h"
#include "model/TypyDnu.h"

#include <QKeyEvent>
#include <QWindow>

TAdministraceTypyDni::TAdministraceTypyDni(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceTypyDni>())
{
    ui->setupUi(this);
    connect(ui->PridejTypDneButton, &QPushButton::clicked, this, &TAdministraceTypyDni::PridejTypDneButtonClick);
    connect(ui->OdstranVybranyTypButton, &QPushButton::clicked, this,
            &TAdministraceTypyDni::OdstranVybranyTypButtonClick);
    connect(ui->PriradDnyVybranemuTypuButton, &QPushButton::clicked, this,
            &TAdministraceTypyDni::PriradDnyVybranemuTypuButtonClick);
    connect(ui->PosunTypDneNahoruButton, &QPushButton::clicked, this,
            &TAdministraceTypyDni::PosunTypDneNahoruButtonClick);
    connect(ui->PosunTypDneDoluButton, &QPushButton::clicked, this, &TAdministraceTypyDni::PosunTypDneDoluButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TAdministraceTypyDni::OKButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TAdministraceTypyDni::StornoButtonClick);
    napojKeyDown(ui->NovyTypDneEdit, &TAdministraceTypyDni::NovyTypDneEditKeyDown);
}

TAdministraceTypyDni::~TAdministraceTypyDni() = default;

void TAdministraceTypyDni::FormShow()
{
    m_typyDnu = std::make_unique<TypyDnu>();
    obnov();
}

void TAdministraceTypyDni::FormHide()
{
    m_typyDnu.reset();
}

void TAdministraceTypyDni::obnov()
{
    ui->NovyTypDneEdit->clear();
    ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
}

void TAdministraceTypyDni::PridejTypDneButtonClick()
{
    if (ui->NovyTypDneEdit->text().isEmpty())
        return;
    m_typyDnu->Pridej(ui->NovyTypDneEdit->text());
    obnov();
}

void TAdministraceTypyDni::NovyTypDneEditKeyDown(QKeyEvent *key)
{
    if (!jeEnter(key))
        return;
    key->accept();
    PridejTypDneButtonClick();
}

void TAdministraceTypyDni::OdstranVybranyTypButtonClick()
{
    const QStringList vybrany = ListBox::vybrane(ui->TypyDniListBox);
    if (vybrany.isEmpty())
        return;
    m_typyDnu->Odstran(vybrany.first());
    obnov();
}

void TAdministraceTypyDni::PriradDnyVybranemuTypuButtonClick()
{
    const QStringList vybrany = ListBox::vybrane(ui->TypyDniListBox);
    if (vybrany.isEmpty() || !m_nastaveniDnu)
        return;
    // The calendar belongs to the main window; it is shown over this dialog, which waits for it.
    m_nastaveniDnu->winId();
    m_nastaveniDnu->windowHandle()->setTransientParent(windowHandle());
    m_nastaveniDnu->OtevriProTyp(m_typyDnu->NajdiId(vybrany.first()));
}

void TAdministraceTypyDni::PosunTypDneNahoruButtonClick()
{
    posunVybrany(-1);
}

void TAdministraceTypyDni::PosunTypDneDoluButtonClick()
{
    posunVybrany(1);
}

void TAdministraceTypyDni::posunVybrany(int krok)
{
    // By row, not by name: of two types with one name, the one selected moves.
    const QList<QListWidgetItem *> vybrany = ui->TypyDniListBox->selectedItems();
    if (vybrany.isEmpty())
        return;
    const int radek = ui->TypyDniListBox->row(vybrany.first());
    if (!m_typyDnu->Posun(radek, krok))
        return;
    // Not a full refresh: the new type's name being typed stays.
    ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
    ui->TypyDniListBox->setCurrentRow(radek + krok);
}

void TAdministraceTypyDni::OKButtonClick()
{
    if (zkus(tr("Nepodařilo se uložit typy dní."), [this] { m_typyDnu->Uloz(); }))
        accept();
}

void TAdministraceTypyDni::StornoButtonClick()
{
    reject();
}
