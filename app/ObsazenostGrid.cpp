#include "app/ObsazenostGrid.h"

#include "db/DatabaseError.h"
#include "db/TMojeQuery.h"
#include "gui/DisplayFormat.h"
#include "model/Pobyt.h"
#include "model/SkupinyPokoju.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>

namespace {
// The frame that stays: the header band at the top, the room column at the left.
constexpr int vyskaPasu = 3 * ObsazenostGrid::vyskaHlavicky;
constexpr int sirkaPasu = ObsazenostGrid::sloupecX;

// What assistive tools see. The children are laid out as an item view's:
// child 0 is the corner, then the day headers, then for each room its number
// and its days; row or day -1 is a header. Cells are made when asked for and
// read the grid when asked, so an untouched grid costs nothing.
int indexBunky(const ObsazenostGrid *grid, int radek, int den)
{
    return (radek + 1) * (grid->pocetDnu() + 1) + den + 1;
}

QString nazevDne(const QDate &den)
{
    return QLocale().toString(den, QLocale::LongFormat);
}

class BunkaAccessible : public QAccessibleInterface,
                        public QAccessibleTableCellInterface,
                        public QAccessibleActionInterface
{
public:
    BunkaAccessible(ObsazenostGrid *grid, int radek, int den)
        : m_grid(grid), m_radek(radek), m_den(den)
    {
    }

    const ObsazenostGrid *grid() const { return m_grid; }
    int radek() const { return m_radek; }
    int den() const { return m_den; }

    bool isValid() const override
    {
        return m_grid && m_radek < m_grid->pocetRadku() && m_den < m_grid->pocetDnu();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        if (m_radek < 0)
            return m_den < 0 ? ObsazenostGrid::tr("Pokoj") : nazevDne(m_grid->den(m_den));
        if (m_den < 0)
            return m_grid->popisPokoje(m_radek);
        return m_grid->popisBunky({m_radek, m_den});
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        if (jeBunka())
            return m_grid->obdelnikNaObrazovce({m_radek, m_den});
        // Headers scroll only along their band.
        QRect r(0, 0, sirkaPasu, vyskaPasu);
        if (m_den >= 0)
            r = ObsazenostGrid::hlavicka(m_den).translated(-m_grid->horizontalScrollBar()->value(), 0);
        else if (m_radek >= 0)
            r = QRect(0, ObsazenostGrid::horniRadek() + m_radek * ObsazenostGrid::vyskaRadku, sirkaPasu,
                      ObsazenostGrid::ctverecek)
                    .translated(0, -m_grid->verticalScrollBar()->value());
        return QRect(m_grid->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override
    {
        if (jeBunka())
            return QAccessible::Cell;
        return m_radek < 0 ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        QRect viditelne(m_grid->viewport()->mapToGlobal(QPoint()), m_grid->viewport()->size());
        if (jeBunka()) {
            s.focusable = true;
            s.selectable = true;
            s.selected = jeKurzor();
            s.focused = jeKurzor() && m_grid->hasFocus();
            viditelne.setTopLeft(viditelne.topLeft() + QPoint(sirkaPasu, vyskaPasu));
        }
        s.invisible = !m_grid->isVisible();
        s.offscreen = !viditelne.intersects(rect());
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (jeBunka() && t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (jeBunka() && t == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return jeKurzor(); }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return hlavicka(-1, m_den); }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return hlavicka(m_radek, -1); }
    int columnIndex() const override { return m_den; }
    int rowIndex() const override { return m_radek; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    // QAccessibleActionInterface: focus a cell; press a free one to book it.
    QStringList actionNames() const override
    {
        QStringList names{setFocusAction()};
        if (jeVolna())
            names << pressAction();
        return names;
    }
    void doAction(const QString &name) override
    {
        if (!isValid() || !jeBunka() || !actionNames().contains(name))
            return;
        m_grid->setFocus(Qt::OtherFocusReason);
        m_grid->nastavKurzor({m_radek, m_den});
        if (name == pressAction())
            m_grid->zvol({m_radek, m_den});
    }
    QStringList keyBindingsForAction(const QString &name) const override
    {
        return name == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList();
    }

private:
    bool jeBunka() const { return m_radek >= 0 && m_den >= 0; }
    bool jeKurzor() const { return jeBunka() && m_grid->kurzor() == ObsazenostGrid::Bunka{m_radek, m_den}; }
    bool jeVolna() const
    {
        const auto misto = isValid() && jeBunka() ? m_grid->mistoV({m_radek, m_den}) : std::nullopt;
        return misto && m_grid->stavBunky(*misto) == ObsazenostGrid::StavBunky::Volny;
    }
    QList<QAccessibleInterface *> hlavicka(int radek, int den) const
    {
        QAccessibleInterface *tabulka = parent();
        QAccessibleInterface *h =
            tabulka && isValid() ? tabulka->child(indexBunky(m_grid, radek, den)) : nullptr;
        return h ? QList<QAccessibleInterface *>{h} : QList<QAccessibleInterface *>();
    }

    QPointer<ObsazenostGrid> m_grid;
    int m_radek;
    int m_den;
};

class MrizkaAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit MrizkaAccessible(ObsazenostGrid *grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    {
    }
    ~MrizkaAccessible() override { zapomenBunky(); }

    ObsazenostGrid *grid() const { return static_cast<ObsazenostGrid *>(widget()); }

    int childCount() const override
    {
        const int radky = grid()->pocetRadku();
        const int dny = grid()->pocetDnu();
        return radky == 0 && dny == 0 ? 0 : (radky + 1) * (dny + 1);
    }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const int sirka = grid()->pocetDnu() + 1;
        return bunka(index / sirka - 1, index % sirka - 1);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *b = dynamic_cast<const BunkaAccessible *>(child);
        if (!b || b->grid() != grid() || !b->isValid())
            return -1;
        return indexBunky(grid(), b->radek(), b->den());
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint v = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!grid()->viewport()->rect().contains(v))
            return nullptr;
        // Gaps between squares belong to the cell before them; headers are row or day -1.
        const QPoint g = grid()->naMrizku(v) - QPoint(ObsazenostGrid::sloupecX, ObsazenostGrid::horniRadek());
        const int den = g.x() < 0 ? -1 : g.x() / ObsazenostGrid::sirkaSloupce;
        const int radek = g.y() < 0 ? -1 : g.y() / ObsazenostGrid::vyskaRadku;
        return bunka(radek, den);
    }
    QAccessibleInterface *focusChild() const override
    {
        const ObsazenostGrid::Bunka k = grid()->kurzor();
        return grid()->mistoV(k) ? bunka(k.radek, k.den) : nullptr;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // QAccessibleTableInterface; the cursor's cell is the selection.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        return row >= 0 && column >= 0 ? bunka(row, column) : nullptr;
    }
    int selectedCellCount() const override { return focusChild() ? 1 : 0; }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QAccessibleInterface *k = focusChild();
        return k ? QList<QAccessibleInterface *>{k} : QList<QAccessibleInterface *>();
    }
    QString columnDescription(int column) const override
    {
        return column >= 0 && column < columnCount() ? nazevDne(grid()->den(column)) : QString();
    }
    QString rowDescription(int row) const override
    {
        return row >= 0 && row < rowCount() ? grid()->popisPokoje(row) : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return grid()->pocetDnu(); }
    int rowCount() const override { return grid()->pocetRadku(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { zapomenBunky(); }

private:
    QAccessibleInterface *bunka(int radek, int den) const
    {
        if (radek < -1 || den < -1 || radek >= grid()->pocetRadku() || den >= grid()->pocetDnu())
            return nullptr;
        const auto klic = qMakePair(radek, den);
        if (const auto known = m_bunky.constFind(klic); known != m_bunky.constEnd())
            if (QAccessibleInterface *b = QAccessible::accessibleInterface(*known))
                return b;
        auto *b = new BunkaAccessible(grid(), radek, den);
        m_bunky.insert(klic, QAccessible::registerAccessibleInterface(b));
        return b;
    }
    void zapomenBunky() const
    {
        for (const QAccessible::Id id : std::as_const(m_bunky))
            QAccessible::deleteAccessibleInterface(id);
        m_bunky.clear();
    }

    mutable QHash<QPair<int, int>, QAccessible::Id> m_bunky;
};

QAccessibleInterface *mrizkaFactory(const QString &classname, QObject *object)
{
    if (classname == QLatin1String(ObsazenostGrid::staticMetaObject.className()))
        if (auto *grid = qobject_cast<ObsazenostGrid *>(object))
            return new MrizkaAccessible(grid);
    return nullptr;
}
} // namespace

ObsazenostGrid::ObsazenostGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    static const bool factory = (QAccessible::installFactory(mrizkaFactory), true);
    Q_UNUSED(factory);
    if (QAccessible::isActive()) {
        // A tool that asked while the base class was being built was told of no table.
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(this);
        if (iface && !iface->tableInterface())
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    }
    setObjectName(QStringLiteral("ObsazenostGrid"));
    setAccessibleName(tr("Obsazenost pokojů"));
    setAccessibleDescription(tr("Šipkami se vybírá pokoj a den; Enter na volném dni otevře novou rezervaci."));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(sirkaSloupce);
    verticalScrollBar()->setSingleStep(vyskaRadku);
    viewport()->setAutoFillBackground(false);
}

void ObsazenostGrid::vyprazdni()
{
    m_vrstvy.clear();
    m_popisy.clear();
    obsahZmenen();
}

void ObsazenostGrid::obsahZmenen()
{
    nastavPosuvniky();
    // The cursor keeps its cell while the table has it (the refresh after a booking).
    if (pocetRadku() > 0 && pocetDnu() > 0)
        m_kurzor = {qMin(m_kurzor.radek, pocetRadku() - 1), qMin(m_kurzor.den, pocetDnu() - 1)};
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&event);
    }
}

