#include "desk/TPrijezdHosta.h"
#include "ui_TPrijezdHosta.h"

#include "gui/DisplayFormat.h"
#include "gui/MessageBox.h"
#include "model/Historie.h"
#include "model/Zeme.h"
#include "model/Zmeny.h"

#include <QDateTime>
#include <QLocale>

namespace {
QDate datumZTextu(const QString &text)
{
    // "7.12.1980" and "7. 12. 1980" alike.
    QString t = text;
    t.remove(u' ');
    return QDate::fromString(t, QStringLiteral("d.M.yyyy"));
}

QString textZData(const QDate &den)
{
    return den.isValid() ? den.toString(QStringLiteral("d. M. yyyy")) : QString();
}

void vyberData(QComboBox *box, const QVariant &data)
{
    box->setCurrentIndex(box->findData(data));
}

QDateTime nyni()
{
    const QDateTime ted = QDateTime::currentDateTime();
    return QDateTime(ted.date(), QTime(ted.time().hour(), ted.time().minute()));
}
} // namespace

TPrijezdHosta::TPrijezdHosta(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TPrijezdHosta>())
{
    ui->setupUi(this);
    ui->PrijezdDateTimeEdit->setDisplayFormat(DisplayFormat::shortDateFormat(QLocale()) + QStringLiteral(" HH:mm"));
    for (QComboBox *box : {ui->StatniPrislusnostComboBox, ui->StatComboBox})
        for (const Zeme::Zeme &z : Zeme::seznam())
            box->addItem(z.nazev + QStringLiteral(" (") + z.kod + u')', z.kod);
    for (const QString &druh : Hoste::druhyDokladu())
        ui->DokladDruhComboBox->addItem(druh, druh);
    for (const auto &[kod, nazev] : Hoste::ucely())
        ui->UcelComboBox->addItem(kod + QStringLiteral(" – ") + nazev, kod);
    ui->ChybiLabel->setStyleSheet(QStringLiteral("color: #b00000;"));

    connect(ui->PobytComboBox, &QComboBox::currentIndexChanged, this, &TPrijezdHosta::PobytComboBoxChange);
    connect(ui->HosteListWidget, &QListWidget::currentRowChanged, this, &TPrijezdHosta::HosteListWidgetChange);
    connect(ui->PridatHostaButton, &QPushButton::clicked, this, &TPrijezdHosta::PridatHostaButtonClick);
    connect(ui->OdebratHostaButton, &QPushButton::clicked, this, &TPrijezdHosta::OdebratHostaButtonClick);
    connect(ui->KopirovatAdresuButton, &QPushButton::clicked, this, &TPrijezdHosta::KopirovatAdresuButtonClick);
    connect(ui->HledatHostaEdit, &QLineEdit::textChanged, this, &TPrijezdHosta::HledatHostaEditChange);
    naEnter(ui->HledatHostaEdit, &TPrijezdHosta::PouzitUdajeButtonClick);
    connect(ui->PouzitUdajeButton, &QPushButton::clicked, this, &TPrijezdHosta::PouzitUdajeButtonClick);
    connect(ui->NalezeniListWidget, &QListWidget::itemActivated, this, &TPrijezdHosta::PouzitUdajeButtonClick);
    for (QLineEdit *edit : {ui->JmenoEdit, ui->PrijmeniEdit, ui->DatumNarozeniEdit, ui->UliceEdit, ui->MestoEdit,
                            ui->PscEdit, ui->DokladCisloEdit, ui->VizumEdit})
        connect(edit, &QLineEdit::textEdited, this, &TPrijezdHosta::UdajeChange);
    for (QComboBox *box : {ui->StatniPrislusnostComboBox, ui->StatComboBox, ui->DokladDruhComboBox,
                           ui->UcelComboBox, ui->OsvobozeniComboBox})
        connect(box, &QComboBox::currentIndexChanged, this, &TPrijezdHosta::UdajeChange);
    connect(ui->PrijezdDateTimeEdit, &QDateTimeEdit::dateTimeChanged, this, &TPrijezdHosta::ukazChyby);
    connect(ui->OKButton, &QPushButton::clicked, this, &TPrijezdHosta::OKButtonClick);
    zahazujPriSkryti(m_pobyty, m_nacteni, m_hoste, m_nalezeni);
}

TPrijezdHosta::~TPrijezdHosta() = default;

void TPrijezdHosta::prefill(int cisloObjednavky, const QString &cisloPokoje)
{
    m_predvyplneni = Vyber{cisloObjednavky, cisloPokoje};
}

