#include "admin/THistorieZmen.h"
#include "ui_THistorieZmen.h"

#include <QHeaderView>
#include <QLocale>

THistorieZmen::THistorieZmen(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::THistorieZmen>())
{
    ui->setupUi(this);
    connect(ui->HledejButton, &QPushButton::clicked, this, &THistorieZmen::HledejButtonClick);
    connect(ui->DalsiButton, &QPushButton::clicked, this, &THistorieZmen::DalsiButtonClick);
    connect(ui->PredchoziButton, &QPushButton::clicked, this, &THistorieZmen::PredchoziButtonClick);
    connect(ui->ObdobiCheckBox, &QCheckBox::clicked, this, &THistorieZmen::ObdobiCheckBoxClick);
    naEnter(ui->TextEdit, &THistorieZmen::TextEditKeyDown);
    ui->HistorieTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->HistorieTable->horizontalHeader()->setStretchLastSection(true);
    zahazujPriSkryti(m_radky);
}

THistorieZmen::~THistorieZmen() = default;

void THistorieZmen::FormShow()
{
    // Every opening starts from the newest rows of the whole history.
    const QDate dnes = QDate::currentDate();
    ui->ObdobiCheckBox->setChecked(false);
    ui->OdDateTimePicker->setDate(dnes.addDays(-30));
    ui->DoDateTimePicker->setDate(dnes);
    ObdobiCheckBoxClick();
    ui->TextEdit->clear();
    ui->UzivatelComboBox->clear();
    ui->UzivatelComboBox->addItem(tr("(všichni)"));
    ui->UzivatelComboBox->addItems(HistorieZmen::uzivatele());
    HledejButtonClick();
}

void THistorieZmen::ObdobiCheckBoxClick()
{
    ui->OdDateTimePicker->setEnabled(ui->ObdobiCheckBox->isChecked());
    ui->DoDateTimePicker->setEnabled(ui->ObdobiCheckBox->isChecked());
}

void THistorieZmen::HledejButtonClick()
{
    m_filtr = {};
    if (ui->ObdobiCheckBox->isChecked()) {
        m_filtr.od = ui->OdDateTimePicker->date();
        m_filtr.doKdy = ui->DoDateTimePicker->date();
    }
    if (ui->UzivatelComboBox->currentIndex() > 0)
        m_filtr.uzivatel = ui->UzivatelComboBox->currentText();
    m_filtr.text = ui->TextEdit->text().trimmed();
    m_strana = 0;
    nactiStranku(0, 0);
}

void THistorieZmen::TextEditKeyDown()
{
    HledejButtonClick();
}

void THistorieZmen::DalsiButtonClick()
{
    if (!m_dalsi || m_radky.empty())
        return;
    ++m_strana;
    nactiStranku(m_radky.back().id, 0);
}

void THistorieZmen::PredchoziButtonClick()
{
    if (m_strana == 0 || m_radky.empty())
        return;
    --m_strana;
    // The first page is read anew: it shows what was written meanwhile.
    if (m_strana == 0)
        nactiStranku(0, 0);
    else
        nactiStranku(0, m_radky.front().id);
}

void THistorieZmen::nactiStranku(qint64 zaId, qint64 predId)
{
    zkus(tr("Nepodařilo se načíst historii změn."), [&] {
        if (predId > 0) {
            m_radky = HistorieZmen::stranka(m_filtr, 0, predId, naStranku);
            m_dalsi = true;
        } else {
            // One row more tells whether there is a next page.
            m_radky = HistorieZmen::stranka(m_filtr, zaId, 0, naStranku + 1);
            m_dalsi = m_radky.size() > std::size_t(naStranku);
            if (m_dalsi)
                m_radky.pop_back();
        }
    });
    ukazStranku();
}

void THistorieZmen::ukazStranku()
{
    QTableWidget *t = ui->HistorieTable;
    t->setRowCount(0);
    t->setRowCount(int(m_radky.size()));
    const QLocale locale;
    for (int i = 0; i < int(m_radky.size()); ++i) {
        const ZaznamHistorie &z = m_radky[std::size_t(i)];
        // The year in full and the seconds: saves follow one another within a minute.
        const QString texty[] = {locale.toString(z.kdy, QStringLiteral("d. M. yyyy H:mm:ss")), z.uzivatel, z.pocitac,
                                 z.popis};
        for (int sloupec = 0; sloupec < 4; ++sloupec) {
            auto *polozka = new QTableWidgetItem(texty[sloupec]);
            polozka->setToolTip(sloupec == 3 ? z.popis + u'\n' + z.ids : texty[sloupec]);
            t->setItem(i, sloupec, polozka);
        }
    }
    ui->PredchoziButton->setEnabled(m_strana > 0);
    ui->DalsiButton->setEnabled(m_dalsi);
    ui->StranaLabel->setText(m_radky.empty() ? tr("Žádné změny.") : tr("Strana %1").arg(m_strana + 1));
    if (t->rowCount() > 0)
        t->setCurrentCell(0, 0);
}
