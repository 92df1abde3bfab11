#include "desk/TOdjezdHosta.h"
#include "ui_TOdjezdHosta.h"

#include "gui/DisplayFormat.h"
#include "gui/MessageBox.h"
#include "model/Historie.h"

#include <QDateTime>
#include <QLocale>

namespace {
QString cas(const QDateTime &kdy)
{
    return Historie::datum(kdy.date()) + u' ' + kdy.toString(u"H:mm");
}
} // namespace

TOdjezdHosta::TOdjezdHosta(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TOdjezdHosta>())
{
    ui->setupUi(this);
    ui->OdjezdDateTimeEdit->setDisplayFormat(DisplayFormat::shortDateFormat(QLocale()) + QStringLiteral(" HH:mm"));
    connect(ui->PobytyListWidget, &QListWidget::currentRowChanged, this, &TOdjezdHosta::PobytyListWidgetChange);
    connect(ui->OdjezdDateTimeEdit, &QDateTimeEdit::dateTimeChanged, this, &TOdjezdHosta::OdjezdDateTimeEditChange);
    connect(ui->OKButton, &QPushButton::clicked, this, &TOdjezdHosta::OKButtonClick);
    connect(ui->ZrusitPrijezdButton, &QPushButton::clicked, this, &TOdjezdHosta::ZrusitPrijezdButtonClick);
    connect(ui->ZrusitOdjezdButton, &QPushButton::clicked, this, &TOdjezdHosta::ZrusitOdjezdButtonClick);
    zahazujPriSkryti(m_pobyty, m_novaCena);
}

TOdjezdHosta::~TOdjezdHosta() = default;

void TOdjezdHosta::FormShow()
{
    const QDateTime ted = QDateTime::currentDateTime();
    {
        const QSignalBlocker quiet(ui->OdjezdDateTimeEdit);
        ui->OdjezdDateTimeEdit->setDateTime(QDateTime(ted.date(), QTime(ted.time().hour(), ted.time().minute())));
    }
    nactiPobyty();
    ui->PobytyListWidget->setFocus();
}

void TOdjezdHosta::nactiPobyty()
{
    // The stay chosen stays chosen after a reload.
    const bool vybran = vybranyPobyt() != nullptr;
    const KlicPobytu byl = vybran ? vybranyPobyt()->klic : KlicPobytu{};
    m_pobyty = Ubytovani::ubytovane(QDate::currentDate());
    {
        const QSignalBlocker quiet(ui->PobytyListWidget);
        ui->PobytyListWidget->clear();
        int radek = m_pobyty.empty() ? -1 : 0;
        for (int i = 0; i < int(m_pobyty.size()); ++i) {
            const PobytHosta &p = m_pobyty[i];
            ui->PobytyListWidget->addItem(p.ubytovan() ? tr("%1; ubytováni od %2").arg(p.popis(), cas(p.prijezd))
                                                    : tr("%1; odjeli %2").arg(p.popis(), cas(p.odjezd)));
            if (vybran && p.klic == byl)
                radek = i;
        }
        ui->PobytyListWidget->setCurrentRow(radek);
    }
    ukazZkraceni();
}

const PobytHosta *TOdjezdHosta::vybranyPobyt() const
{
    const int radek = ui->PobytyListWidget->currentRow();
    return radek >= 0 && radek < int(m_pobyty.size()) ? &m_pobyty[radek] : nullptr;
}

void TOdjezdHosta::PobytyListWidgetChange()
{
    ukazZkraceni();
}

void TOdjezdHosta::OdjezdDateTimeEditChange()
{
    ukazZkraceni();
}