void TPrijezdHosta::FormShow()
{
    const std::optional<Vyber> vybrat = std::exchange(m_predvyplneni, std::nullopt);
    {
        const QSignalBlocker quiet(ui->OsvobozeniComboBox);
        ui->OsvobozeniComboBox->clear();
        ui->OsvobozeniComboBox->addItem(tr("žádné"), 0);
        for (const auto &[id, nazev] : Hoste::osvobozeni())
            ui->OsvobozeniComboBox->addItem(nazev, id);
    }
    ui->PrijezdDateTimeEdit->setDateTime(nyni());
    ui->HledatHostaEdit->clear();
    ui->NalezeniListWidget->clear();
    nactiPobyty(vybrat);
    ui->PobytComboBox->setFocus();
}

void TPrijezdHosta::nactiPobyty(std::optional<Vyber> vybrat)
{
    if (!vybrat && vybranyPobyt())
        vybrat = Vyber{vybranyPobyt()->klic.cislo_objednavky, vybranyPobyt()->cislo_pokoje};
    m_pobyty = Ubytovani::kPrijezdu(QDate::currentDate());
    int radek = m_pobyty.empty() ? -1 : 0;
    {
        const QSignalBlocker quiet(ui->PobytComboBox);
        ui->PobytComboBox->clear();
        for (int i = 0; i < int(m_pobyty.size()); ++i) {
            const PobytHosta &p = m_pobyty[i];
            ui->PobytComboBox->addItem(p.popis());
            if (vybrat && p.klic.cislo_objednavky == vybrat->cislo_objednavky && p.cislo_pokoje == vybrat->cislo_pokoje)
                radek = i;
        }
        ui->PobytComboBox->setCurrentIndex(radek);
    }
    nactiHosty();
}

const PobytHosta *TPrijezdHosta::vybranyPobyt() const
{
    const int radek = ui->PobytComboBox->currentIndex();
    return radek >= 0 && radek < int(m_pobyty.size()) ? &m_pobyty[radek] : nullptr;
}

int TPrijezdHosta::vybranyHost() const
{
    const int radek = ui->HosteListWidget->currentRow();
    return radek >= 0 && radek < int(m_hoste.size()) ? radek : -1;
}

void TPrijezdHosta::nactiHosty()
{
    m_nacteni.clear();
    m_hoste.clear();
    QString stav;
    if (const PobytHosta *p = vybranyPobyt()) {
        m_nacteni = Hoste::nacti(p->klic);
        m_hoste = m_nacteni;
        // Advice only: the receptionist decides at OK.
        QStringList varovani;
        if (Ubytovani::jeNeuklizeny(p->klic.pokoj_id))
            varovani << tr("Pokoj není uklizený.");
        const QString mimo = Ubytovani::mimoProvoz(p->klic.pokoj_id, QDate::currentDate());
        if (!mimo.isEmpty())
            varovani << tr("Pokoj je mimo provoz (%1).").arg(mimo);
        stav = varovani.join(u' ');
    }
    ui->StavPokojeLabel->setText(stav);
    if (m_hoste.empty() && vybranyPobyt())
        m_hoste.push_back(Host{});
    for (Host &h : m_hoste)
        if (h.host_id == 0)
            h.host_id = dalsiDocasneId(m_hoste, [](const Host &x) { return x.host_id; });
    vypisHosty(0);
}

QString TPrijezdHosta::radekHosta(const Host &h) const
{
    const QString jmeno = h.jmeno.isEmpty() && h.prijmeni.isEmpty() ? tr("(nový host)") : h.prijmeni + u' ' + h.jmeno;
    return Hoste::coChybi(h).isEmpty() ? jmeno : jmeno + tr(" – neúplné údaje");
}

void TPrijezdHosta::vypisHosty(int vybrat)
{
    {
        const QSignalBlocker quiet(ui->HosteListWidget);
        ui->HosteListWidget->clear();
        for (const Host &h : m_hoste)
            ui->HosteListWidget->addItem(radekHosta(h));
        ui->HosteListWidget->setCurrentRow(m_hoste.empty() ? -1 : qBound(0, vybrat, int(m_hoste.size()) - 1));
    }
    ukazHosta();
}

void TPrijezdHosta::ukazHosta()
{
    const int i = vybranyHost();
    ui->UdajeGroupBox->setEnabled(i >= 0);
    ui->OdebratHostaButton->setEnabled(i >= 0);
    ui->KopirovatAdresuButton->setEnabled(i > 0);
    ui->OKButton->setEnabled(vybranyPobyt() != nullptr);
    const Host h = i >= 0 ? m_hoste[i] : Host{};
    m_plni = true;
    ui->JmenoEdit->setText(h.jmeno);
    ui->PrijmeniEdit->setText(h.prijmeni);
    ui->DatumNarozeniEdit->setText(textZData(h.datum_narozeni));
    vyberData(ui->StatniPrislusnostComboBox, h.statni_prislusnost);
    ui->UliceEdit->setText(h.ulice);
    ui->MestoEdit->setText(h.mesto);
    ui->PscEdit->setText(h.psc);
    vyberData(ui->StatComboBox, h.stat);
    vyberData(ui->DokladDruhComboBox, h.doklad_druh);
    ui->DokladCisloEdit->setText(h.doklad_cislo);
    ui->VizumEdit->setText(h.vizum);
    vyberData(ui->UcelComboBox, h.ucel);
    vyberData(ui->OsvobozeniComboBox, h.osvobozeni_id);
    m_plni = false;
    ukazChyby();
}

