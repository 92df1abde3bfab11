#include "admin/TUdajeOHotelu.h"
#include "ui_TUdajeOHotelu.h"

#include "gui/MessageBox.h"
#include "model/UdajeOHotelu.h"

TUdajeOHotelu::TUdajeOHotelu(QWidget *parent) : TDialog(parent), ui(std::make_unique<Ui::TUdajeOHotelu>())
{
    ui->setupUi(this);
    ui->ObdobiPoplatkuComboBox->addItems({tr("měsíčně"), tr("čtvrtletně"), tr("ročně"), tr("jinak")});
    ui->ObdobiPoplatkuComboBox->setAccessibleName(tr("Odvádí se"));
    connect(ui->PridejOsvobozeniButton, &QPushButton::clicked, this, &TUdajeOHotelu::PridejOsvobozeniButtonClick);
    connect(ui->OdstranOsvobozeniButton, &QPushButton::clicked, this, &TUdajeOHotelu::OdstranOsvobozeniButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TUdajeOHotelu::OKButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TUdajeOHotelu::StornoButtonClick);
    naEnter(ui->NoveOsvobozeniEdit, &TUdajeOHotelu::PridejOsvobozeniButtonClick);
    for (QLineEdit *e : {ui->IcoEdit, ui->DicEdit, ui->PscEdit, ui->IdubEdit, ui->ZkratkaEdit, ui->SazbaPoplatkuEdit,
                         ui->BankovniUcetEdit})
        connect(e, &QLineEdit::textChanged, this, &TUdajeOHotelu::zkontroluj);
    zahazujPriSkryti(m_udaje);
}

TUdajeOHotelu::~TUdajeOHotelu() = default;

void TUdajeOHotelu::FormShow()
{
    m_udaje = std::make_unique<UdajeHotelu>();
    doFormulare(m_udaje->udaje());
    vypisOsvobozeni();
    ui->NoveOsvobozeniEdit->clear();
}

void TUdajeOHotelu::doFormulare(const UdajeOHotelu &u)
{
    ui->ProvozovatelEdit->setText(u.provozovatel);
    ui->ProvozovatelAdresaEdit->setText(u.provozovatel_adresa);
    ui->IcoEdit->setText(u.ico);
    ui->DicEdit->setText(u.dic);
    ui->PlatceDphCheckBox->setChecked(u.platce_dph);
    ui->ZarizeniEdit->setText(u.zarizeni);
    ui->OkresEdit->setText(u.okres);
    ui->ObecEdit->setText(u.obec);
    ui->CastObceEdit->setText(u.cast_obce);
    ui->UliceEdit->setText(u.ulice);
    ui->CisloDomovniEdit->setText(u.cislo_domovni);
    ui->CisloOrientacniEdit->setText(u.cislo_orientacni);
    ui->PscEdit->setText(u.psc);
    ui->KontaktEdit->setText(u.kontakt);
    ui->IdubEdit->setText(u.idub);
    ui->ZkratkaEdit->setText(u.zkratka);
    ui->SazbaPoplatkuEdit->setText(QLocale(QLocale::Czech).toString(u.poplatek_sazba, 'f', 2));
    ui->ObdobiPoplatkuComboBox->setCurrentIndex(qBound(0, u.poplatek_obdobi, ui->ObdobiPoplatkuComboBox->count() - 1));
    ui->BankovniUcetEdit->setText(u.bankovni_ucet);
    zkontroluj();
}

UdajeOHotelu TUdajeOHotelu::zFormulare(bool *sazbaOk) const
{
    UdajeOHotelu u;
    u.provozovatel = ui->ProvozovatelEdit->text().trimmed();
    u.provozovatel_adresa = ui->ProvozovatelAdresaEdit->text().trimmed();
    u.ico = ui->IcoEdit->text().trimmed();
    u.dic = ui->DicEdit->text().trimmed().toUpper();
    u.platce_dph = ui->PlatceDphCheckBox->isChecked();
    u.zarizeni = ui->ZarizeniEdit->text().trimmed();
    u.okres = ui->OkresEdit->text().trimmed();
    u.obec = ui->ObecEdit->text().trimmed();
    u.cast_obce = ui->CastObceEdit->text().trimmed();
    u.ulice = ui->UliceEdit->text().trimmed();
    u.cislo_domovni = ui->CisloDomovniEdit->text().trimmed();
    u.cislo_orientacni = ui->CisloOrientacniEdit->text().trimmed();
    u.psc = ui->PscEdit->text().trimmed();
    if (KontrolaUdaju::platnaPsc(u.psc))
        u.psc.remove(u' ');   // "110 00" is stored as its five digits
    u.kontakt = ui->KontaktEdit->text().trimmed();
    u.idub = ui->IdubEdit->text().trimmed();
    u.zkratka = ui->ZkratkaEdit->text().trimmed();
    // Both the Czech comma and a point are taken.
    QString sazba = ui->SazbaPoplatkuEdit->text().trimmed();
    sazba.replace(u',', u'.');
    bool ok = true;
    u.poplatek_sazba = sazba.isEmpty() ? 0 : sazba.toDouble(&ok);
    if (sazbaOk)
        *sazbaOk = ok;
    u.poplatek_obdobi = ui->ObdobiPoplatkuComboBox->currentIndex();
    u.bankovni_ucet = ui->BankovniUcetEdit->text().simplified().toUpper();
    return u;
}

