#include "desk/TStavPokoju.h"
#include "ui_TStavPokoju.h"

#include "db/TMojeQuery.h"
#include "gui/MessageBox.h"
#include "gui/TiskA4.h"
#include "model/Historie.h"

#include <QCollator>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>

namespace {
QLocale cesky()
{
    return QLocale(QLocale::Czech, QLocale::CzechRepublic);
}

// Room numbers in numeric order ("2" before "10"), the rest as Czech text.
class Bunka : public QTableWidgetItem
{
public:
    using QTableWidgetItem::QTableWidgetItem;

    bool operator<(const QTableWidgetItem &other) const override
    {
        static const QCollator razeni = [] {
            QCollator c(cesky());
            c.setNumericMode(true);
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        return razeni.compare(text(), other.text()) < 0;
    }
};

QString ano(bool plati)
{
    return plati ? QCoreApplication::translate("TStavPokoju", "ano") : QString();
}
} // namespace

TStavPokoju::TStavPokoju(QWidget *parent) : TDialog(parent), ui(std::make_unique<Ui::TStavPokoju>())
{
    ui->setupUi(this);
    ui->PokojeTable->sortByColumn(0, Qt::AscendingOrder);
    ui->PokojeTable->installEventFilter(this);
    connect(ui->CistyButton, &QPushButton::clicked, this, &TStavPokoju::CistyButtonClick);
    connect(ui->SpinavyButton, &QPushButton::clicked, this, &TStavPokoju::SpinavyButtonClick);
    connect(ui->ZkontrolovanyButton, &QPushButton::clicked, this, &TStavPokoju::ZkontrolovanyButtonClick);
    connect(ui->PridejMimoProvozButton, &QPushButton::clicked, this, &TStavPokoju::PridejMimoProvozButtonClick);
    connect(ui->OdstranMimoProvozButton, &QPushButton::clicked, this, &TStavPokoju::OdstranMimoProvozButtonClick);
    connect(ui->TiskButton, &QPushButton::clicked, this, &TStavPokoju::TiskButtonClick);
    connect(ui->UlozitPdfButton, &QPushButton::clicked, this, &TStavPokoju::UlozitPdfButtonClick);
    connect(ui->StornoButton, &QPushButton::clicked, this, &TStavPokoju::StornoButtonClick);
    naEnter(ui->DuvodEdit, &TStavPokoju::PridejMimoProvozButtonClick);
    zahazujPriSkryti(m_pokoje, m_mimoProvoz);
}

TStavPokoju::~TStavPokoju() = default;

void TStavPokoju::FormShow()
{
    m_den = QDate::currentDate();
    setWindowTitle(tr("Stav pokojů – %1").arg(cesky().toString(m_den, QStringLiteral("dddd d. MMMM yyyy"))));
    ui->OdDatePicker->setDate(m_den);
    ui->DoDatePicker->setDate(m_den);
    ui->DuvodEdit->clear();
    nacti();
    ui->PokojeTable->setCurrentCell(0, 0);
}

void TStavPokoju::nacti()
{
    TMojeQuery q;
    m_pokoje = StavyPokoju::nacti(q, m_den);
    m_mimoProvoz = MimoProvozPokoju::nacti(q, m_den, QDate(9999, 12, 31));
    vypis();
}

const StavPokoje *TStavPokoju::pokoj(int pokojId) const
{
    for (const StavPokoje &p : m_pokoje)
        if (p.pokoj_id == pokojId)
            return &p;
    return nullptr;
}

QList<int> TStavPokoju::vybranePokoje() const
{
    QList<int> ids;
    for (const QModelIndex &i : ui->PokojeTable->selectionModel()->selectedRows())
        ids << ui->PokojeTable->item(i.row(), 0)->data(Qt::UserRole).toInt();
    return ids;
}

void TStavPokoju::vypis()
{
    QTableWidget *table = ui->PokojeTable;
    const QList<int> vybrane = vybranePokoje();
    const int aktualni = table->currentRow() >= 0 && table->item(table->currentRow(), 0)
                             ? table->item(table->currentRow(), 0)->data(Qt::UserRole).toInt()
                             : -1;
    // Filled unsorted (a sorted table moves rows while they are filled), then sorted as the user left it.
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(int(m_pokoje.size()));
    for (int radek = 0; radek < int(m_pokoje.size()); ++radek) {
        const StavPokoje &p = m_pokoje[radek];
        auto *cislo = new Bunka(p.cislo_pokoje);
        cislo->setData(Qt::UserRole, p.pokoj_id);
        const QList<QTableWidgetItem *> bunky{
            cislo, new Bunka(p.typ_pokoje), new Bunka(nazevUklidu(p.stav)), new Bunka(ano(p.odjezd)),
            new Bunka(ano(p.zustava)), new Bunka(ano(p.prijezd)),
            new Bunka(p.mimo_provoz ? (p.duvod.isEmpty() ? tr("ano") : p.duvod) : QString()),
        };
        for (int sloupec = 0; sloupec < bunky.size(); ++sloupec)
            table->setItem(radek, sloupec, bunky[sloupec]);
    }
    table->setSortingEnabled(true);
    table->resizeColumnsToContents();
    for (int radek = 0; radek < table->rowCount(); ++radek) {
        const int id = table->item(radek, 0)->data(Qt::UserRole).toInt();
        if (id == aktualni)
            table->setCurrentCell(radek, 0, QItemSelectionModel::NoUpdate);
        if (vybrane.contains(id))
            table->selectionModel()->select(table->model()->index(radek, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    ui->MimoProvozListBox->clear();
    for (const MimoProvoz &m : m_mimoProvoz) {
        const StavPokoje *p = pokoj(m.pokoj_id);
        ui->MimoProvozListBox->addItem(tr("%1: %2 – %3, %4")
                                           .arg(p ? p->cislo_pokoje : QStringLiteral("?"), Historie::datum(m.od_kdy),
                                                Historie::datum(m.do_kdy), m.duvod));
    }
}

bool TStavPokoju::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->PokojeTable && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier) {
            switch (key->key()) {
            case Qt::Key_C:
                zmenStav(Uklid::Cisty);
                return true;
            case Qt::Key_S:
                zmenStav(Uklid::Spinavy);
                return true;
            case Qt::Key_Z:
                zmenStav(Uklid::Zkontrolovany);
                return true;
            default:
                break;
            }
        }
    }
    return TDialog::eventFilter(watched, event);
}

void TStavPokoju::CistyButtonClick()
{
    zmenStav(Uklid::Cisty);
}

void TStavPokoju::SpinavyButtonClick()
{
    zmenStav(Uklid::Spinavy);
}

void TStavPokoju::ZkontrolovanyButtonClick()
{
    zmenStav(Uklid::Zkontrolovany);
}

void TStavPokoju::zmenStav(Uklid novy)
{
    const QList<int> ids = vybranePokoje();
    if (ids.isEmpty())
        return;
    // Room by room: a room another desk changed meanwhile stops the rest, and the table shows what it did.
    const bool ulozeno = zkusUlozit(tr("Nepodařilo se změnit stav pokoje."), [&] {
        for (int id : ids)
            if (const StavPokoje *p = pokoj(id))
                StavyPokoju::zmen(id, p->cislo_pokoje, p->stav, novy);
    }, [this] { nacti(); });
    if (ulozeno)
        zkus(tr("Nepodařilo se načíst stav pokojů."), [this] { nacti(); });
}

void TStavPokoju::PridejMimoProvozButtonClick()
{
    const QList<int> ids = vybranePokoje();
    if (ids.size() != 1) {
        MessageBox::chyba(this, tr("Vyberte v tabulce jeden pokoj, který se vyřadí z provozu."));
        return;
    }
    const StavPokoje *p = pokoj(ids.front());
    if (!p)
        return;
    const QDate od = ui->OdDatePicker->date(), dO = ui->DoDatePicker->date();
    if (dO < od) {
        MessageBox::chyba(this, tr("Poslední den mimo provoz je před prvním."));
        return;
    }
    const QString duvod = ui->DuvodEdit->text().trimmed();
    if (duvod.isEmpty()) {
        MessageBox::chyba(this, tr("Napište důvod, proč je pokoj mimo provoz."));
        ui->DuvodEdit->setFocus();
        return;
    }
    const QString cislo = p->cislo_pokoje;
    QStringList rezervace;
    const bool ulozeno = zkusUlozit(tr("Nepodařilo se vyřadit pokoj z provozu."), [&] {
        MimoProvozPokoju::pridej({-1, ids.front(), od, dO, duvod}, cislo, &rezervace);
    }, [this] { nacti(); });
    if (!ulozeno)
        return;
    if (!rezervace.isEmpty()) {
        MessageBox::chyba(this, tr("Pokoj %1 nelze v těch dnech vyřadit z provozu, má rezervace:\n%2\n"
                                   "Přesuňte je nejdřív na jiný pokoj.")
                                    .arg(cislo, rezervace.join(u'\n')));
        return;
    }
    ui->DuvodEdit->clear();
    zkus(tr("Nepodařilo se načíst stav pokojů."), [this] { nacti(); });
}

void TStavPokoju::OdstranMimoProvozButtonClick()
{
    const int radek = ui->MimoProvozListBox->currentRow();
    if (radek < 0 || radek >= int(m_mimoProvoz.size()))
        return;
    const MimoProvoz m = m_mimoProvoz[radek];
    const StavPokoje *p = pokoj(m.pokoj_id);
    const QString cislo = p ? p->cislo_pokoje : QStringLiteral("?");
    if (zkusUlozit(tr("Nepodařilo se vrátit pokoj do provozu."), [&] { MimoProvozPokoju::odstran(m, cislo); },
                   [this] { nacti(); }))
        zkus(tr("Nepodařilo se načíst stav pokojů."), [this] { nacti(); });
}

QString TStavPokoju::html() const
{
    QString h = QStringLiteral("<h2>%1</h2>").arg(windowTitle().toHtmlEscaped()) + TiskA4::tabulka(ui->PokojeTable);
    if (!m_mimoProvoz.empty()) {
        h += QStringLiteral("<h3>%1</h3><ul>").arg(tr("Mimo provoz").toHtmlEscaped());
        for (int i = 0; i < ui->MimoProvozListBox->count(); ++i)
            h += QStringLiteral("<li>%1</li>").arg(ui->MimoProvozListBox->item(i)->text().toHtmlEscaped());
        h += QStringLiteral("</ul>");
    }
    return h;
}

int TStavPokoju::ulozPdf(const QString &soubor)
{
    return TiskA4::ulozPdf(this, soubor, html());
}

void TStavPokoju::TiskButtonClick()
{
    TiskA4::nahled(this, tr("Tisk stavu pokojů"), html());
}

void TStavPokoju::UlozitPdfButtonClick()
{
    const QString navrh =
        QDir::home().filePath(QStringLiteral("stav-pokoju-%1.pdf").arg(m_den.toString(u"yyyy-MM-dd")));
    QString soubor = QFileDialog::getSaveFileName(this, tr("Uložit jako PDF"), navrh, tr("Dokument PDF (*.pdf)"));
    if (soubor.isEmpty())
        return;
    if (!soubor.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        soubor += QStringLiteral(".pdf");
    ulozPdf(soubor);
}