QStringList TPrijezdHosta::chybyFormulare(const Host &h) const
{
    QStringList chyby = Hoste::coChybi(h);
    // A typed date that is no date at all reads as missing: say which.
    if (!h.datum_narozeni.isValid() && !ui->DatumNarozeniEdit->text().trimmed().isEmpty()) {
        const qsizetype i = chyby.indexOf(tr("datum narození"));
        if (i >= 0)
            chyby[i] = tr("datum narození (neplatné datum)");
    }
    return chyby;
}

void TPrijezdHosta::ukazChyby()
{
    const int i = vybranyHost();
    if (i < 0) {
        ui->ChybiLabel->clear();
        ui->MladistvyLabel->clear();
        return;
    }
    const Host &h = m_hoste[i];
    const QStringList chyby = chybyFormulare(h);
    ui->ChybiLabel->setText(chyby.isEmpty() ? QString() : tr("Chybí: %1").arg(chyby.join(QStringLiteral(", "))));
    const PobytHosta *p = vybranyPobyt();
    const QDate prvniDen = p ? qMin(p->klic.od_kdy, ui->PrijezdDateTimeEdit->date()) : QDate();
    ui->MladistvyLabel->setText(Hoste::jeMladsi18(h, prvniDen) ? tr("Mladší 18 let: od poplatku osvobozen.")
                                                                : QString());
    ui->HosteListWidget->item(i)->setText(radekHosta(h));
}

void TPrijezdHosta::UdajeChange()
{
    const int i = vybranyHost();
    if (m_plni || i < 0)
        return;
    Host &h = m_hoste[i];
    h.jmeno = ui->JmenoEdit->text().trimmed();
    h.prijmeni = ui->PrijmeniEdit->text().trimmed();
    h.datum_narozeni = datumZTextu(ui->DatumNarozeniEdit->text());
    h.statni_prislusnost = ui->StatniPrislusnostComboBox->currentData().toString();
    h.ulice = ui->UliceEdit->text().trimmed();
    h.mesto = ui->MestoEdit->text().trimmed();
    h.psc = ui->PscEdit->text().trimmed();
    h.stat = ui->StatComboBox->currentData().toString();
    h.doklad_druh = ui->DokladDruhComboBox->currentData().toString();
    h.doklad_cislo = ui->DokladCisloEdit->text().trimmed();
    h.vizum = ui->VizumEdit->text().trimmed();
    h.ucel = ui->UcelComboBox->currentData().toString();
    h.osvobozeni_id = ui->OsvobozeniComboBox->currentData().toInt();
    ukazChyby();
}

void TPrijezdHosta::PobytComboBoxChange()
{
    zkus(tr("Nepodařilo se načíst hosty pobytu."), [this] { nactiHosty(); });
}

void TPrijezdHosta::HosteListWidgetChange()
{
    ukazHosta();
}

void TPrijezdHosta::PridatHostaButtonClick()
{
    Host h;
    h.host_id = dalsiDocasneId(m_hoste, [](const Host &x) { return x.host_id; });
    m_hoste.push_back(h);
    vypisHosty(int(m_hoste.size()) - 1);
    ui->JmenoEdit->setFocus();
}

void TPrijezdHosta::OdebratHostaButtonClick()
{
    const int i = vybranyHost();
    if (i < 0)
        return;
    m_hoste.erase(m_hoste.begin() + i);
    vypisHosty(i);
}

void TPrijezdHosta::KopirovatAdresuButtonClick()
{
    const int i = vybranyHost();
    if (i <= 0)
        return;
    m_hoste[i].kopirujAdresu(m_hoste[i - 1]);
    ukazHosta();
}

void TPrijezdHosta::HledatHostaEditChange()
{
    m_nalezeni.clear();
    ui->NalezeniListWidget->clear();
    const QString text = ui->HledatHostaEdit->text().trimmed();
    if (text.size() < 2)
        return;
    zkus(tr("Nepodařilo se vyhledat dřívější hosty."), [&] { m_nalezeni = Hoste::najdiVracejiciSe(text); });
    for (const Host &h : m_nalezeni)
        ui->NalezeniListWidget->addItem(tr("%1 %2, nar. %3, %4")
                                            .arg(h.prijmeni, h.jmeno, textZData(h.datum_narozeni), h.mesto));
    if (!m_nalezeni.empty())
        ui->NalezeniListWidget->setCurrentRow(0);
}

