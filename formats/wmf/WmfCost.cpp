#include "WmfCost.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wmf::detail {

namespace {

// The antialiasing rasterizer starts with bands of this many rows and
// halves a band that holds more crossing cells than its memory takes
// (about 300), after filling it in vain.
constexpr double kRowsPerBand = 42;
constexpr double kCellsPerBand = 150;
// The aliased one takes 64 rows at a time.
constexpr double kRowsPerChunk = 64;
constexpr double kChunkEdgeCheck = 1;
// Each band looks at every edge, if only to pass it by.
constexpr double kBandEdgeCheck = 2;
// What an edge no number can describe costs: more than any budget.
constexpr double kUnmeasurable = 1e18;

bool finite(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

EdgeRows::EdgeRows(const QSize &picture) : picture_(picture) { }

void EdgeRows::addEdge(const QPointF &a, const QPointF &b)
{
    ++edges_;
    if (!finite(a) || !finite(b)) {
        walk_ += kUnmeasurable;
        return;
    }
    const double top = qMin(a.y(), b.y());
    const double bottom = qMax(a.y(), b.y());
    const double rows = bottom - top + 1;
    const double across = std::abs(b.x() - a.x());
    // A slanting edge is walked row by row and cell by cell, outside the
    // picture as well; an upright one only where it is inside.
    const bool upright = across == 0;
    const double walk = upright ? 0 : rows + across;
    walk_ += walk;

    const double height = picture_.height();
    const double insideTop = qMax(top, 0.0);
    const double insideBottom = qMin(bottom, height - 1);
    if (insideTop > insideBottom)
        return;
    const int first = int(insideTop);
    const int last = int(insideBottom);
    const double rowsInside = last - first + 1;
    if (upright)
        uprightInside_ += rowsInside;
    walkByInside_ += walk * rowsInside;
    // A cell for every pixel the edge passes through inside, at most the
    // picture's width (and a little) in a row.
    cellsInside_ += rowsInside + qMin(across * (rowsInside / rows), rowsInside * (picture_.width() + 2));
    if (insideTop_ > insideBottom_) {
        insideTop_ = first;
        insideBottom_ = last;
    } else {
        insideTop_ = qMin(insideTop_, double(first));
        insideBottom_ = qMax(insideBottom_, double(last));
    }
    active_.push_back(first);
    active_.push_back(-(last + 1) - 1); // an end: stored as -(row) - 1
}

void EdgeRows::addPolygon(const QPolygonF &polygon, bool closed)
{
    for (qsizetype i = 1; i < polygon.size(); ++i)
        addEdge(polygon[i - 1], polygon[i]);
    if (closed && polygon.size() > 2 && polygon.first() != polygon.last())
        addEdge(polygon.last(), polygon.first());
}

void EdgeRows::addWidePen(const QPolygonF &polyline, double width)
{
    const double half = width / 2;
    auto side = [&](const QPointF &a, const QPointF &b) {
        const QPointF d = b - a;
        const double length = std::hypot(d.x(), d.y());
        if (!(length > 0)) {
            edges_ += 2;
            return;
        }
        const QPointF normal(-d.y() / length * half, d.x() / length * half);
        addEdge(a + normal, b + normal);
        addEdge(a - normal, b - normal);
    };
    for (qsizetype i = 1; i < polyline.size(); ++i)
        side(polyline[i - 1], polyline[i]);
}

void EdgeRows::addCorner(const QPointF &at, double width)
{
    // A round piece as high and as wide as the pen: two edges down its
    // height, crossing its width, flattened into a few more.
    const double r = width / 2;
    addEdge(at + QPointF(-r, -r), at + QPointF(r, r));
    addEdge(at + QPointF(r, -r), at + QPointF(-r, r));
    edges_ += qint64(qBound(2.0, std::sqrt(width), 64.0));
}

double EdgeRows::antialiasedWork() const
{
    const double span = insideBottom_ >= insideTop_ ? insideBottom_ - insideTop_ + 1 : 0;
    // A band is at least one row: a row with more cells than a band holds
    // makes the rasterizer start again with more memory instead.
    const double bands = std::max(1.0, std::min(span, std::max(span / kRowsPerBand, cellsInside_ / kCellsPerBand)));
    // A slanting edge is walked whole once for every band it reaches into.
    double steps = walk_ + uprightInside_;
    if (span > 0)
        steps += walkByInside_ * bands / span;
    return cost::kBandStep * steps + edges_ * (cost::kEdge + kBandEdgeCheck * bands);
}

double EdgeRows::aliasedWork() const
{
    // The number of edges crossing each row, from the sorted starts and
    // ends of the edges.
    std::vector<int> events = active_;
    auto row = [](int e) { return e >= 0 ? e : -e - 1; };
    std::sort(events.begin(), events.end(), [&](int a, int b) { return row(a) < row(b); });
    double pairs = 0;
    double crossings = 0;
    double active = 0;
    int at = 0;
    for (const int e : events) {
        const int r = row(e);
        pairs += active * active * (r - at);
        crossings += active * (r - at);
        at = r;
        active += e >= 0 ? 1 : -1;
    }
    // The edges are looked at again for every 64 rows.
    const double span = insideBottom_ >= insideTop_ ? insideBottom_ - insideTop_ + 1 : 0;
    const double chunks = std::ceil(span / kRowsPerChunk);
    return cost::kActivePair * pairs + cost::kActiveRow * crossings + edges_ * (cost::kEdge + kChunkEdgeCheck * chunks)
        + (walk_ >= kUnmeasurable ? kUnmeasurable : 0);
}

double coveredPixels(const QRectF &deviceBounds, const QSize &picture)
{
    const QRectF area
        = deviceBounds.normalized().adjusted(-1, -1, 1, 1).intersected(QRectF(QPointF(0, 0), QSizeF(picture)));
    return area.isEmpty() ? 0 : area.width() * area.height();
}

double thinLineWork(const QList<QPolygonF> &polylines, const QSize &picture)
{
    const QRectF frame = QRectF(QPointF(0, 0), QSizeF(picture)).adjusted(-2, -2, 2, 2);
    double work = 0;
    for (const QPolygonF &line : polylines) {
        for (qsizetype i = 1; i < line.size(); ++i) {
            work += cost::kThinSegment;
            const QPointF a = line[i - 1];
            const QPointF b = line[i];
            if (!finite(a) || !finite(b))
                return kUnmeasurable;
            // The part of the segment within the frame (Liang-Barsky).
            const double dx = b.x() - a.x();
            const double dy = b.y() - a.y();
            double t0 = 0;
            double t1 = 1;
            const double p[4] = {-dx, dx, -dy, dy};
            const double q[4]
                = {a.x() - frame.left(), frame.right() - a.x(), a.y() - frame.top(), frame.bottom() - a.y()};
            bool outside = false;
            for (int k = 0; k < 4 && !outside; ++k) {
                if (p[k] == 0) {
                    outside = q[k] < 0;
                } else {
                    const double t = q[k] / p[k];
                    if (p[k] < 0)
                        t0 = qMax(t0, t);
                    else
                        t1 = qMin(t1, t);
                    outside = t0 > t1;
                }
            }
            if (!outside)
                work += cost::kThinPixel * (qMax(std::abs(dx), std::abs(dy)) * (t1 - t0) + 1);
        }
    }
    return work;
}

namespace {
// The work of a figure with its edges in `rows` and `fixed` work besides;
// the cheaper aliased drawing is worked out only where antialiasing would
// cost too much.
FigureWork figureWork(const EdgeRows &rows, double fixed)
{
    FigureWork work;
    work.antialiased = rows.antialiasedWork() + fixed;
    work.aliased = work.antialiased;
    if (work.antialiased > cost::kAntialiasingLimit)
        work.aliased = rows.aliasedWork() + fixed;
    return work;
}
} // namespace

FigureWork fillWork(const QPainterPath &path, double pixelCost, const QSize &picture)
{
    EdgeRows rows(picture);
    for (const QPolygonF &polygon : path.toSubpathPolygons())
        rows.addPolygon(polygon, true);
    const double pixels = pixelCost * coveredPixels(path.controlPointRect(), picture);
    return figureWork(rows, pixels);
}

FigureWork outlineFillWork(const QList<QPolygonF> &outline, const QTransform &place, double pixelCost,
                           const QSize &picture)
{
    EdgeRows rows(picture);
    QRectF bounds;
    for (const QPolygonF &polygon : outline) {
        const QPolygonF placed = place.map(polygon);
        rows.addPolygon(placed, true);
        bounds |= placed.boundingRect();
    }
    return figureWork(rows, pixelCost * coveredPixels(bounds, picture));
}

FigureWork wideStrokeWork(const QPainterPath &path, double width, const QSize &picture)
{
    EdgeRows rows(picture);
    // A closed subpath comes back with its first point again at its end.
    for (const QPolygonF &polyline : path.toSubpathPolygons())
        rows.addWidePen(polyline, width);
    // Corners and ends come where lines and curves meet, not along the
    // pieces a curve is flattened into.
    double corners = 0;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isCurveTo() && i + 2 < path.elementCount()) {
            rows.addCorner(path.elementAt(i + 2), width);
            i += 2;
        } else {
            rows.addCorner(e, width);
        }
        corners += 1;
    }
    const double half = width / 2;
    const QRectF bounds = path.controlPointRect().adjusted(-half, -half, half, half);
    const double fixed = cost::kSolidPixel * coveredPixels(bounds, picture) + cost::kCorner * corners;
    return figureWork(rows, fixed);
}

} // namespace wmf::detail
