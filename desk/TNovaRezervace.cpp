#include "desk/TNovaRezervace.h"
#include "ui_TNovaRezervace.h"

#include "gui/DisplayFormat.h"
#include "gui/DropDownList.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "gui/ModelKlientu.h"
#include "model/Pokoje.h"
#include "web/engine/SpolupraceSWebem.h"

#include <QLocale>
#include <algorithm>
#include <utility>
#include <vector>

namespace {
// Lines of nights at most, so that the tooltip of any stay fits the screen:
// single nights while they fit, else runs of equal nights, else the first and
// the last runs around an elided middle.
constexpr std::size_t radkuNoci = 17;

bool stejnaNoc(const NocPobytu &a, const NocPobytu &b)
{
    return a.typDne == b.typDne && a.maCenu == b.maCenu && a.cena == b.cena;
}

QString rozpetiDnu(const QDate &prvni, const QDate &posledni)
{
    QString kdy = DisplayFormat::day(prvni);
    if (posledni != prvni)
        kdy += QStringLiteral(" – ") + DisplayFormat::day(posledni);
    return kdy;
}

QString radekRozpisu(const NocPobytu &prvni, const NocPobytu &posledni, std::size_t pocet)
{
    QString co;
    if (prvni.maCenu)
        co = prvni.typDne + QStringLiteral(": ")
             + (pocet > 1 ? QStringLiteral("%1 × ").arg(pocet) : QString()) + DisplayFormat::price(prvni.cena);
    else if (prvni.typDne.isEmpty())
        co = TNovaRezervace::tr("den není v kalendáři");
    else
        co = prvni.typDne + QStringLiteral(": ") + TNovaRezervace::tr("cena není definována");
    return rozpetiDnu(prvni.datum, posledni.datum) + QStringLiteral("  ") + co;
}

QString rozpisCeny(const RozpisCeny &rozpis)
{
    const std::vector<NocPobytu> &noci = rozpis.noci();
    // Runs of nights as [first, last].
    std::vector<std::pair<std::size_t, std::size_t>> behy;
    const bool poBehu = noci.size() > radkuNoci;
    for (std::size_t i = 0; i < noci.size();) {
        std::size_t j = i + 1;
        while (poBehu && j < noci.size() && stejnaNoc(noci[i], noci[j]))
            ++j;
        behy.emplace_back(i, j - 1);
        i = j;
    }
    QStringList lines{TNovaRezervace::tr("Cena po nocích:")};
    const auto vypisBehy = [&](std::size_t od, std::size_t po) {
        for (std::size_t b = od; b < po; ++b)
            lines << radekRozpisu(noci[behy[b].first], noci[behy[b].second], behy[b].second - behy[b].first + 1);
    };
    if (behy.size() <= radkuNoci) {
        vypisBehy(0, behy.size());
    } else {
        const std::size_t kraj = radkuNoci / 2;
        const std::size_t konec = behy.size() - kraj;
        vypisBehy(0, kraj);
        lines << rozpetiDnu(noci[behy[kraj].first].datum, noci[behy[konec - 1].second].datum) + QStringLiteral("  …");
        vypisBehy(konec, behy.size());
    }
    const auto bezCeny = std::count_if(noci.begin(), noci.end(), [](const NocPobytu &n) { return !n.maCenu; });
    lines << (bezCeny > 0 ? TNovaRezervace::tr("Nocí bez ceny: %1 z %2").arg(bezCeny).arg(noci.size())
                          : TNovaRezervace::tr("Celkem: %1").arg(DisplayFormat::price(rozpis.cena())));
    return lines.join(u'\n');
}

QString kolizniRezervace(const std::vector<PobytPokoje> &kolize)
{
    QStringList lines{TNovaRezervace::tr("Pokoj je v těchto dnech obsazen:")};
    for (const PobytPokoje &p : kolize)
        lines << TNovaRezervace::tr("rezervace %1: %2 – %3")
                     .arg(p.cislo_objednavky)
                     .arg(DisplayFormat::day(p.od_kdy), DisplayFormat::day(p.do_kdy));
    return lines.join(u'\n');
}
} // namespace