void ObsazenostGrid::ZobrazObsazenost(const SkupinaPokoju &skupina, const QDate &prvni, const QDate &posledni)
{
    Vrstva v;
    v.prvni = prvni;
    v.dny = static_cast<int>(qMax<qint64>(0, prvni.daysTo(posledni) + 1));
    skupina.clenove.Vypis(v.cislaPokoju);
    for (const Pokoj &pokoj : skupina.clenove.prvky())
        v.pokojIds << pokoj.pokoj_id;
    v.obsazenost = nactiObsazenost(skupina.clenove, prvni, posledni);
    v.ubytovano = nactiUbytovani(skupina.clenove, prvni, posledni);
    v.mimoProvoz = nactiMimoProvoz(skupina.clenove, prvni, posledni);
    TMojeQuery q;
    const QHash<int, Uklid> uklid = StavyPokoju::nactiUklid(q);
    for (int id : v.pokojIds)
        v.uklid.push_back(uklid.value(id, Uklid::Cisty));
    m_vrstvy.push_back(std::move(v));
    obsahZmenen();
}

void ObsazenostGrid::ZobrazObsazenost(const SkupinyPokoju &skupiny, const QString &nazev,
                                      const QDate &prvni, const QDate &posledni)
{
    for (const SkupinaPokoju *skupina : skupiny.najdiVsechny(nazev))
        ZobrazObsazenost(*skupina, prvni, posledni);
}

