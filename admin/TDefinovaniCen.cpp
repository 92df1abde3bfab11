#include "admin/TDefinovaniCen.h"
#include "ui_TDefinovaniCen.h"

#include "gui/DisplayFormat.h"
#include "gui/ListBox.h"
#include "gui/MessageBox.h"
#include "model/CenyPokoju.h"
#include "model/Klienti.h"
#include "model/TypyDnu.h"
#include "model/TypyPokoju.h"
#include "model/Zmeny.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace {
/**
 * Client types as column captions: the columns share the table's width, so
 * none is cut off at the dialog's size, and a caption that is wider than its
 * column wraps at its spaces; the header grows as tall as the most lines.
 */
class WrappingHeader : public QHeaderView
{
public:
    explicit WrappingHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
        setTextElideMode(Qt::ElideNone);
        setSectionResizeMode(QHeaderView::Stretch);
        // Narrower columns need more lines; measured once the sizes settle.
        connect(this, &QHeaderView::sectionResized, this, [this] {
            if (!std::exchange(m_remeasureQueued, true))
                QMetaObject::invokeMethod(this, [this] { remeasure(); }, Qt::QueuedConnection);
        });
    }

    /** The narrowest a column can be: its widest word, or the widest cell. */
    void fitColumns(int widestCell)
    {
        int narrowest = widestCell;
        for (int i = 0; i < count(); ++i)
            for (const QString &word : text(i).split(u' ', Qt::SkipEmptyParts))
                narrowest = std::max(narrowest, fontMetrics().horizontalAdvance(word) + margin());
        setMinimumSectionSize(narrowest);
        remeasure();
    }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        // As tall as the caption wrapped at the column's width.
        QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
        const QRect wrapped = fontMetrics().boundingRect(QRect(0, 0, std::max(sectionSize(logicalIndex) - margin(), 1), 100000),
                                                         Qt::AlignCenter | Qt::TextWordWrap, text(logicalIndex));
        size.rheight() += std::max(wrapped.height() - fontMetrics().height(), 0);
        return size;
    }

private:
    QString text(int logicalIndex) const
    {
        return model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    }
    int margin() const { return 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2; }

    void remeasure()
    {
        m_remeasureQueued = false;
        headerDataChanged(orientation(), 0, count() - 1);   // drops the height measured before
        emit geometriesChanged();
    }

    bool m_remeasureQueued = false;
};
} // namespace

TDefinovaniCen::TDefinovaniCen(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TDefinovaniCen>())
{
    ui->setupUi(this);
    ui->SoucasneCenyTableWidget->setHorizontalHeader(new WrappingHeader(ui->SoucasneCenyTableWidget));
    connect(ui->NastavCenuButton, &QPushButton::clicked, this, &TDefinovaniCen::NastavCenuButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TDefinovaniCen::OKButtonClick);
    naEnter(ui->CenaEdit, &TDefinovaniCen::CenaEditKeyDown);
    zahazujPriSkryti(m_typyDnu, m_typyKlientu, m_ceny);
}

TDefinovaniCen::~TDefinovaniCen() = default;

int TDefinovaniCen::ukaz(const QList<int> &typyPokoju, std::vector<CenaPokoje> *cenyNovychTypu)
{
    m_typyPokoju = typyPokoju;
    m_cenyNovychTypu = cenyNovychTypu;
    const int vysledek = ukaz();
    m_cenyNovychTypu = nullptr;   // the caller's, valid only while shown
    return vysledek;
}

void TDefinovaniCen::FormShow()
{
    m_ceny = std::make_unique<CenyPokoju>();
    if (m_cenyNovychTypu)
        for (const CenaPokoje &c : *m_cenyNovychTypu)
            m_ceny->NastavCenu(c.typ_pokoje_id, c.typ_klienta_id, c.typ_dne_id, c.cena);
    m_nazvy = {};
    const TypyPokoju typyPokoju;
    for (const TypPokoje &t : typyPokoju.prvky())
        m_nazvy.typyPokoju.insert(t.typ_pokoje_id, t.nazev_typu_pokoje);
    naplnSeznamy();
}

void TDefinovaniCen::naplnSeznamy()
{
    m_typyDnu = std::make_unique<TypyDnu>();
    m_typyKlientu = std::make_unique<TypyKlientu>();
    m_nazvy.typyDnu.clear();
    m_nazvy.typyKlientu.clear();
    for (const TypDne &d : m_typyDnu->prvky())
        m_nazvy.typyDnu.insert(d.typ_dne_id, d.nazev_typu_dne);
    for (const TypKlienta &k : m_typyKlientu->prvky())
        m_nazvy.typyKlientu.insert(k.typ_klienta_id, k.typ_klienta);
    ListBox::vypis(ui->TypyDniListBox, *m_typyDnu);
    ListBox::vypis(ui->TypyKlientuListBox, *m_typyKlientu);
    ukazCeny();
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
    int widestCell = 0;
    for (int c = 0; c < tabulka->columnCount(); ++c)
        widestCell = std::max(widestCell, static_cast<QAbstractItemView *>(tabulka)->sizeHintForColumn(c));
    static_cast<WrappingHeader *>(tabulka->horizontalHeader())->fitColumns(widestCell);
}

void TDefinovaniCen::NastavCenuButtonClick()
{
    QString duvod;
    const std::optional<double> cena = parsePrice(ui->CenaEdit->text(), &duvod);
    if (!cena) {
        MessageBox::chyba(this, duvod);
        return;
    }
    const QList<int> dny = ListBox::vybraneRadky(ui->TypyDniListBox);
    const QList<int> klienti = ListBox::vybraneRadky(ui->TypyKlientuListBox);
    for (int typPokoje : m_typyPokoju)
        for (int den : dny)
            for (int klient : klienti)
                m_ceny->NastavCenu(typPokoje, m_typyKlientu->prvky()[klient].typ_klienta_id,
                                   m_typyDnu->prvky()[den].typ_dne_id, *cena);
    ukazCeny();
}

void TDefinovaniCen::CenaEditKeyDown()
{
    NastavCenuButtonClick();   // Enter sets the price as the button does
}

void TDefinovaniCen::OKButtonClick()
{
    ulozAZavri(tr("Nepodařilo se uložit ceny."), [this] {
        m_ceny->Uloz(m_nazvy);
        if (m_cenyNovychTypu)
            *m_cenyNovychTypu = m_ceny->cenyNovychTypu();
    }, [this] { obnov(); });
}

void TDefinovaniCen::obnov()
{
    m_ceny->obnov();
    // A room type another desk removed can be priced no more.
    const TypyPokoju typyPokoju;
    m_typyPokoju.removeIf([&](int id) {
        return !jeDocasneId(id) && std::none_of(typyPokoju.prvky().begin(), typyPokoju.prvky().end(),
                                                [id](const TypPokoje &t) { return t.typ_pokoje_id == id; });
    });
    naplnSeznamy();
}