TNovaRezervace::TNovaRezervace(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TNovaRezervace>())
{
    ui->setupUi(this);
    // The regional short format, with the year in full so that typing it is unambiguous.
    const QString format = DisplayFormat::shortDateFormat(QLocale());
    ui->OdDateTimePicker->setDisplayFormat(format);
    ui->DoDateTimePicker->setDisplayFormat(format);
    m_klienti = new ModelKlientu(ui->KlientComboBox);

    connect(ui->KlientComboBox, &QComboBox::currentIndexChanged, this, &TNovaRezervace::KlientComboBoxChange);
    connect(ui->PokojComboBox, &QComboBox::currentIndexChanged, this, &TNovaRezervace::PokojComboBoxChange);
    connect(ui->OdDateTimePicker, &QDateEdit::dateChanged, this, &TNovaRezervace::OdDateTimePickerChange);
    connect(ui->DoDateTimePicker, &QDateEdit::dateChanged, this, &TNovaRezervace::DoDateTimePickerChange);
    connect(ui->OKButton, &QPushButton::clicked, this, &TNovaRezervace::OKButtonClick);
    zahazujPriSkryti(m_pokoje, m_rezervace, m_rozpis);
}

TNovaRezervace::~TNovaRezervace() = default;

void TNovaRezervace::prefill(const QString &cisloPokoje, const QDate &den)
{
    m_predvyplneni = Predvyplneni{cisloPokoje, den};
}