QString TUdajeOHotelu::chybaFormulare(QWidget **pole) const
{
    bool sazbaOk = true;
    const UdajeOHotelu u = zFormulare(&sazbaOk);
    *pole = nullptr;
    if (!sazbaOk) {
        *pole = ui->SazbaPoplatkuEdit;
        return tr("Sazba poplatku z pobytu není číslo.");
    }
    const QString chyba = KontrolaUdaju::chyba(u);
    if (chyba.isEmpty())
        return chyba;
    // The field of the first fault, checked in the order KontrolaUdaju checks them.
    if (!u.ico.isEmpty() && !KontrolaUdaju::platneIco(u.ico))
        *pole = ui->IcoEdit;
    else if (!u.dic.isEmpty() && !KontrolaUdaju::platneDic(u.dic))
        *pole = ui->DicEdit;
    else if (!u.psc.isEmpty() && !KontrolaUdaju::platnaPsc(u.psc))
        *pole = ui->PscEdit;
    else if (!u.idub.isEmpty() && !KontrolaUdaju::platneIdub(u.idub))
        *pole = ui->IdubEdit;
    else if (u.zkratka.size() > 5)
        *pole = ui->ZkratkaEdit;
    else if (u.poplatek_sazba < 0 || u.poplatek_sazba > KontrolaUdaju::nejvyssiSazba)
        *pole = ui->SazbaPoplatkuEdit;
    else
        *pole = ui->BankovniUcetEdit;
    return chyba;
}

void TUdajeOHotelu::zkontroluj()
{
    QWidget *pole = nullptr;
    const QString chyba = chybaFormulare(&pole);
    ui->ChybaLabel->setText(chyba);
    // Said by the field too, for a screen reader that stays in it.
    for (QLineEdit *e : {ui->IcoEdit, ui->DicEdit, ui->PscEdit, ui->IdubEdit, ui->ZkratkaEdit, ui->SazbaPoplatkuEdit,
                         ui->BankovniUcetEdit}) {
        e->setAccessibleDescription(e == pole ? chyba : QString());
        e->setStyleSheet(e == pole ? QStringLiteral("QLineEdit { background: #fde2e2; }") : QString());
    }
}

void TUdajeOHotelu::vypisOsvobozeni()
{
    ui->OsvobozeniListBox->clear();
    for (const Osvobozeni &o : m_udaje->osvobozeni())
        ui->OsvobozeniListBox->addItem(o.nazev);
}

void TUdajeOHotelu::PridejOsvobozeniButtonClick()
{
    const QString nazev = ui->NoveOsvobozeniEdit->text().trimmed();
    if (nazev.isEmpty())
        return;
    if (!m_udaje->PridejOsvobozeni(nazev)) {
        MessageBox::chyba(this, tr("Důvod osvobození „%1“ už v seznamu je.").arg(nazev));
        return;
    }
    ui->NoveOsvobozeniEdit->clear();
    vypisOsvobozeni();
}

void TUdajeOHotelu::OdstranOsvobozeniButtonClick()
{
    const int radek = ui->OsvobozeniListBox->currentRow();
    if (radek < 0)
        return;
    m_udaje->OdstranOsvobozeni(radek);
    vypisOsvobozeni();
}

void TUdajeOHotelu::OKButtonClick()
{
    QWidget *pole = nullptr;
    const QString chyba = chybaFormulare(&pole);
    if (!chyba.isEmpty()) {
        MessageBox::chyba(this, chyba);
        if (pole)
            pole->setFocus();
        return;
    }
    ulozAZavri(tr("Nepodařilo se uložit údaje o hotelu."), [this] {
        m_udaje->udaje() = zFormulare(nullptr);
        m_udaje->Uloz();
    }, [this] { obnov(); });
}

void TUdajeOHotelu::obnov()
{
    m_udaje->obnov();
    doFormulare(m_udaje->udaje());
    vypisOsvobozeni();
}
