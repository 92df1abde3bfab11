#pragma once

#include "model/Obsazenost.h"

#include <QDate>
#include <QWidget>
#include <optional>
#include <vector>

class SkupinyPokoju;

/**
 * The occupancy grid, painted: day headers (weekday, day, month; Sunday on
 * red), then one row per member room with its number and a 16 x 16 square
 * per day, pure green when free and pure red when reserved.
 *
 * The widget's own origin is the grid origin: day columns start 70 px to the
 * right and are 20 px apart, the three header lines are 13 px high, and room
 * rows start 2 px below the headers, 20 px apart. Every group drawn is kept
 * as a layer, painted in the order drawn at the same origin.
 */
class ObsazenostGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int sloupecX = 70;        // first day column
    static constexpr int sirkaSloupce = 20;
    static constexpr int vyskaRadku = 20;
    static constexpr int vyskaHlavicky = 13;   // one of three header lines
    static constexpr int ctverecek = 16;

    struct Vrstva
    {
        QDate prvni;
        int dny = 0;
        QStringList cislaPokoju;
        QList<int> pokojIds;   // of the rows, as cislaPokoju
        MapaObsazenosti obsazenost;
    };

    /** A square of the grid: which layer, room row and day column. */
    struct Misto
    {
        int vrstva = 0;
        int radek = 0;
        int den = 0;
    };

    explicit ObsazenostGrid(QWidget *parent = nullptr);

    /** Removes every layer. */
    void vyprazdni();
    /** Draws every group of that name for the days from prvni to posledni. */
    void ZobrazObsazenost(const SkupinyPokoju &skupiny, const QString &nazev,
                          const QDate &prvni, const QDate &posledni);

    const std::vector<Vrstva> &vrstvy() const { return m_vrstvy; }
    /** Where a square and a header column lie, in this widget's coordinates. */
    static QRect ctverec(int radek, int den);
    static QRect hlavicka(int den);
    static int horniRadek() { return 3 * vyskaHlavicky + 2; }

    QSize sizeHint() const override;

    /** The square under the point, in the layer painted last there; none between squares. */
    std::optional<Misto> mistoNa(const QPoint &pos) const;
    /** What hovering the point shows: the reservations on a red square, read now; empty elsewhere. */
    QString toolTipAt(const QPoint &pos) const;

signals:
    /** A free square was double-clicked: a new reservation of that room for that day. */
    void freeSquareDoubleClicked(const QString &cisloPokoje, const QDate &den);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    std::vector<Vrstva> m_vrstvy;
};