QRect ObsazenostGrid::ctverec(int radek, int den)
{
    return QRect(sloupecX + den * sirkaSloupce, horniRadek() + radek * vyskaRadku, ctverecek, ctverecek);
}

QRect ObsazenostGrid::hlavicka(int den)
{
    return QRect(sloupecX + den * sirkaSloupce, 0, sirkaSloupce, 3 * vyskaHlavicky);
}

QString ObsazenostGrid::zkratkaDne(const QDate &den, const QLocale &locale, const QFontMetrics &metrics)
{
    // Labels wider than a column would run into the next day's ("MonTue").
    const QString kratky = locale.toString(den, QStringLiteral("ddd"));
    if (metrics.horizontalAdvance(kratky) <= sirkaSloupce)
        return kratky;
    const QString dvePismena = kratky.left(2);
    if (metrics.horizontalAdvance(dvePismena) <= sirkaSloupce)
        return dvePismena;
    return locale.standaloneDayName(den.dayOfWeek(), QLocale::NarrowFormat);
}

QSize ObsazenostGrid::velikostObsahu() const
{
    int width = 0, height = 0;
    for (const Vrstva &v : m_vrstvy) {
        width = qMax(width, sloupecX + v.dny * sirkaSloupce);
        height = qMax(height, horniRadek() + static_cast<int>(v.cislaPokoju.size()) * vyskaRadku);
    }
    return QSize(width, height);
}

