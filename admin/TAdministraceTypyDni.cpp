#include "admin/TAdministraceTypyDni.h"
#include "ui_TAdministraceTypyDni.h"

#include "admin/TNastaveniDnuUTypuDne.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/TypyDnu.h"

#include <QApplication>
#include <QTimer>
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
    naEnter(ui->NovyTypDneEdit, &TAdministraceTypyDni::NovyTypDneEditKeyDown);
    zahazujPriSkryti(m_typyDnu);
}

TAdministraceTypyDni::~TAdministraceTypyDni() = default;

void TAdministraceTypyDni::FormShow()
{
    m_typyDnu = std::make_unique<TypyDnu>();
    obnov();
}

void TAdministraceTypyDni::obnov()
{
    ui->NovyTypDneEdit->clear();
    ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
}

void TAdministraceTypyDni::PridejTypDneButtonClick()
{
    const QString nazev = ui->NovyTypDneEdit->text().trimmed();
    if (nazev.isEmpty()) {
        if (!ui->NovyTypDneEdit->text().isEmpty())
            MessageBox::chyba(this, tr("Název typu dne nesmí být prázdný."));
        return;
    }
    // Names are what the price dialog and the desk go by: one type per name.
    bool obsazen = false;
    if (!zkus(tr("Nepodařilo se ověřit název typu dne."), [&] { obsazen = m_typyDnu->nazevObsazen(nazev); }))
        return;
    if (obsazen) {
        MessageBox::chyba(this, tr("Typ dne „%1“ už existuje.").arg(nazev));
        return;
    }
    m_typyDnu->Pridej(nazev);
    obnov();
}

void TAdministraceTypyDni::NovyTypDneEditKeyDown()
{
    PridejTypDneButtonClick();   // Enter adds as the button does
}

void TAdministraceTypyDni::OdstranVybranyTypButtonClick()
{
    const int radek = ListBox::vybranyRadek(ui->TypyDniListBox);
    if (radek < 0)
        return;
    if (zkus(tr("Nepodařilo se odstranit typ dne."), [&] { m_typyDnu->Odstran(radek); }))
        obnov();
}

void TAdministraceTypyDni::PriradDnyVybranemuTypuButtonClick()
{
    const int radek = ListBox::vybranyRadek(ui->TypyDniListBox);
    if (radek < 0 || !m_nastaveniDnu)
        return;
    const TypDne typ = m_typyDnu->prvky()[radek];
    // From the event loop, so that the press (an assistive tool's too) returns at once.
    QTimer::singleShot(0, this, [this, typ] {
        if (QApplication::activeModalWidget() != this)   // closed meanwhile, or pressed twice
            return;
        // The calendar belongs to the main window; it is shown over this dialog, which waits for it.
        m_nastaveniDnu->winId();
        m_nastaveniDnu->windowHandle()->setTransientParent(windowHandle());
        if (!jeDocasneId(typ.typ_dne_id)) {
            m_nastaveniDnu->OtevriProTyp(typ.typ_dne_id, typ.nazev_typu_dne);
            return;
        }
        // A type not saved yet keeps its dates here until OK stores both.
        std::set<QDate> dny = m_typyDnu->dnyNovehoTypu(typ.typ_dne_id);
        if (m_nastaveniDnu->OtevriProNovyTyp(typ.typ_dne_id, typ.nazev_typu_dne, dny) == QDialog::Accepted)
            m_typyDnu->nastavDnyNovehoTypu(typ.typ_dne_id, std::move(dny));
    });
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
    const int radek = ListBox::vybranyRadek(ui->TypyDniListBox);
    if (!m_typyDnu->Posun(radek, krok))
        return;
    // Not a full refresh: the new type's name being typed stays.
    ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
    ui->TypyDniListBox->setCurrentRow(radek + krok);
}

void TAdministraceTypyDni::OKButtonClick()
{
    // After a conflict the list shows the table again with this opening's changes that still apply.
    const auto obnovSeznam = [this] {
        m_typyDnu->reloadKeepingChanges();
        ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
    };
    ulozAZavri(tr("Nepodařilo se uložit typy dní."), [this] { m_typyDnu->Uloz(); }, obnovSeznam);
}