void TOdjezdHosta::ukazZkraceni()
{
    m_novaCena.reset();
    const PobytHosta *p = vybranyPobyt();
    ui->OKButton->setEnabled(p && p->ubytovan());
    ui->ZrusitPrijezdButton->setEnabled(p && p->ubytovan());
    ui->ZrusitOdjezdButton->setEnabled(p && !p->ubytovan());
    if (!p) {
        ui->ZkraceniLabel->setText(tr("Žádní ubytovaní hosté."));
        return;
    }
    if (!p->ubytovan()) {
        ui->ZkraceniLabel->setText(tr("Hosté už odjeli (%1).").arg(cas(p->odjezd)));
        return;
    }
    const QDate den = ui->OdjezdDateTimeEdit->date();
    if (!Ubytovani::zkracuje(*p, den)) {
        ui->ZkraceniLabel->setText(tr("Poslední noc %1, pobyt se nezkracuje.").arg(Historie::datum(p->do_kdy)));
        return;
    }
    const QDate noveDo = Ubytovani::posledniNoc(*p, den);
    zkus(tr("Nepodařilo se spočítat cenu zkráceného pobytu."),
         [&] { m_novaCena = Ubytovani::cena(*p, p->klic.od_kdy, noveDo); });
    ui->ZkraceniLabel->setText(
        tr("Odjezd před poslední nocí (%1): pobyt se zkrátí do %2, cena %3 (dosud %4).")
            .arg(Historie::datum(p->do_kdy), Historie::datum(noveDo),
                 m_novaCena ? DisplayFormat::price(*m_novaCena) : tr("není pro některou noc definována"),
                 DisplayFormat::price(p->cena)));
}

void TOdjezdHosta::OKButtonClick()
{
    const PobytHosta *vybrany = vybranyPobyt();
    if (!vybrany || !vybrany->ubytovan())
        return;
    const PobytHosta pobyt = *vybrany;
    const QDateTime kdy = ui->OdjezdDateTimeEdit->dateTime();
    if (kdy < pobyt.prijezd) {
        MessageBox::chyba(this, tr("Odjezd nemůže být dřív než příjezd (%1).").arg(cas(pobyt.prijezd)));
        return;
    }
    std::optional<double> novaCena;
    if (Ubytovani::zkracuje(pobyt, kdy.date())) {
        const QDate noveDo = Ubytovani::posledniNoc(pobyt, kdy.date());
        // A night without a price keeps the price as booked.
        const double cena = m_novaCena.value_or(pobyt.cena);
        const auto odpoved = MessageBox::show(
            this,
            tr("Hosté odjíždějí před poslední nocí pobytu (%1). Zkrátit pobyt do %2 a uvolnit další noci?\n"
               "Nová cena pobytu: %3 (dosud %4).")
                .arg(Historie::datum(pobyt.do_kdy), Historie::datum(noveDo), DisplayFormat::price(cena),
                     DisplayFormat::price(pobyt.cena)),
            tr("Dřívější odjezd"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question);
        if (odpoved == QMessageBox::Cancel)
            return;
        if (odpoved == QMessageBox::Yes)
            novaCena = cena;
    }
    ulozAZavri(tr("Odjezd se nepodařilo uložit."), [&] { Ubytovani::odjezd(pobyt, kdy, novaCena); },
               [this] { nactiPobyty(); });
}

void TOdjezdHosta::ZrusitPrijezdButtonClick()
{
    const PobytHosta *vybrany = vybranyPobyt();
    if (!vybrany || !vybrany->ubytovan())
        return;
    const PobytHosta pobyt = *vybrany;
    if (MessageBox::show(this,
                         tr("Zrušit příjezd zapsaný %1 (%2)? Údaje hostů zůstanou zapsané u rezervace.")
                             .arg(cas(pobyt.prijezd), pobyt.popis()),
                         tr("Zrušit příjezd"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Question)
        != QMessageBox::Yes)
        return;
    if (zkusUlozit(tr("Příjezd se nepodařilo zrušit."), [&] { Ubytovani::zrusPrijezd(pobyt); },
                   [this] { nactiPobyty(); }))
        zkus(tr("Nepodařilo se načíst ubytované hosty."), [this] { nactiPobyty(); });
}

void TOdjezdHosta::ZrusitOdjezdButtonClick()
{
    const PobytHosta *vybrany = vybranyPobyt();
    if (!vybrany || vybrany->ubytovan())
        return;
    const PobytHosta pobyt = *vybrany;
    if (MessageBox::show(this,
                         tr("Zrušit odjezd zapsaný %1 (%2)? Hosté budou opět ubytováni. Pobyt zkrácený při odjezdu "
                            "se zpět neprodlouží; prodlužte ho případně novou rezervací.")
                             .arg(cas(pobyt.odjezd), pobyt.popis()),
                         tr("Zrušit odjezd"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Question)
        != QMessageBox::Yes)
        return;
    if (zkusUlozit(tr("Odjezd se nepodařilo zrušit."), [&] { Ubytovani::zrusOdjezd(pobyt); },
                   [this] { nactiPobyty(); }))
        zkus(tr("Nepodařilo se načíst ubytované hosty."), [this] { nactiPobyty(); });
}