namespace {
// Columns (or rows) from..to, both included, whose cells of the given pitch
// starting at origin meet [low, high]; an empty range when none does.
std::pair<int, int> visibleRange(int low, int high, int origin, int pitch, int count)
{
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return {qMax(0, floorDiv(low - origin, pitch)), qMin(count - 1, floorDiv(high - origin, pitch))};
}
} // namespace

QPoint ObsazenostGrid::naMrizku(const QPoint &vViewportu) const
{
    const int dx = vViewportu.x() >= sirkaPasu ? horizontalScrollBar()->value() : 0;
    const int dy = vViewportu.y() >= vyskaPasu ? verticalScrollBar()->value() : 0;
    return vViewportu + QPoint(dx, dy);
}

void ObsazenostGrid::nastavPosuvniky()
{
    const QSize obsah = velikostObsahu();
    const QSize okno = viewport()->size();
    horizontalScrollBar()->setPageStep(qMax(1, okno.width() - sirkaPasu));
    horizontalScrollBar()->setRange(0, qMax(0, obsah.width() - okno.width()));
    verticalScrollBar()->setPageStep(qMax(1, okno.height() - vyskaPasu));
    verticalScrollBar()->setRange(0, qMax(0, obsah.height() - okno.height()));
}

void ObsazenostGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    nastavPosuvniky();
}

void ObsazenostGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ObsazenostGrid::paintEvent(QPaintEvent *event)
{
    // Only what is exposed: a year of a thousand rooms is millions of cells,
    // of which a window shows a few hundred. Each part of the frame is
    // painted in the grid's own coordinates, shifted by how far it scrolls.
    const QRect area = event->rect();
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    const QRect okno = viewport()->rect();
    QPainter p(viewport());

    const QRect hlavicky = area & QRect(sirkaPasu, 0, okno.width(), vyskaPasu);
    if (!hlavicky.isEmpty()) {
        p.save();
        p.setClipRect(hlavicky);
        p.translate(-dx, 0);
        kresliHlavicky(p, hlavicky.translated(dx, 0));
        p.restore();
    }
    const QRect cisla = area & QRect(0, vyskaPasu, sirkaPasu, okno.height());
    if (!cisla.isEmpty()) {
        p.save();
        p.setClipRect(cisla);
        p.translate(0, -dy);
        kresliCislaPokoju(p, cisla.translated(0, dy));
        p.restore();
    }
    const QRect ctverecky = area & QRect(sirkaPasu, vyskaPasu, okno.width(), okno.height());
    if (!ctverecky.isEmpty()) {
        p.save();
        p.setClipRect(ctverecky);
        p.translate(-dx, -dy);
        kresliCtverecky(p, ctverecky.translated(dx, dy));
        p.restore();
    }
}

const std::vector<ObsazenostGrid::PopisDne> &ObsazenostGrid::popisyDnu(std::size_t vrstva) const
{
    const QLocale locale;
    if (font() != m_pismoPopisu || locale != m_localePopisu) {
        m_popisy.clear();
        m_pismoPopisu = font();
        m_localePopisu = locale;
    }
    if (m_popisy.size() > vrstva)
        return m_popisy[vrstva];
    const QFontMetrics metrics(font());
    while (m_popisy.size() <= vrstva) {
        const Vrstva &v = m_vrstvy[m_popisy.size()];
        std::vector<PopisDne> popisy(static_cast<std::size_t>(v.dny));
        for (int den = 0; den < v.dny; ++den) {
            const QDate d = v.prvni.addDays(den);
            PopisDne &popis = popisy[static_cast<std::size_t>(den)];
            popis.radky[0] = zkratkaDne(d, locale, metrics);
            popis.radky[1] = d.toString(QStringLiteral("dd"));
            popis.radky[2] = d.toString(QStringLiteral("MM"));
            for (int line = 0; line < 3; ++line)
                popis.sirky[line] = metrics.horizontalAdvance(popis.radky[line]);
            popis.nedele = d.dayOfWeek() == Qt::Sunday;
        }
        m_popisy.push_back(std::move(popisy));
    }
    return m_popisy[vrstva];
}

