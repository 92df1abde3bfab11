#include "admin/TAdministracePokoje.h"
#include "ui_TAdministracePokoje.h"

#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/Pokoje.h"
#include "model/TypyPokoju.h"

TAdministracePokoje::TAdministracePokoje(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministracePokoje>())
{
    ui->setupUi(this);
    using T = TAdministracePokoje;
    connect(ui->PridejPokojButton, &QPushButton::clicked, this, &T::PridejPokojButtonClick);
    connect(ui->OdstranVybranePokojeButton, &QPushButton::clicked, this, &T::OdstranVybranePokojeButtonClick);
    connect(ui->ZmenTypPokojeButton, &QPushButton::clicked, this, &T::ZmenTypPokojeButtonClick);
    connect(ui->NadefinovanePokojeListBox, &QListWidget::itemSelectionChanged, this,
            &T::NadefinovanePokojeListBoxClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &T::OKButtonClick);
    zahazujPriSkryti(m_pokoje, m_typyPokoju);
}

TAdministracePokoje::~TAdministracePokoje() = default;

void TAdministracePokoje::FormShow()
{
    m_pokoje = std::make_unique<Pokoje>();
    m_typyPokoju = std::make_unique<TypyPokoju>();
    obnovSeznamy();
}

void TAdministracePokoje::obnovSeznamy()
{
    ListBox::vypis(ui->NadefinovanePokojeListBox, *m_pokoje);
    ListBox::vypis(ui->TypyPokojuListBox, *m_typyPokoju);
}

void TAdministracePokoje::nactiZnovu()
{
    m_pokoje->reloadKeepingChanges();
    m_typyPokoju = std::make_unique<TypyPokoju>();
    obnovSeznamy();
}

void TAdministracePokoje::PridejPokojButtonClick()
{
    const int typ = ListBox::vybranyRadek(ui->TypyPokojuListBox);
    // "101 " would be a second room that looks like 101 in every list.
    const QString cislo = ui->NovyPokojEdit->text().trimmed();
    if (cislo.isEmpty() && !ui->NovyPokojEdit->text().isEmpty()) {
        MessageBox::chyba(this, tr("Číslo pokoje nesmí být prázdné."));
        return;
    }
    if (typ < 0 || cislo.isEmpty())
        return;
    // Numbers are what the desk and the web pick rooms by: two rooms 101 could not be told apart.
    bool obsazene = false;
    if (!zkus(tr("Nepodařilo se přidat pokoj."), [&] { obsazene = m_pokoje->numberTaken(cislo); }))
        return;
    if (obsazene) {
        MessageBox::chyba(this, tr("Pokoj „%1“ už existuje.").arg(cislo));
        return;
    }
    m_pokoje->Pridej(cislo, m_typyPokoju->prvky()[typ].typ_pokoje_id);
    obnovSeznamy();
}

void TAdministracePokoje::OdstranVybranePokojeButtonClick()
{
    const QList<int> radky = ListBox::vybraneRadky(ui->NadefinovanePokojeListBox);
    if (radky.isEmpty())
        return;
    std::vector<Pokoj> vybrane;
    for (int radek : radky)
        vybrane.push_back(m_pokoje->prvky()[radek]);
    // Guests booked from today on would vanish from the grid with their room.
    int budouci = 0;
    if (!zkus(tr("Nepodařilo se zjistit rezervace vybraných pokojů."), [&] {
            budouci = Pokoje::reservationsUntil(vybrane, QDate::currentDate());
        }))
        return;
    if (budouci > 0
        && MessageBox::varovani(this,
                                tr("Vybrané pokoje mají rezervace na dnešek nebo pozdější dny (počet: %1).")
                                        .arg(budouci)
                                    + u'\n' + tr("Opravdu je chcete odstranit?"),
                                QMessageBox::Ok | QMessageBox::Cancel)
               != QMessageBox::Ok)
        return;
    for (auto it = radky.crbegin(); it != radky.crend(); ++it)
        m_pokoje->Odstran(*it, budouci > 0);
    obnovSeznamy();
}

void TAdministracePokoje::ZmenTypPokojeButtonClick()
{
    const QList<int> radky = ListBox::vybraneRadky(ui->NadefinovanePokojeListBox);
    const int typ = ListBox::vybranyRadek(ui->TypyPokojuListBox);
    if (radky.isEmpty() || typ < 0)
        return;
    for (int radek : radky)
        m_pokoje->ZmenTyp(radek, m_typyPokoju->prvky()[typ].typ_pokoje_id);
    // The lines stay as they were: the rooms keep their numbers and places.
    ui->NadefinovanePokojeListBox->setFocus();
}

void TAdministracePokoje::NadefinovanePokojeListBoxClick()
{
    // One room selected: its type is shown selected, ready to be changed.
    const QList<int> radky = ListBox::vybraneRadky(ui->NadefinovanePokojeListBox);
    if (radky.size() != 1)
        return;
    const int typPokojeId = m_pokoje->prvky()[radky.first()].typ_pokoje_id;
    const auto &typy = m_typyPokoju->prvky();
    for (int i = 0; i < static_cast<int>(typy.size()); ++i)
        if (typy[i].typ_pokoje_id == typPokojeId) {
            ui->TypyPokojuListBox->setCurrentRow(i);
            return;
        }
    ui->TypyPokojuListBox->clearSelection();
}

void TAdministracePokoje::OKButtonClick()
{
    QHash<int, QString> nazvyTypu;
    for (const TypPokoje &t : m_typyPokoju->prvky())
        nazvyTypu.insert(t.typ_pokoje_id, t.nazev_typu_pokoje);
    ulozAZavri(tr("Nepodařilo se uložit pokoje."), [&] { m_pokoje->Uloz(nazvyTypu); }, [this] { nactiZnovu(); });
}
