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
#include <QToolTip>

ObsazenostGrid::ObsazenostGrid(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ObsazenostGrid"));
}

void ObsazenostGrid::vyprazdni()
{
    m_vrstvy.clear();
    resize(sizeHint());
    update();
}

void ObsazenostGrid::ZobrazObsazenost(const SkupinyPokoju &skupiny, const QString &nazev,
                                      const QDate &prvni, const QDate &posledni)
{
    for (const SkupinaPokoju *skupina : skupiny.najdiVsechny(nazev)) {
        Vrstva v;
        v.prvni = prvni;
        v.dny = static_cast<int>(qMax<qint64>(0, prvni.daysTo(posledni) + 1));
        skupina->clenove.Vypis(v.cislaPokoju);
        for (const Pokoj &pokoj : skupina->clenove.prvky())
            v.pokojIds << pokoj.pokoj_id;
        v.obsazenost = nactiObsazenost(skupina->clenove, prvni, posledni);
        m_vrstvy.push_back(std::move(v));
    }
    resize(sizeHint());
    update();
}

QRect ObsazenostGrid::ctverec(int radek, int den)
{
    return QRect(sloupecX + den * sirkaSloupce, horniRadek() + radek * vyskaRadku, ctverecek, ctverecek);
}

QRect ObsazenostGrid::hlavicka(int den)
{
    return QRect(sloupecX + den * sirkaSloupce, 0, sirkaSloupce, 3 * vyskaHlavicky);
}

QSize ObsazenostGrid::sizeHint() const
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

void ObsazenostGrid::paintEvent(QPaintEvent *event)
{
    // Only what is exposed: a year of a thousand rooms is millions of cells,
    // of which a window shows a few hundred.
    const QRect area = event->rect();
    QPainter p(this);
    const QLocale locale;
    const QFontMetrics metrics(font());
    for (const Vrstva &v : m_vrstvy) {
        // A header label is as wide as its text and may run past its column.
        int overrun = 0;
        for (int den = 0; den < qMin(v.dny, 7); ++den)
            overrun = qMax(overrun, metrics.horizontalAdvance(locale.toString(v.prvni.addDays(den), QStringLiteral("ddd"))));
        overrun = qMax(overrun, metrics.horizontalAdvance(QStringLiteral("00")));
        if (area.top() < 3 * vyskaHlavicky) {
            const auto [from, to] = visibleRange(area.left() - overrun, area.right(), sloupecX, sirkaSloupce, v.dny);
            for (int den = from; den <= to; ++den) {
                const QDate d = v.prvni.addDays(den);
                const QString lines[3] = {locale.toString(d, QStringLiteral("ddd")),
                                          d.toString(QStringLiteral("dd")), d.toString(QStringLiteral("MM"))};
                const int x = sloupecX + den * sirkaSloupce;
                for (int line = 0; line < 3; ++line) {
                    // each header line is a label sized to its text
                    const QRect r(x, line * vyskaHlavicky, metrics.horizontalAdvance(lines[line]), vyskaHlavicky);
                    if (d.dayOfWeek() == Qt::Sunday)
                        p.fillRect(r, QColor(255, 0, 0));
                    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, lines[line]);
                }
            }
        }
        const int rows = static_cast<int>(v.cislaPokoju.size());
        const auto [firstRow, lastRow] = visibleRange(area.top(), area.bottom(), horniRadek(), vyskaRadku, rows);
        const auto [firstDay, lastDay] = visibleRange(area.left(), area.right(), sloupecX, sirkaSloupce, v.dny);
        for (int radek = firstRow; radek <= lastRow; ++radek) {
            const int top = horniRadek() + radek * vyskaRadku;
            if (area.left() < sloupecX)
                p.drawText(QRect(0, top, sloupecX, ctverecek), Qt::AlignLeft | Qt::AlignVCenter, v.cislaPokoju[radek]);
            for (int den = firstDay; den <= lastDay; ++den)
                p.fillRect(ctverec(radek, den), v.obsazenost[radek][den] ? QColor(255, 0, 0) : QColor(0, 255, 0));
        }
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

bool ObsazenostGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void ObsazenostGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const std::optional<Misto> misto = mistoNa(event->position().toPoint());
    if (!misto || m_vrstvy[misto->vrstva].obsazenost[misto->radek][misto->den]) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const Vrstva &v = m_vrstvy[misto->vrstva];
    emit freeSquareDoubleClicked(v.cislaPokoju[misto->radek], v.prvni.addDays(misto->den));
}