void ObsazenostGrid::kresliHlavicky(QPainter &p, const QRect &oblast) const
{
    for (std::size_t vrstva = 0; vrstva < m_vrstvy.size(); ++vrstva) {
        const std::vector<PopisDne> &popisy = popisyDnu(vrstva);
        // Each header line is a label sized to its text, never wider than its column.
        const auto [from, to] =
            visibleRange(oblast.left(), oblast.right(), sloupecX, sirkaSloupce, m_vrstvy[vrstva].dny);
        for (int den = from; den <= to; ++den) {
            const PopisDne &popis = popisy[static_cast<std::size_t>(den)];
            const int x = sloupecX + den * sirkaSloupce;
            for (int line = 0; line < 3; ++line) {
                const QRect r(x, line * vyskaHlavicky, popis.sirky[line], vyskaHlavicky);
                if (popis.nedele)
                    p.fillRect(r, QColor(255, 0, 0));
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, popis.radky[line]);
            }
        }
    }
}

void ObsazenostGrid::kresliCislaPokoju(QPainter &p, const QRect &oblast) const
{
    for (const Vrstva &v : m_vrstvy) {
        const int rows = static_cast<int>(v.cislaPokoju.size());
        const auto [first, last] = visibleRange(oblast.top(), oblast.bottom(), horniRadek(), vyskaRadku, rows);
        for (int radek = first; radek <= last; ++radek)
            p.drawText(QRect(0, horniRadek() + radek * vyskaRadku, sloupecX, ctverecek),
                       Qt::AlignLeft | Qt::AlignVCenter, v.cislaPokoju[radek] + znacka(v.uklid[radek]));
    }
}

void ObsazenostGrid::kresliCtverecky(QPainter &p, const QRect &oblast) const
{
    for (int vrstva = 0; vrstva < static_cast<int>(m_vrstvy.size()); ++vrstva) {
        const Vrstva &v = m_vrstvy[vrstva];
        const int rows = static_cast<int>(v.cislaPokoju.size());
        const auto [firstRow, lastRow] = visibleRange(oblast.top(), oblast.bottom(), horniRadek(), vyskaRadku, rows);
        const auto [firstDay, lastDay] = visibleRange(oblast.left(), oblast.right(), sloupecX, sirkaSloupce, v.dny);
        for (int radek = firstRow; radek <= lastRow; ++radek)
            for (int den = firstDay; den <= lastDay; ++den)
                p.fillRect(ctverec(radek, den), barva(stavBunky({vrstva, radek, den})));
    }
    // The cursor is a black ring inside its square: around it lie the bands that stay.
    const QRect k = ctverec(m_kurzor.radek, m_kurzor.den);
    if (hasFocus() && mistoV(m_kurzor) && k.intersects(oblast)) {
        constexpr int tl = 2;
        p.fillRect(QRect(k.left(), k.top(), k.width(), tl), Qt::black);
        p.fillRect(QRect(k.left(), k.bottom() - tl + 1, k.width(), tl), Qt::black);
        p.fillRect(QRect(k.left(), k.top(), tl, k.height()), Qt::black);
        p.fillRect(QRect(k.right() - tl + 1, k.top(), tl, k.height()), Qt::black);
    }
}

std::optional<ObsazenostGrid::Misto> ObsazenostGrid::mistoNa(const QPoint &pos) const
{
    const int x = pos.x() - sloupecX;
    const int y = pos.y() - horniRadek();
    if (x < 0 || y < 0 || x % sirkaSloupce >= ctverecek || y % vyskaRadku >= ctverecek)
        return std::nullopt;
    return mistoV({y / vyskaRadku, x / sirkaSloupce});
}

std::optional<ObsazenostGrid::Misto> ObsazenostGrid::mistoV(const Bunka &bunka) const
{
    if (bunka.radek < 0 || bunka.den < 0)
        return std::nullopt;
    for (int vrstva = static_cast<int>(m_vrstvy.size()) - 1; vrstva >= 0; --vrstva) {
        const Vrstva &v = m_vrstvy[vrstva];
        if (bunka.radek < v.cislaPokoju.size() && bunka.den < v.dny)
            return Misto{vrstva, bunka.radek, bunka.den};
    }
    return std::nullopt;
}

