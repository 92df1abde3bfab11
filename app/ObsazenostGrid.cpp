#include "app/ObsazenostGrid.h"

#include "db/DatabaseError.h"
#include "gui/DisplayFormat.h"
#include "model/Pobyt.h"
#include "model/SkupinyPokoju.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

ObsazenostGrid::ObsazenostGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ObsazenostGrid"));
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
    nastavPosuvniky();
    viewport()->update();
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
    m_vrstvy.push_back(std::move(v));
    nastavPosuvniky();
    viewport()->update();
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
// The frame that stays: the header band at the top, the room column at the left.
constexpr int vyskaPasu = 3 * ObsazenostGrid::vyskaHlavicky;
constexpr int sirkaPasu = ObsazenostGrid::sloupecX;

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

void ObsazenostGrid::kresliHlavicky(QPainter &p, const QRect &oblast) const
{
    const QLocale locale;
    const QFontMetrics metrics(font());
    for (const Vrstva &v : m_vrstvy) {
        // Each header line is a label sized to its text, never wider than its column.
        const auto [from, to] = visibleRange(oblast.left(), oblast.right(), sloupecX, sirkaSloupce, v.dny);
        for (int den = from; den <= to; ++den) {
            const QDate d = v.prvni.addDays(den);
            const QString lines[3] = {zkratkaDne(d, locale, metrics), d.toString(QStringLiteral("dd")),
                                      d.toString(QStringLiteral("MM"))};
            const int x = sloupecX + den * sirkaSloupce;
            for (int line = 0; line < 3; ++line) {
                const QRect r(x, line * vyskaHlavicky, metrics.horizontalAdvance(lines[line]), vyskaHlavicky);
                if (d.dayOfWeek() == Qt::Sunday)
                    p.fillRect(r, QColor(255, 0, 0));
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, lines[line]);
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
                       Qt::AlignLeft | Qt::AlignVCenter, v.cislaPokoju[radek]);
    }
}

void ObsazenostGrid::kresliCtverecky(QPainter &p, const QRect &oblast) const
{
    for (const Vrstva &v : m_vrstvy) {
        const int rows = static_cast<int>(v.cislaPokoju.size());
        const auto [firstRow, lastRow] = visibleRange(oblast.top(), oblast.bottom(), horniRadek(), vyskaRadku, rows);
        const auto [firstDay, lastDay] = visibleRange(oblast.left(), oblast.right(), sloupecX, sirkaSloupce, v.dny);
        for (int radek = firstRow; radek <= lastRow; ++radek)
            for (int den = firstDay; den <= lastDay; ++den)
                p.fillRect(ctverec(radek, den), v.obsazenost[radek][den] ? QColor(255, 0, 0) : QColor(0, 255, 0));
    }
}

std::optional<ObsazenostGrid::Misto> ObsazenostGrid::mistoNa(const QPoint &pos) const
{
    const int x = pos.x() - sloupecX;
    const int y = pos.y() - horniRadek();
    if (x < 0 || y < 0 || x % sirkaSloupce >= ctverecek || y % vyskaRadku >= ctverecek)
        return std::nullopt;
    const int den = x / sirkaSloupce;
    const int radek = y / vyskaRadku;
    for (int vrstva = static_cast<int>(m_vrstvy.size()) - 1; vrstva >= 0; --vrstva) {
        const Vrstva &v = m_vrstvy[vrstva];
        if (radek < v.cislaPokoju.size() && den < v.dny)
            return Misto{vrstva, radek, den};
    }
    return std::nullopt;
}

QString ObsazenostGrid::toolTipAt(const QPoint &pos) const
{
    const std::optional<Misto> misto = mistoNa(pos);
    if (!misto)
        return QString();
    const Vrstva &v = m_vrstvy[misto->vrstva];
    if (!v.obsazenost[misto->radek][misto->den])
        return QString();
    const QDate den = v.prvni.addDays(misto->den);
    std::vector<PobytPokoje> pobyty;
    try {
        pobyty = NactiPobytyPokoje(v.pokojIds[misto->radek], den, den);
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

void ObsazenostGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const std::optional<Misto> misto = mistoNa(naMrizku(event->position().toPoint()));
    if (!misto || m_vrstvy[misto->vrstva].obsazenost[misto->radek][misto->den]) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const Vrstva &v = m_vrstvy[misto->vrstva];
    emit freeSquareDoubleClicked(v.cislaPokoju[misto->radek], v.prvni.addDays(misto->den));
}
