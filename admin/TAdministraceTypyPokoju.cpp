#include "admin/TAdministraceTypyPokoju.h"
#include "ui_TAdministraceTypyPokoju.h"

#include "admin/TDefinovaniCen.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/TypyPokoju.h"
#include "model/Zmeny.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>

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
    naEnter(ui->NovyTypEdit, &TAdministraceTypyPokoju::NovyTypEditKeyDown);
    naEnter(ui->PocetLuzekEdit, &TAdministraceTypyPokoju::PocetLuzekEditKeyDown);
    zahazujPriSkryti(m_typyPokoju, m_cenyNovychTypu);
}

TAdministraceTypyPokoju::~TAdministraceTypyPokoju() = default;

void TAdministraceTypyPokoju::FormShow()
{
    m_cenyNovychTypu.clear();
    m_typyPokoju = std::make_unique<TypyPokoju>();
    obnovSeznam();
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
    const QString nazev = ui->NovyTypEdit->text().trimmed();
    const QString pocet = ui->PocetLuzekEdit->text().trimmed();
    if (nazev.isEmpty() && !ui->NovyTypEdit->text().isEmpty()) {
        MessageBox::chyba(this, tr("Název typu pokoje nesmí být prázdný."));
        return;
    }
    if (nazev.isEmpty() || pocet.isEmpty())
        return;
    bool ok = false;
    const int pocetLuzek = pocet.toInt(&ok);
    if (!ok) {
        MessageBox::chyba(this, tr("Počet lůžek není platné číslo."));
        return;
    }
    if (pocetLuzek < 1) {
        MessageBox::chyba(this, tr("Počet lůžek na pokoji musí být celé číslo od 1 výše."));
        return;
    }
    // A second type of the name could never be told apart from the first.
    bool obsazen = false;
    if (!zkus(tr("Nepodařilo se přidat typ pokoje."), [&] { obsazen = m_typyPokoju->nazevObsazen(nazev); }))
        return;
    if (obsazen) {
        MessageBox::chyba(this, tr("Typ pokoje %1 už existuje.").arg(Konflikt::uvozovky(nazev)));
        return;
    }
    m_typyPokoju->Pridej(nazev, pocetLuzek);
    obnovSeznam();
}

void TAdministraceTypyPokoju::NovyTypEditKeyDown()
{
    PridejButtonClick();   // Enter adds as the button does
}

void TAdministraceTypyPokoju::PocetLuzekEditKeyDown()
{
    PridejButtonClick();   // from either box
}

void TAdministraceTypyPokoju::OdstranVybraneButtonClick()
{
    const QList<int> radky = ListBox::vybraneRadky(ui->TypyPokojuListBox);
    if (radky.isEmpty())
        return;
    // A database error stops the loop like a refusal: what went before it is gone from the list.
    zkus(tr("Nepodařilo se odstranit typy pokojů."), [&] {
        int odstraneno = 0;   // the rows below a removed one move up
        for (int radek : radky) {
            const QString nazev = m_typyPokoju->prvky()[radek - odstraneno].nazev_typu_pokoje;
            if (!m_typyPokoju->Odstran(radek - odstraneno)) {
                ohlasPouzity(nazev);
                break;
            }
            ++odstraneno;
        }
    });
    zahodCenyBezTypu();
    obnovSeznam();
}

void TAdministraceTypyPokoju::zahodCenyBezTypu()
{
    const std::vector<TypPokoje> &typy = m_typyPokoju->prvky();
    std::erase_if(m_cenyNovychTypu, [&](const CenaPokoje &c) {
        return std::none_of(typy.begin(), typy.end(),
                            [&](const TypPokoje &t) { return t.typ_pokoje_id == c.typ_pokoje_id; });
    });
}

void TAdministraceTypyPokoju::NadefinujCenyButtonClick()
{
    const QList<int> radky = ListBox::vybraneRadky(ui->TypyPokojuListBox);
    if (radky.isEmpty() || !m_definovaniCen)
        return;
    QList<int> ids;
    for (int radek : radky)
        ids << m_typyPokoju->prvky()[radek].typ_pokoje_id;
    // From the event loop, so that the press (an assistive tool's too) returns at
    // once. The prices of new types come back here; the price dialog stores the others itself.
    QTimer::singleShot(0, this, [this, ids] {
        if (QApplication::activeModalWidget() == this)   // not closed meanwhile, not pressed twice
            m_definovaniCen->ukaz(ids, &m_cenyNovychTypu);
    });
}

void TAdministraceTypyPokoju::OKButtonClick()
{
    ulozAZavri(tr("Nepodařilo se uložit typy pokojů."), [this] { m_typyPokoju->Uloz(m_cenyNovychTypu); },
               [this] { obnov(); });
}

void TAdministraceTypyPokoju::obnov()
{
    m_typyPokoju->obnov();
    zahodCenyBezTypu();
    obnovSeznam();
}