QString ObsazenostGrid::toolTipAt(const QPoint &pos) const
{
    const std::optional<Misto> misto = mistoNa(pos);
    return misto ? pobytyNa(*misto) : QString();
}

QString ObsazenostGrid::pobytyNa(const Misto &misto) const
{
    const Vrstva &v = m_vrstvy[misto.vrstva];
    const StavBunky stav = stavBunky(misto);
    if (stav == StavBunky::Volny)
        return QString();
    if (stav == StavBunky::MimoProvoz)
        return tr("Mimo provoz: %1").arg(v.mimoProvoz[misto.radek][misto.den]);
    const QDate den = v.prvni.addDays(misto.den);
    std::vector<PobytPokoje> pobyty;
    try {
        pobyty = NactiPobytyPokoje(v.pokojIds[misto.radek], den, den);
    } catch (const DatabaseError &) {
        return QString();   // a hover is no reason for an error box
    }
    QStringList popisy;
    for (const PobytPokoje &p : pobyty)
        popisy << tr("Rezervace %1").arg(p.cislo_objednavky) + u'\n'
                      + tr("Klient: %1").arg(p.jmeno.isEmpty() ? tr("(smazaný)") : p.jmeno) + u'\n'
                      + tr("Od: %1").arg(DisplayFormat::day(p.od_kdy)) + u'\n'
                      + tr("Do: %1").arg(DisplayFormat::day(p.do_kdy)) + u'\n'
                      + tr("Cena: %1").arg(DisplayFormat::price(p.cena));
    return popisy.join(QStringLiteral("\n\n"));
}

int ObsazenostGrid::pocetRadku() const
{
    int radky = 0;
    for (const Vrstva &v : m_vrstvy)
        radky = qMax(radky, static_cast<int>(v.cislaPokoju.size()));
    return radky;
}

int ObsazenostGrid::pocetDnu() const
{
    int dny = 0;
    for (const Vrstva &v : m_vrstvy)
        dny = qMax(dny, v.dny);
    return dny;
}

QString ObsazenostGrid::cisloPokoje(int radek) const
{
    for (auto v = m_vrstvy.rbegin(); v != m_vrstvy.rend(); ++v)
        if (radek >= 0 && radek < v->cislaPokoju.size())
            return v->cislaPokoju[radek];
    return QString();
}

QString ObsazenostGrid::popisPokoje(int radek) const
{
    for (auto v = m_vrstvy.rbegin(); v != m_vrstvy.rend(); ++v)
        if (radek >= 0 && radek < v->cislaPokoju.size()) {
            const Uklid uklid = v->uklid[radek];
            return uklid == Uklid::Cisty ? v->cislaPokoju[radek]
                                         : v->cislaPokoju[radek] + QStringLiteral(", ") + nazevUklidu(uklid).toLower();
        }
    return QString();
}

ObsazenostGrid::StavBunky ObsazenostGrid::stavBunky(const Misto &misto) const
{
    const Vrstva &v = m_vrstvy[misto.vrstva];
    if (!v.mimoProvoz[misto.radek][misto.den].isNull())
        return StavBunky::MimoProvoz;
    if (v.ubytovano[misto.radek][misto.den])
        return StavBunky::Ubytovany;
    return v.obsazenost[misto.radek][misto.den] ? StavBunky::Rezervovany : StavBunky::Volny;
}

QColor ObsazenostGrid::barva(StavBunky stav)
{
    switch (stav) {
    case StavBunky::Volny:
        return QColor(0, 255, 0);
    case StavBunky::Rezervovany:
        return QColor(255, 0, 0);
    case StavBunky::Ubytovany:
        return QColor(0, 70, 220);
    case StavBunky::MimoProvoz:
        return QColor(128, 128, 128);
    }
    return {};
}

QString ObsazenostGrid::znacka(Uklid uklid)
{
    // Beside the number, so the column's width is enough.
    switch (uklid) {
    case Uklid::Cisty:
        return QString();
    case Uklid::Spinavy:
        return QStringLiteral(" ✗");
    case Uklid::Zkontrolovany:
        return QStringLiteral(" ✓");
    }
    return QString();
}

