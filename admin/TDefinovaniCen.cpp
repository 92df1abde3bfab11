#include "admin/TDefinovaniCen.h"
#include "ui_TDefinovaniCen.h"

#include "gui/DisplayFormat.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/CenyPokoju.h"
#include "model/Klienti.h"
#include "model/TypyDnu.h"

#include <QKeyEvent>

TDefinovaniCen::TDefinovaniCen(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TDefinovaniCen>())
{
    ui->setupUi(this);
    connect(ui->NastavCenuButton, &QPushButton::clicked, this, &TDefinovaniCen::NastavCenuButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TDefinovaniCen::OKButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TDefinovaniCen::StornoButtonClick);
    napojKeyDown(ui->CenaEdit, &TDefinovaniCen::CenaEditKeyDown);
}

TDefinovaniCen::~TDefinovaniCen() = default;

int TDefinovaniCen::ukaz(const QList<int> &typyPokoju)
{
    m_typyPokoju = typyPokoju;
    return ukaz();
}

void TDefinovaniCen::FormShow()
{
    m_typyDnu = std::make_unique<TypyDnu>();
    m_typyKlientu = std::make_unique<TypyKlientu>();
    m_ceny = std::make_unique<CenyPokoju>();
    ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
    ListBox::vypis(ui->TypyKlientuListBox, *m_typyKlientu);
    ukazCeny();
}

void TDefinovaniCen::FormHide()
{
    m_typyDnu.reset();
    m_typyKlientu.reset();
    m_ceny.reset();
}

void TDefinovaniCen::ukazCeny()
{
    QList<int> dny, klienti;
    QStringList nazvyDnu, nazvyKlientu;
    for (const TypDne &d : m_typyDnu->prvky()) {
        dny << d.typ_dne_id;
        nazvyDnu << d.nazev_typu_dne;
    }
    for (const TypKlienta &k : m_typyKlientu->prvky()) {
        klienti << k.typ_klienta_id;
        nazvyKlientu << k.typ_klienta;
    }
    const QList<QList<PriceCell>> ceny = m_ceny->summarize(m_typyPokoju, dny, klienti);

    QTableWidget *tabulka = ui->SoucasneCenyTableWidget;
    tabulka->clear();
    tabulka->setRowCount(int(dny.size()));
    tabulka->setColumnCount(int(klienti.size()));
    tabulka->setVerticalHeaderLabels(nazvyDnu);
    tabulka->setHorizontalHeaderLabels(nazvyKlientu);
    for (int r = 0; r < ceny.size(); ++r) {
        for (int c = 0; c < ceny[r].size(); ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            switch (ceny[r][c].kind) {
            case PriceCell::Kind::None:
                item->setToolTip(tr("bez ceny"));
                break;
            case PriceCell::Kind::Same:
                item->setText(DisplayFormat::price(ceny[r][c].cena));   // as it would be typed back
                break;
            case PriceCell::Kind::Different: {
                item->setText(tr("různé"));
                item->setToolTip(tr("Vybrané typy pokojů tu mají různé ceny nebo jen některé cenu mají."));
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
                break;
            }
            }
            tabulka->setItem(r, c, item);
        }
    }
    tabulka->resizeColumnsToContents();
}

void TDefinovaniCen::NastavCenuButtonClick()
{
    const std::optional<double> cena = parsePrice(ui->CenaEdit->text());
    if (!cena) {
        MessageBox::chyba(this, tr("Pole cena neobsahuje platné číslo."));
        return;
    }
    const QStringList dny = ListBox::vybrane(ui->TypyDniListBox);
    const QStringList klienti = ListBox::vybrane(ui->TypyKlientuListBox);
    for (int typPokoje : m_typyPokoju)
        for (const QString &den : dny)
            for (const QString &klient : klienti)
                m_ceny->NastavCenu(typPokoje, m_typyKlientu->NajdiId(klient), m_typyDnu->NajdiId(den), *cena);
    ukazCeny();
}

void TDefinovaniCen::CenaEditKeyDown(QKeyEvent *key)
{
    if (jeEnter(key)) {
        key->accept();
        NastavCenuButtonClick();
    }
}

void TDefinovaniCen::OKButtonClick()
{
    if (zkus(tr("Nepodařilo se uložit ceny."), [this] { m_ceny->Uloz(); }))
        accept();
}

void TDefinovaniCen::StornoButtonClick()
{
    reject();
}