void TPrijezdHosta::PouzitUdajeButtonClick()
{
    const int n = ui->NalezeniListWidget->currentRow();
    if (n < 0 || n >= int(m_nalezeni.size()) || !vybranyPobyt())
        return;
    if (vybranyHost() < 0)
        PridatHostaButtonClick();
    // The particulars, not the stored row: this stay's guest keeps its own id.
    Host &h = m_hoste[vybranyHost()];
    const int id = h.host_id;
    h = m_nalezeni[n];
    h.host_id = id;
    ukazHosta();
    ui->JmenoEdit->setFocus();
}

void TPrijezdHosta::OKButtonClick()
{
    const PobytHosta *vybrany = vybranyPobyt();
    if (!vybrany)
        return;
    const PobytHosta pobyt = *vybrany;
    if (m_hoste.empty()) {
        MessageBox::chyba(this, tr("Zadejte alespoň jednoho hosta."));
        return;
    }
    const QString chybi = Hoste::chybejiciUdaje(m_hoste);
    if (!chybi.isEmpty()) {
        MessageBox::chyba(this, tr("Hosty nelze ubytovat, v údajích pro knihy ubytovaných chybí:") + u'\n' + chybi);
        return;
    }
    const QDateTime kdy = ui->PrijezdDateTimeEdit->dateTime();
    if (kdy.date() > pobyt.do_kdy) {
        MessageBox::chyba(this, tr("Příjezd %1 je až po poslední noci pobytu (%2).")
                                    .arg(Historie::datum(kdy.date()), Historie::datum(pobyt.do_kdy)));
        return;
    }
    double novaCena = pobyt.cena;
    if (kdy.date() < pobyt.klic.od_kdy) {
        std::optional<double> cena;
        if (!zkus(tr("Nepodařilo se spočítat cenu pobytu."),
                  [&] { cena = Ubytovani::cena(pobyt, kdy.date(), pobyt.do_kdy); }))
            return;
        if (!cena) {
            MessageBox::chyba(this, tr("Pobyt začíná až %1 a cena delšího pobytu není pro některou noc definována.")
                                        .arg(Historie::datum(pobyt.klic.od_kdy)));
            return;
        }
        if (MessageBox::show(this,
                             tr("Pobyt začíná až %1. Posunout jeho první den na %2?\nNová cena pobytu: %3 (dosud %4).")
                                 .arg(Historie::datum(pobyt.klic.od_kdy), Historie::datum(kdy.date()),
                                      DisplayFormat::price(*cena), DisplayFormat::price(pobyt.cena)),
                             tr("Dřívější příjezd"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Question)
            != QMessageBox::Yes)
            return;
        novaCena = *cena;
    }
    bool neuklizeny = false;
    QString mimo;
    if (!zkus(tr("Nepodařilo se zjistit stav pokoje."), [&] {
            neuklizeny = Ubytovani::jeNeuklizeny(pobyt.klic.pokoj_id);
            mimo = Ubytovani::mimoProvoz(pobyt.klic.pokoj_id, kdy.date());
        }))
        return;
    if (neuklizeny
        && MessageBox::varovani(this, tr("Pokoj %1 není uklizený. Přesto hosty ubytovat?").arg(pobyt.cislo_pokoje),
                                QMessageBox::Yes | QMessageBox::No)
               != QMessageBox::Yes)
        return;
    if (!mimo.isEmpty()
        && MessageBox::varovani(this, tr("Pokoj %1 je mimo provoz (%2). Přesto hosty ubytovat?")
                                          .arg(pobyt.cislo_pokoje, mimo),
                                QMessageBox::Yes | QMessageBox::No)
               != QMessageBox::Yes)
        return;
    Ubytovani::Vysledek vysledek = Ubytovani::Vysledek::Hotovo;
    const bool ulozeno = zkusUlozit(
        tr("Hosty se nepodařilo ubytovat."),
        [&] { vysledek = Ubytovani::prijezd(pobyt, m_nacteni, m_hoste, kdy, novaCena); },
        [this] { nactiPobyty(std::nullopt); });
    if (!ulozeno)
        return;
    if (vysledek == Ubytovani::Vysledek::PokojObsazen) {
        MessageBox::chyba(this, tr("Pokoj %1 je v nocích před pobytem obsazen, první den pobytu nelze posunout. "
                                   "Nic se neuložilo.")
                                    .arg(pobyt.cislo_pokoje));
        return;
    }
    accept();
}