void ObsazenostGrid::vyplnLegendu(QWidget *legenda)
{
    auto *radek = new QHBoxLayout(legenda);
    radek->setContentsMargins(10, 0, 0, 0);   // under the grid, which is as far in
    const std::pair<StavBunky, QString> barvy[] = {{StavBunky::Volny, tr("volný")},
                                                   {StavBunky::Rezervovany, tr("rezervovaný")},
                                                   {StavBunky::Ubytovany, tr("ubytovaný")},
                                                   {StavBunky::MimoProvoz, tr("mimo provoz")}};
    for (const auto &[stav, text] : barvy) {
        // A square as the grid paints it.
        auto *vzorek = new QLabel(legenda);
        vzorek->setFixedSize(ctverecek, ctverecek);
        vzorek->setAutoFillBackground(true);
        QPalette paleta = vzorek->palette();
        paleta.setColor(QPalette::Window, barva(stav));
        vzorek->setPalette(paleta);
        radek->addWidget(vzorek);
        radek->addWidget(new QLabel(text, legenda));
        radek->addSpacing(ctverecek);
    }
    radek->addWidget(new QLabel(znacka(Uklid::Spinavy).trimmed() + u' ' + tr("špinavý"), legenda));
    radek->addSpacing(ctverecek);
    radek->addWidget(new QLabel(znacka(Uklid::Zkontrolovany).trimmed() + u' ' + tr("zkontrolovaný"), legenda));
    radek->addStretch();
    legenda->setAccessibleName(popisLegendy());
}

QString ObsazenostGrid::popisLegendy()
{
    return tr("Legenda: zelená volný, červená rezervovaný, modrá ubytovaný, šedá mimo provoz; "
              "křížek za číslem pokoje špinavý, fajfka zkontrolovaný");
}

QDate ObsazenostGrid::den(int den) const
{
    for (auto v = m_vrstvy.rbegin(); v != m_vrstvy.rend(); ++v)
        if (den >= 0 && den < v->dny)
            return v->prvni.addDays(den);
    return QDate();
}

QString ObsazenostGrid::popisBunky(const Bunka &bunka) const
{
    const std::optional<Misto> misto = mistoV(bunka);
    if (!misto)
        return QString();
    const Vrstva &v = m_vrstvy[misto->vrstva];
    const QDate den = v.prvni.addDays(misto->den);
    QStringList casti{v.cislaPokoju[misto->radek], QLocale().toString(den, QLocale::LongFormat)};
    switch (stavBunky(*misto)) {
    case StavBunky::Volny:
        casti << tr("volný");
        return casti.join(QStringLiteral(", "));
    case StavBunky::MimoProvoz:
        casti << tr("mimo provoz") << v.mimoProvoz[misto->radek][misto->den];
        return casti.join(QStringLiteral(", "));
    case StavBunky::Ubytovany:
        casti << tr("ubytovaný");
        break;
    case StavBunky::Rezervovany:
        casti << tr("obsazený");
        break;
    }
    try {
        for (const PobytPokoje &p : NactiPobytyPokoje(v.pokojIds[misto->radek], den, den))
            casti << tr("rezervace %1").arg(p.cislo_objednavky) << (p.jmeno.isEmpty() ? tr("(smazaný)") : p.jmeno);
    } catch (const DatabaseError &) {
        // the state alone, as the square shows it
    }
    return casti.join(QStringLiteral(", "));
}

