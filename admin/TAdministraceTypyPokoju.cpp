#include "admin/TAdministraceTypyPokoju.h"
#include "ui_TAdministraceTypyPokoju.h"

#include "admin/TDefinovaniCen.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/TypyPokoju.h"

#include <QKeyEvent>

TAdministraceTypyPokoju::TAdministraceTypyPokoju(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceTypyPokoju>())
{
    ui->setupUi(this);
    connect(ui->NadefinujCenyButton, &QPushButton::clicked, this,
            &TAdministraceTypyPokoju::NadefinujCenyButtonClick);
    connect(ui->OdstranVybraneButton, &QPushButton::clicked, this,
            &TAdministraceTypyPokoju::OdstranVybraneButtonClick);
    connect(ui->PridejButton, &QPushButton::clicked, this, &TAdministraceTypyPokoju::PridejButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TAdministraceTypyPokoju::OKButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TAdministraceTypyPokoju::StornoButtonClick);
    napojKeyDown(ui->NovyTypEdit, &TAdministraceTypyPokoju::NovyTypEditKeyDown);
    napojKeyDown(ui->PocetLuzekEdit, &TAdministraceTypyPokoju::PocetLuzekEditKeyDown);
}

TAdministraceTypyPokoju::~TAdministraceTypyPokoju() = default;

void TAdministraceTypyPokoju::FormShow()
{
    m_typyPokoju = std::make_unique<TypyPokoju>();
    obnovSeznam();
}

void TAdministraceTypyPokoju::FormHide()
{
    m_typyPokoju.reset();
}

void TAdministraceTypyPokoju::obnovSeznam()
{
    ListBox::vypis(ui->TypyPokojuListBox, *m_typyPokoju);
}

void TAdministraceTypyPokoju::ohlasPouzity(const QString &nazev)
{
    MessageBox::chyba(this, tr("K typu pokoje \"%1\" jsou ještě nějaké pokoje přiřazeny!").arg(nazev));
}

void TAdministraceTypyPokoju::PridejButtonClick()
{
    const QString nazev = ui->NovyTypEdit->text();
    const QString pocet = ui->PocetLuzekEdit->text();
    if (nazev.isEmpty() || pocet.isEmpty())
        return;
    bool ok = false;
    const int pocetLuzek = pocet.toInt(&ok);
    if (!ok) {
        MessageBox::chyba(this, tr("Počet pokojů není platné číslo."));
        return;
    }
    m_typyPokoju->Pridej(nazev, pocetLuzek);
    obnovSeznam();
}

void TAdministraceTypyPokoju::NovyTypEditKeyDown(QKeyEvent *key)
{
    if (jeEnter(key)) {
        key->accept();
        PridejButtonClick();
    }
}

void TAdministraceTypyPokoju::PocetLuzekEditKeyDown(QKeyEvent *key)
{
    NovyTypEditKeyDown(key);   // Enter adds from either box
}

void TAdministraceTypyPokoju::OdstranVybraneButtonClick()
{
    const QStringList vybrane = ListBox::vybrane(ui->TypyPokojuListBox);
    if (vybrane.isEmpty())
        return;
    // A database error stops the loop like a refusal: what went before it is gone from the list.
    zkus(tr("Nepodařilo se odstranit typy pokojů."), [&] {
        for (const QString &nazev : vybrane) {
            if (!m_typyPokoju->Odstran(nazev)) {
                ohlasPouzity(nazev);
                break;
            }
        }
    });
    obnovSeznam();
}

void TAdministraceTypyPokoju::NadefinujCenyButtonClick()
{
    const QStringList vybrane = ListBox::vybrane(ui->TypyPokojuListBox);
    if (vybrane.isEmpty() || !m_definovaniCen)
        return;
    QList<int> ids;
    for (const QString &nazev : vybrane)
        ids << m_typyPokoju->NajdiId(nazev);
    m_definovaniCen->ukaz(ids);
}

void TAdministraceTypyPokoju::OKButtonClick()
{
    std::vector<TypPokoje> ponechane;
    if (!zkus(tr("Nepodařilo se uložit typy pokojů."), [&] { ponechane = m_typyPokoju->Uloz(); }))
        return;
    // Saved, but a removal another desk's new room overtook did not happen.
    for (const TypPokoje &t : ponechane)
        ohlasPouzity(t.nazev_typu_pokoje);
    accept();
}

void TAdministraceTypyPokoju::StornoButtonClick()
{
    reject();
}
