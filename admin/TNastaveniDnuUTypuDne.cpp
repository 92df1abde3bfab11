#include "admin/TNastaveniDnuUTypuDne.h"
#include "ui_TNastaveniDnuUTypuDne.h"

#include "gui/DisplayFormat.h"
#include "gui/MessageBox.h"
#include "model/KalendarTypuDne.h"

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
    connect(ui->StornoButton, &QPushButton::clicked, this, &TNastaveniDnuUTypuDne::StornoButtonClick);
}

TNastaveniDnuUTypuDne::~TNastaveniDnuUTypuDne() = default;

int TNastaveniDnuUTypuDne::OtevriProTyp(int typDneId)
{
    m_typDneId = typDneId;
    return ukaz();
}

void TNastaveniDnuUTypuDne::FormShow()
{
    m_kalendar = std::make_unique<KalendarTypuDne>(m_typDneId);
    obnov();
    // The long date format, shortened where it does not fit the pickers.
    DisplayFormat::fitLongDate({ui->OdDateTimePicker, ui->DoDateTimePicker});
    ui->OdDateTimePicker->setDate(QDate::currentDate());
    ui->DoDateTimePicker->setDate(QDate::currentDate());
}

void TNastaveniDnuUTypuDne::FormHide()
{
    m_kalendar.reset();
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
    if (zkus(tr("Nepodařilo se uložit dny typu dne."), [this] { m_kalendar->Uloz(); }))
        accept();
}

void TNastaveniDnuUTypuDne::StornoButtonClick()
{
    reject();
}
