#include "admin/TNastaveniDnuUTypuDne.h"
#include "ui_TNastaveniDnuUTypuDne.h"

#include "gui/MessageBox.h"
#include "model/KalendarTypuDne.h"

#include <QAccessible>

namespace {
// Each line of the date list carries the date it shows.
constexpr int DateRole = Qt::UserRole;
} // namespace

TNastaveniDnuUTypuDne::TNastaveniDnuUTypuDne(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TNastaveniDnuUTypuDne>())
{
    ui->setupUi(this);
    connect(ui->OdstranVybraneDnyButton, &QPushButton::clicked, this,
            &TNastaveniDnuUTypuDne::OdstranVybraneDnyButtonClick);
    connect(ui->PridejDnyButton, &QPushButton::clicked, this, &TNastaveniDnuUTypuDne::PridejDnyButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TNastaveniDnuUTypuDne::OKButtonClick);
    zahazujPriSkryti(m_kalendar);
    // The list itself tells only that its data changed: a screen reader hears
    // the weekday checked or unchecked from the item's own state change.
    connect(ui->PridejDnyCheckListBox, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(ui->PridejDnyCheckListBox, changed);
        event.setChild(ui->PridejDnyCheckListBox->row(item));
        QAccessible::updateAccessibility(&event);
    });
}

TNastaveniDnuUTypuDne::~TNastaveniDnuUTypuDne() = default;

int TNastaveniDnuUTypuDne::OtevriProTyp(int typDneId, const QString &nazev)
{
    m_typDneId = typDneId;
    m_nazev = nazev;
    m_dnyNovehoTypu = nullptr;
    return ukaz();
}

int TNastaveniDnuUTypuDne::OtevriProNovyTyp(int typDneId, const QString &nazev, std::set<QDate> &dny)
{
    m_typDneId = typDneId;
    m_nazev = nazev;
    m_dnyNovehoTypu = &dny;
    const int vysledek = ukaz();
    m_dnyNovehoTypu = nullptr;
    return vysledek;
}

void TNastaveniDnuUTypuDne::FormShow()
{
    m_kalendar = m_dnyNovehoTypu ? std::make_unique<KalendarTypuDne>(m_typDneId, m_nazev, *m_dnyNovehoTypu)
                                 : std::make_unique<KalendarTypuDne>(m_typDneId, m_nazev);
    obnov();
    ui->OdDateTimePicker->setDate(QDate::currentDate());
    ui->DoDateTimePicker->setDate(QDate::currentDate());
}

void TNastaveniDnuUTypuDne::obnov()
{
    QStringList radky;
    m_kalendar->Vypis(radky);
    ui->VypisDniListBox->clear();
    auto den = m_kalendar->dny().begin();
    for (const QString &radek : radky) {
        auto *item = new QListWidgetItem(radek, ui->VypisDniListBox);
        item->setData(DateRole, *den++);
    }
}

void TNastaveniDnuUTypuDne::PridejDnyButtonClick()
{
    const QDate od = ui->OdDateTimePicker->date();
    const QDate doKdy = ui->DoDateTimePicker->date();
    if (od > doKdy) {
        MessageBox::chyba(this, tr("Počáteční datum musí být menší než koncové"));
        return;
    }
    // The weekday list runs from Monday (dayOfWeek 1) to Sunday.
    for (QDate den = od; den <= doKdy; den = den.addDays(1))
        if (ui->PridejDnyCheckListBox->item(den.dayOfWeek() - 1)->checkState() == Qt::Checked)
            m_kalendar->PridejDen(den);
    obnov();
}

void TNastaveniDnuUTypuDne::OdstranVybraneDnyButtonClick()
{
    const QList<QListWidgetItem *> vybrane = ui->VypisDniListBox->selectedItems();
    if (vybrane.isEmpty())
        return;
    for (const QListWidgetItem *item : vybrane)
        m_kalendar->OdstranDen(item->data(DateRole).toDate());
    obnov();
}

void TNastaveniDnuUTypuDne::OKButtonClick()
{
    // A type not saved yet has no rows to write to: its dates go back to the day types.
    if (m_dnyNovehoTypu) {
        *m_dnyNovehoTypu = m_kalendar->dny();
        accept();
        return;
    }
    const auto obnovSeznam = [this] {
        m_kalendar->reloadKeepingChanges();
        obnov();
    };
    ulozAZavri(tr("Nepodařilo se uložit dny typu dne."), [this] { m_kalendar->Uloz(); }, obnovSeznam);
}