void TNovaRezervace::FormShow()
{
    const std::optional<Predvyplneni> predvyplneni = std::exchange(m_predvyplneni, std::nullopt);
    m_rezervace.reset();
    {
        const QSignalBlocker k(ui->KlientComboBox), p(ui->PokojComboBox), od(ui->OdDateTimePicker),
            dO(ui->DoDateTimePicker);
        m_klienti->nacti();
        m_pokoje = std::make_unique<Pokoje>();
        ListBox::vypis(ui->PokojComboBox, *m_pokoje);
        const QDate den = predvyplneni ? predvyplneni->den : QDate::currentDate();
        ui->OdDateTimePicker->setDate(den);
        ui->DoDateTimePicker->setDate(den);
        if (predvyplneni)
            ui->PokojComboBox->setCurrentIndex(
                ui->PokojComboBox->findText(predvyplneni->cisloPokoje, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    rebuild();
    // The receptionist starts with the client.
    ui->KlientComboBox->setFocus();
    DropDownList::openWhenActive(ui->KlientComboBox);
}

void TNovaRezervace::FormHide()
{
    m_klienti->zahod();
}

bool TNovaRezervace::event(QEvent *event)
{
    const bool handled = TDialog::event(event);
    // A window's minimum size ignores wrapped text: the price may need more lines than the window has room for.
    if (event->type() == QEvent::LayoutRequest) {
        const int potreba = heightForWidth(width());
        if (potreba > height())
            resize(width(), potreba);
    }
    return handled;
}

void TNovaRezervace::KlientComboBoxChange()
{
    rebuild();
}

void TNovaRezervace::PokojComboBoxChange()
{
    rebuild();
}

void TNovaRezervace::OdDateTimePickerChange()
{
    rebuild();
}

void TNovaRezervace::DoDateTimePickerChange()
{
    rebuild();
}

void TNovaRezervace::rebuild()
{
    m_rezervace.reset();
    m_rozpis = RozpisCeny();
    const QDate od = ui->OdDateTimePicker->date();
    const QDate dO = ui->DoDateTimePicker->date();
    if (m_pokoje && od <= dO && ui->KlientComboBox->currentIndex() >= 0
        && ui->PokojComboBox->currentIndex() >= 0) {
        // The lines are the lists' elements by position: names repeat. 0 is a real client.
        const int klientId = m_klienti->klientNaRadku(ui->KlientComboBox->currentIndex());
        const int pokojId = vybranyPokoj().pokoj_id;
        if (klientId >= 0 && pokojId >= 0)
            zkus(tr("Nepodařilo se zjistit cenu pobytu."), [&] {
                // Priced from the night-by-night rows: one statement gives the price and its tooltip.
                RozpisCeny rozpis = RozpisCeny::Nacti(klientId, pokojId, od, dO);
                Objednavka rezervace(klientId, 0, QDate::currentDate(), od, dO, pokojId, rozpis.cena());
                rezervace.chybi_cena = rozpis.chybiCena();
                m_rozpis = std::move(rozpis);
                m_rezervace = rezervace;
            });
    }
    refreshLabels();
}

Pokoj TNovaRezervace::vybranyPokoj() const
{
    const int radek = ui->PokojComboBox->currentIndex();
    return m_pokoje && radek >= 0 && radek < int(m_pokoje->size()) ? m_pokoje->prvky()[radek] : Pokoj{};
}

void TNovaRezervace::refreshLabels()
{
    // The live test takes no lock and only advises; the store decides.
    std::vector<PobytPokoje> kolize;
    if (m_rezervace
        && !zkus(tr("Nepodařilo se zjistit, zda je pokoj volný."), [&] { kolize = NactiPobytyPokoje(m_rezervace->pokoj_id, m_rezervace->od_kdy, m_rezervace->do_kdy); }))
        m_rezervace.reset();

    if (!m_rezervace) {
        ui->CenaLabel->setText(tr("Nesprávně zadané údaje."));
        ui->CenaLabel->setToolTip(QString());
        ui->VolnyLabel->clear();
        ui->VolnyLabel->setToolTip(QString());
        ui->OKButton->setEnabled(false);
        return;
    }
    int prekazky = 0;
    if (m_rezervace->chybi_cena) {
        ui->CenaLabel->setText(tr("Cena není pro vybrané hodnoty definována."));
        ++prekazky;
    } else {
        ui->CenaLabel->setText(DisplayFormat::price(m_rezervace->cena));
    }
    ui->CenaLabel->setToolTip(rozpisCeny(m_rozpis));
    if (!kolize.empty()) {
        ui->VolnyLabel->setText(tr("Ne"));
        ui->VolnyLabel->setToolTip(kolizniRezervace(kolize));
        ++prekazky;
    } else {
        ui->VolnyLabel->setText(tr("Ano"));
        ui->VolnyLabel->setToolTip(QString());
    }
    ui->OKButton->setEnabled(prekazky == 0);
}

void TNovaRezervace::OKButtonClick()
{
    VysledekRezervace vysledek = VysledekRezervace::Kolize;
    // A database error is shown and nothing was stored: the dialog stays open.
    const QString cisloPokoje = vybranyPokoj().cislo_pokoje;
    if (m_rezervace
        && !zkus(tr("Nepodařilo se uložit rezervaci."), [&] { vysledek = m_rezervace->ZarezervujKlientovi(cisloPokoje); }))
        return;
    if (vysledek != VysledekRezervace::Ulozena) {
        QString proc = tr("Pokoj %1 mezitím na některou z vybraných nocí zarezervovala jiná recepce.").arg(cisloPokoje);
        if (vysledek == VysledekRezervace::KlientSmazan)
            proc = tr("Klient byl mezitím smazán.");
        else if (vysledek == VysledekRezervace::PokojSmazan)
            proc = tr("Pokoj %1 mezitím odstranila jiná recepce.").arg(cisloPokoje);
        MessageBox::chyba(this, tr("Rezervaci nebylo možné uložit.") + u'\n' + proc);
    }
    startPriceExport();
    if (vysledek == VysledekRezervace::Ulozena) {
        accept();
        return;
    }
    // What was typed stays, to choose another room or other nights; the
    // labels say now what stands in the way.
    rebuild();
}

void TNovaRezervace::startPriceExport()
{
    // After every OK, stored or refused: the site learns the occupancy as it now is.
    if (m_spolupraceSWebem)
        m_spolupraceSWebem->ExportCenObsazenosti();
}
