#pragma once
#include <QElapsedTimer>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <cmath>
#include <vector>

// What painting a figure will cost, estimated before it is painted.
//
// Costs are in work units of about a nanosecond of the machine the numbers
// were measured on (Qt 6.4's raster engine on a 2-core x86-64), so the
// default budget of 500,000,000 units is about half a second of painting.
// The estimates follow what the raster engine really does:
//
//  - An antialiased fill is rasterized in horizontal bands, as many as its
//    rows and its crossing cells need; every band walks each slanting edge
//    that reaches into it across all of that edge's rows and cells, even
//    those outside the picture (upright edges only within the band). Long
//    edges in a figure with many cells therefore cost (rows x bands), which
//    grows with the square of the figure's height and of its edges.
//  - Without antialiasing the scan converter keeps the edges that cross a
//    row in order: it costs about the square of that count, row by row,
//    and nothing for rows outside the picture.
//  - Pens over one pixel wide are turned into an outline (two edges along
//    every segment and a rounded piece at every corner) and filled as
//    above; one-pixel pens are drawn pixel by pixel along their length.
//  - Filling costs per pixel covered, more for hatches and pictures; the
//    picture itself, cleared before playing, is charged first (fresh
//    memory is slow to touch on some machines: this one takes about a
//    quarter of a second for the largest picture).
//  - Text costs per run, per character (far more for characters outside
//    ASCII, which go through font fallback), per new font, and for glyphs
//    over 64 pixels, which are filled as outlines every time: each such
//    glyph is charged for building its outline, wherever it lands, and one
//    that reaches the picture for filling that outline, like any figure.
namespace wmf::detail {

namespace cost {
constexpr double kCanvasPixel = 15; // a pixel of the picture, cleared before playing
constexpr double kFigure = 2000; // any figure: state changes, building its path
constexpr double kEdge = 40; // every edge handed to a rasterizer
constexpr double kBandStep = 13; // antialiased: a row or cell of an edge, in one band
constexpr double kActivePair = 2.2; // aliased: per (edges crossing a row)^2
constexpr double kActiveRow = 5; // aliased: per edge crossing a row
constexpr double kSolidPixel = 0.5; // filling one pixel with a colour
constexpr double kPatternPixel = 1.8; // ... with a picture brush
constexpr double kHatchPixel = 5; // ... with a hatched brush
constexpr double kThinPixel = 50; // one pixel along a one-pixel line
constexpr double kThinSegment = 300; // each segment of a one-pixel line
constexpr double kCorner = 600; // a corner or end of a wide pen's outline
constexpr double kNewFont = 600000; // matching a font not asked for before
constexpr double kTextRun = 5000; // laying out and drawing one run of text
constexpr double kAsciiCharacter = 2000; // each character of a run...
constexpr double kOtherCharacter = 40000; // ... outside ASCII, through font fallback
constexpr double kGlyphPixel = 1; // a cached glyph, per pixel it covers
constexpr int kLargestCachedGlyph = 64; // larger glyphs are drawn as outlines
constexpr double kGlyphOutline = 40000; // building a large glyph's outline...
constexpr double kGlyphOutlinePoint = 60; // ... per point of it
// Filling a glyph's outline costs this many times a figure's estimate: the
// font's curves are flattened finer than a figure's.
constexpr double kGlyphFillFactor = 2.5;

// An antialiased figure estimated dearer than this is drawn without
// antialiasing when that is cheaper; no ordinary picture comes near it.
constexpr double kAntialiasingLimit = 50e6;
} // namespace cost

// The edges a rasterizer will get for one figure, summed up row by row over
// the picture.
class EdgeRows
{
public:
    explicit EdgeRows(const QSize &picture);

    void addEdge(const QPointF &a, const QPointF &b);
    // Every edge of the polygon, closing it when asked to.
    void addPolygon(const QPolygonF &polygon, bool closed);
    // The outline a pen of `width` pixels makes along the polyline.
    void addWidePen(const QPolygonF &polyline, double width);
    // The rounded piece a wide pen adds at a corner or an end.
    void addCorner(const QPointF &at, double width);

    qint64 edges() const { return edges_; }
    // Estimated work of the antialiased and of the aliased rasterizer,
    // without the pixels filled.
    double antialiasedWork() const;
    double aliasedWork() const;

private:
    QSize picture_;
    // Where each edge starts crossing rows inside the picture (a row) and
    // where it stops (-row - 1), for the aliased estimate.
    std::vector<int> active_;
    double walk_ = 0; // rows and cells of the slanting edges, all of them
    double walkByInside_ = 0; // sum over edges of that walk x rows inside
    double uprightInside_ = 0; // rows of upright edges inside the picture
    double cellsInside_ = 0; // crossing cells inside the picture
    double insideTop_ = 0;
    double insideBottom_ = -1;
    qint64 edges_ = 0;
};

// The pixels a figure covers at most: its bounds within the picture.
double coveredPixels(const QRectF &deviceBounds, const QSize &picture);

// Work of drawing the polylines with a one-pixel pen: by their length within
// the picture.
double thinLineWork(const QList<QPolygonF> &polylines, const QSize &picture);

// Fill and outline of one figure, with and without antialiasing.
struct FigureWork {
    double antialiased = 0;
    double aliased = 0;
    bool useAntialiasing() const { return antialiased <= cost::kAntialiasingLimit || antialiased <= aliased; }
    double chosen() const { return useAntialiasing() ? antialiased : aliased; }
};

// The work of filling `path` (device pixels) with `pixelCost` per pixel.
FigureWork fillWork(const QPainterPath &path, double pixelCost, const QSize &picture);
// The work of outlining `path` with a pen `width` pixels wide (over one
// pixel: one-pixel pens cost thinLineWork).
FigureWork wideStrokeWork(const QPainterPath &path, double width, const QSize &picture);

// The work of filling the polygons (an outline in its own coordinates)
// placed in the picture by `place`, with `pixelCost` per pixel.
FigureWork outlineFillWork(const QList<QPolygonF> &outline, const QTransform &place, double pixelCost,
                           const QSize &picture);

// The budget of one picture; charge() spends it and says whether the work
// may be done. Besides the estimate, a clock: whatever the estimates say,
// no work is started once `milliseconds` have passed.
class WorkBudget
{
public:
    WorkBudget(qint64 units, qint64 milliseconds)
        : left_(double(units)), total_(double(units)), milliseconds_(milliseconds)
    {
        clock_.start();
    }
    bool charge(double units)
    {
        if (spent_)
            return false;
        if (milliseconds_ > 0 && clock_.elapsed() >= milliseconds_)
            outOfTime_ = true;
        if (outOfTime_ || !(units <= left_)) {
            spent_ = true;
            return false;
        }
        left_ -= units;
        return true;
    }
    bool spent() const { return spent_; }
    // Whether the clock stopped the picture rather than the estimates.
    bool outOfTime() const { return outOfTime_; }
    qint64 used() const { return qint64(std::ceil(total_ - left_)); }

private:
    double left_;
    double total_;
    qint64 milliseconds_;
    QElapsedTimer clock_;
    bool spent_ = false;
    bool outOfTime_ = false;
};

} // namespace wmf::detail
