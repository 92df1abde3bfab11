#pragma once

#include "model/Obsazenost.h"
#include "model/StavPokoju.h"

#include <QDate>
#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QLocale>
#include <optional>
#include <vector>

class SkupinaPokoju;
class SkupinyPokoju;

/**
 * The occupancy grid, painted: day headers (weekday, day, month; Sunday on
 * red), then one row per member room with its number and a 16 x 16 square
 * per day: pure green when free, pure red when reserved, blue when the guests
 * are checked in and grey when the room is out of order (legenda() says so).
 * A room's number carries a mark of its housekeeping status.
 *
 * The grid's origin is the top left of its viewport: day columns start 70 px
 * to the right and are 20 px apart, the three header lines are 13 px high,
 * and room rows start 2 px below the headers, 20 px apart. Every group drawn
 * is kept as a layer, painted in the order drawn at the same origin.
 *
 * A grid larger than the viewport scrolls under a frame that stays: the day
 * headers scroll only sideways, the room numbers only up and down. Unscrolled,
 * every pixel is where it would be without scrolling. Positions given to and
 * taken from the grid's operations are in the grid's own (unscrolled) frame.
 *
 * The keyboard works it through a cell cursor (arrows, Home, End, Page Up and
 * Down; Enter chooses the cell as a double-click does), and assistive tools
 * see it as a table: a row per room, a column per day, the cursor's cell
 * focused. A cell is the square of the layer painted last at its place.
 */
class ObsazenostGrid : public QAbstractScrollArea
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
        MapaObsazenosti ubytovano;     // checked in, not yet out
        MapaMimoProvozu mimoProvoz;    // the reason; null where in order
        std::vector<Uklid> uklid;      // per row
    };

    /** What a square shows, in the order a square's colour takes it. */
    enum class StavBunky { Volny, Rezervovany, Ubytovany, MimoProvoz };
    static QColor barva(StavBunky stav);
    /** Lays out the main window's legend in an empty widget: each colour and each mark with its meaning. */
    static void vyplnLegendu(QWidget *legenda);
    /** The legend as a screen reader says it, colours by name. */
    static QString popisLegendy();
    /** The mark after a room's number: none for clean. */
    static QString znacka(Uklid uklid);

    /** A square of the grid: which layer, room row and day column. */
    struct Misto
    {
        int vrstva = 0;
        int radek = 0;
        int den = 0;
    };

    /** A cell of the table the layers make: room row and day column. */
    struct Bunka
    {
        int radek = 0;
        int den = 0;
        bool operator==(const Bunka &) const = default;
    };

    explicit ObsazenostGrid(QWidget *parent = nullptr);

    /** Removes every layer. */
    void vyprazdni();
    /** Draws the group for the days from prvni to posledni, as a layer over those drawn before. */
    void ZobrazObsazenost(const SkupinaPokoju &skupina, const QDate &prvni, const QDate &posledni);
    /** Draws every group of that name, each as a layer. */
    void ZobrazObsazenost(const SkupinyPokoju &skupiny, const QString &nazev,
                          const QDate &prvni, const QDate &posledni);

    const std::vector<Vrstva> &vrstvy() const { return m_vrstvy; }
    /** Where a square and a header column lie, in this widget's coordinates. */
    static QRect ctverec(int radek, int den);
    static QRect hlavicka(int den);
    static int horniRadek() { return 3 * vyskaHlavicky + 2; }
    /** The weekday line of a day's header: the locale's short name, shortened to fit its column. */
    static QString zkratkaDne(const QDate &den, const QLocale &locale, const QFontMetrics &metrics);

    /** The size of the whole grid, unscrolled. */
    QSize velikostObsahu() const;
    /** Where the viewport's point lies in the grid's own frame (the frozen bands do not scroll). */
    QPoint naMrizku(const QPoint &vViewportu) const;

    /** The square under the point, in the layer painted last there; none between squares. */
    std::optional<Misto> mistoNa(const QPoint &pos) const;
    /** The square of a cell: the layer painted last there; none where no layer reaches. */
    std::optional<Misto> mistoV(const Bunka &bunka) const;
    /** What hovering the point shows: the reservations on a red square, read now; empty elsewhere. */
    QString toolTipAt(const QPoint &pos) const;

    /** The table all layers make: the most rows and the most days of any. */
    int pocetRadku() const;
    int pocetDnu() const;
    /** A row's room number and a column's day, from the layer painted last there. */
    QString cisloPokoje(int radek) const;
    /** A row's room as a screen reader says it: its number, and its status unless clean. */
    QString popisPokoje(int radek) const;
    StavBunky stavBunky(const Misto &misto) const;
    QDate den(int den) const;
    /** The cell as a screen reader says it: room, day, free or reserved, and by whom (read now). */
    QString popisBunky(const Bunka &bunka) const;
    /** Where the cell's square is on the screen, scrolled as now. */
    QRect obdelnikNaObrazovce(const Bunka &bunka) const;

    Bunka kurzor() const { return m_kurzor; }
    /** Moves the cell cursor (kept within the table) and scrolls it into view. */
    void nastavKurzor(const Bunka &bunka);
    /** Enter on a cell: a free square is chosen, a red one shows its reservations. */
    void zvol(const Bunka &bunka);

signals:
    /** A free square was double-clicked or chosen by Enter: a new reservation of that room for that day. */
    void freeSquareChosen(const QString &cisloPokoje, const QDate &den);
    /** P on a reserved square: the arrival (check-in) of its stay. */
    void reservedSquareChosen(int pokojId, const QString &cisloPokoje, const QDate &den);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void nastavPosuvniky();
    void obsahZmenen();
    QRect naViewport(const QRect &vMrizce) const;
    QString pobytyNa(const Misto &misto) const;
    void ukazKurzor();
    void prekresliKurzor();
    void ohlasKurzor();
    void kresliHlavicky(QPainter &p, const QRect &oblast) const;
    void kresliCislaPokoju(QPainter &p, const QRect &oblast) const;
    void kresliCtverecky(QPainter &p, const QRect &oblast) const;

    // A day's header, its three lines and their widths: formatted and
    // measured once per layer, font and locale, not at every paint.
    struct PopisDne
    {
        QString radky[3];
        int sirky[3] = {};
        bool nedele = false;
    };
    const std::vector<PopisDne> &popisyDnu(std::size_t vrstva) const;

    std::vector<Vrstva> m_vrstvy;
    mutable std::vector<std::vector<PopisDne>> m_popisy;   // per layer, made when first painted
    mutable QFont m_pismoPopisu;
    mutable QLocale m_localePopisu;
    Bunka m_kurzor;
};