QRect ObsazenostGrid::naViewport(const QRect &vMrizce) const
{
    return vMrizce.translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

QRect ObsazenostGrid::obdelnikNaObrazovce(const Bunka &bunka) const
{
    const QRect r = naViewport(ctverec(bunka.radek, bunka.den));
    return QRect(viewport()->mapToGlobal(r.topLeft()), r.size());
}

void ObsazenostGrid::nastavKurzor(const Bunka &bunka)
{
    if (pocetRadku() == 0 || pocetDnu() == 0)
        return;
    const Bunka nova{qBound(0, bunka.radek, pocetRadku() - 1), qBound(0, bunka.den, pocetDnu() - 1)};
    if (nova != m_kurzor) {
        prekresliKurzor();
        m_kurzor = nova;
        prekresliKurzor();
    }
    ukazKurzor();
    ohlasKurzor();
}

void ObsazenostGrid::prekresliKurzor()
{
    viewport()->update(naViewport(ctverec(m_kurzor.radek, m_kurzor.den)));
}

void ObsazenostGrid::ukazKurzor()
{
    // The cell with the gap after it, clear of the bands that stay.
    const QRect bunka(sloupecX + m_kurzor.den * sirkaSloupce, horniRadek() + m_kurzor.radek * vyskaRadku,
                      sirkaSloupce, vyskaRadku);
    QScrollBar *h = horizontalScrollBar();
    if (bunka.left() - h->value() < sirkaPasu)
        h->setValue(bunka.left() - sirkaPasu);
    else if (bunka.right() - h->value() >= viewport()->width())
        h->setValue(bunka.right() + 1 - viewport()->width());
    QScrollBar *v = verticalScrollBar();
    if (bunka.top() - v->value() < vyskaPasu)
        v->setValue(bunka.top() - vyskaPasu);
    else if (bunka.bottom() - v->value() >= viewport()->height())
        v->setValue(bunka.bottom() + 1 - viewport()->height());
}

void ObsazenostGrid::ohlasKurzor()
{
    // The screen reader's focus follows the cursor from cell to cell.
    if (!hasFocus() || !mistoV(m_kurzor) || !QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(indexBunky(this, m_kurzor.radek, m_kurzor.den));
    QAccessible::updateAccessibility(&event);
}

void ObsazenostGrid::zvol(const Bunka &bunka)
{
    const std::optional<Misto> misto = mistoV(bunka);
    if (!misto)
        return;
    const Vrstva &v = m_vrstvy[misto->vrstva];
    if (stavBunky(*misto) == StavBunky::Volny) {
        emit freeSquareChosen(v.cislaPokoju[misto->radek], v.prvni.addDays(misto->den));
        return;
    }
    // A red square tells what hovering it does.
    const QString text = pobytyNa(*misto);
    if (!text.isEmpty())
        QToolTip::showText(obdelnikNaObrazovce(bunka).bottomRight(), text, viewport());
}

void ObsazenostGrid::keyPressEvent(QKeyEvent *event)
{
    if (pocetRadku() == 0 || pocetDnu() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int strana = qMax(1, (viewport()->height() - horniRadek()) / vyskaRadku);
    Bunka k = m_kurzor;
    switch (event->key()) {
    case Qt::Key_Left:
        --k.den;
        break;
    case Qt::Key_Right:
        ++k.den;
        break;
    case Qt::Key_Up:
        --k.radek;
        break;
    case Qt::Key_Down:
        ++k.radek;
        break;
    case Qt::Key_Home:
        k.den = 0;
        if (ctrl)
            k.radek = 0;
        break;
    case Qt::Key_End:
        k.den = pocetDnu() - 1;
        if (ctrl)
            k.radek = pocetRadku() - 1;
        break;
    case Qt::Key_PageUp:
        k.radek -= strana;
        break;
    case Qt::Key_PageDown:
        k.radek += strana;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        zvol(m_kurzor);
        return;
    case Qt::Key_P:
        // "Příjezd": the guests of the reserved square arrive.
        if (const std::optional<Misto> misto = mistoV(m_kurzor); misto && stavBunky(*misto) == StavBunky::Rezervovany) {
            const Vrstva &v = m_vrstvy[misto->vrstva];
            event->accept();
            emit reservedSquareChosen(v.pokojIds.value(misto->radek, -1), v.cislaPokoju[misto->radek],
                                      v.prvni.addDays(misto->den));
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    nastavKurzor(k);
}

void ObsazenostGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    prekresliKurzor();
    ohlasKurzor();
}

void ObsazenostGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    prekresliKurzor();
}

bool ObsazenostGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipAt(naMrizku(help->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ObsazenostGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        if (const std::optional<Misto> misto = mistoNa(naMrizku(event->position().toPoint())))
            nastavKurzor({misto->radek, misto->den});
    QAbstractScrollArea::mousePressEvent(event);
}

void ObsazenostGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const std::optional<Misto> misto = mistoNa(naMrizku(event->position().toPoint()));
    if (!misto || stavBunky(*misto) != StavBunky::Volny) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    zvol({misto->radek, misto->den});
}
