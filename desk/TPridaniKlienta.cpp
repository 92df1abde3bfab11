#include "desk/TPridaniKlienta.h"
#include "ui_TPridaniKlienta.h"

#include "gui/DropDownList.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <optional>

TPridaniKlienta::TPridaniKlienta(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TPridaniKlienta>())
{
    ui->setupUi(this);
    // Every choice counts, the first type chosen again included.
    connect(ui->TypKlientaComboBox, &QComboBox::activated, this, &TPridaniKlienta::TypKlientaComboBoxChange);
    connect(ui->PridejButton, &QPushButton::clicked, this, &TPridaniKlienta::PridejButtonClick);
    zahazujPriSkryti(m_typy);
}

TPridaniKlienta::~TPridaniKlienta() = default;

void TPridaniKlienta::FormShow()
{
    m_typy = std::make_unique<TypyKlientu>();
    QComboBox *typy = ui->TypKlientaComboBox;
    ListBox::vypis(typy, *m_typy);
    typy->setFocus();
    if (typy->count() > 0) {
        typy->setCurrentIndex(0);
        DropDownList::openWhenActive(typy);
    }
}

void TPridaniKlienta::FormHide()
{
    ui->TypKlientaComboBox->hidePopup();
    zrusPolozky();
}

void TPridaniKlienta::zrusPolozky()
{
    qDeleteAll(m_popisky);
    m_popisky.clear();
    for (const auto &polozka : std::as_const(m_polozky))
        delete polozka.second;
    m_polozky.clear();
}

void TPridaniKlienta::TypKlientaComboBoxChange()
{
    zrusPolozky();
    const int radek = ui->TypKlientaComboBox->currentIndex();
    if (!m_typy || radek < 0 || radek >= int(m_typy->prvky().size()))
        return;
    // The type of the line chosen (by position: names may repeat), built
    // afresh: the attribute list is read as the table holds it now.
    const TypKlienta &vybrany = m_typy->prvky()[radek];
    std::optional<TypKlienta> typ;
    if (!zkus(tr("Nepodařilo se načíst údaje typu klienta."),
              [&] { typ.emplace(vybrany.typ_klienta_id, vybrany.typ_klienta); }))
        return;

    QWidget *predchozi = ui->TypKlientaComboBox;
    if (typ->PrvniPolozka()) {
        do {
            const QString sloupec = typ->AktualniPolozka();
            auto *edit = new QLineEdit(this);
            edit->setObjectName(sloupec + QStringLiteral("Edit"));
            auto *popisek = new QLabel(this);
            popisek->setObjectName(sloupec + QStringLiteral("Label"));
            popisek->setTextFormat(Qt::PlainText);   // the label file's text, never markup
            popisek->setText(m_popisy.NajdiPopis(sloupec));
            popisek->setBuddy(edit);   // the edit box is called by its label
            // Rows of the grid deleted with their widgets stay empty and take no room.
            const int radekPolozky = int(m_polozky.size());
            ui->PolozkyLayout->addWidget(popisek, radekPolozky, 0);
            ui->PolozkyLayout->addWidget(edit, radekPolozky, 1);
            popisek->show();
            edit->show();
            m_popisky << popisek;
            m_polozky.append({sloupec, edit});
            QWidget::setTabOrder(predchozi, edit);
            predchozi = edit;
        } while (typ->DalsiPolozka());
    }
    if (!m_polozky.isEmpty())
        QWidget::setTabOrder(predchozi, ui->PridejButton);
}

void TPridaniKlienta::PridejButtonClick()
{
    // An empty list of types would store a client of no type at all.
    const int radek = ui->TypKlientaComboBox->currentIndex();
    if (!m_typy || radek < 0 || radek >= int(m_typy->prvky().size())) {
        MessageBox::chyba(this, tr("Není vybrán typ klienta. Klienta nelze uložit, dokud v databázi "
                                   "není definován aspoň jeden typ klienta."));
        return;
    }
    // Blanks at the ends would make clients that look alike in every list
    // and that a search by the name does not find.
    QList<QPair<QString, QString>> polozky;
    for (const auto &[sloupec, edit] : std::as_const(m_polozky)) {
        polozky.append({sloupec, edit->text().trimmed()});
        if (sloupec == QLatin1String("jmeno") && polozky.last().second.isEmpty() && !edit->text().isEmpty()) {
            MessageBox::chyba(this, tr("Jméno klienta nesmí být prázdné."));
            return;
        }
    }
    const int typKlientaId = m_typy->prvky()[radek].typ_klienta_id;
    ulozAZavri(tr("Nepodařilo se uložit klienta."), [&] { Klient::PridejKlienta(polozky, typKlientaId); });
}
