// Lines, polygons and the figures drawn in a bounding box.
#include "WmfPlayer.h"

#include <QtMath>

#include <cmath>

namespace wmf::detail {

namespace {

// Outlines sit on the centres of the pixels their points name.
QPainterPath shifted(const QPainterPath &path)
{
    return path.translated(0.5, 0.5);
}

// The point where the ray from the centre through p meets the ellipse, as
// the angle QPainterPath's arcs take.
double arcAngle(const QRectF &box, const QPointF &p)
{
    const QPointF c = box.center();
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    const double dx = p.x() - c.x();
    const double dy = c.y() - p.y(); // upwards
    const double ex = rx > 1e-9 ? dx / rx : dx;
    const double ey = ry > 1e-9 ? dy / ry : dy;
    if (ex == 0 && ey == 0)
        return 0;
    return qRadiansToDegrees(std::atan2(ey, ex));
}

} // namespace

FigureWork Player::strokeWork(const QPainterPath &stroke) const
{
    if (!hasPen())
        return FigureWork();
    const double width = penWidth();
    if (width <= 1.0) {
        const double work = thinLineWork(stroke.toSubpathPolygons(), image_->size());
        return FigureWork {work, work};
    }
    return wideStrokeWork(stroke, width, image_->size());
}

void Player::antialiasAsChosen(const FigureWork &work)
{
    painter_.setRenderHint(QPainter::Antialiasing, work.useAntialiasing());
    if (!work.useAntialiasing())
        ++aliasedFigures_;
}

bool Player::chargeFigure(const FigureWork &work)
{
    if (!budget_.charge(cost::kFigure + work.chosen()))
        return false;
    antialiasAsChosen(work);
    return true;
}

bool Player::fillAndStroke(const QPainterPath &fill, const QPainterPath &stroke, const QRectF &bounds)
{
    const FigureWork fillCost = hasBrush() ? fillWork(fill, brushPixelCost(), image_->size()) : FigureWork();
    const FigureWork strokeCost = strokeWork(stroke);
    if (!budget_.charge(cost::kFigure + fillCost.chosen() + strokeCost.chosen()))
        return false;
    prepareBackground();
    if (hasBrush()) {
        antialiasAsChosen(fillCost);
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(currentBrush());
        painter_.drawPath(fill);
    }
    if (hasPen()) {
        antialiasAsChosen(strokeCost);
        painter_.setPen(currentPen(bounds.width() + bounds.height()));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(stroke);
    }
    return true;
}

bool Player::strokeOnly(const QPainterPath &stroke, const QRectF &bounds)
{
    if (!hasPen())
        return budget_.charge(cost::kFigure);
    if (!chargeFigure(strokeWork(stroke)))
        return false;
    prepareBackground();
    painter_.setPen(currentPen(bounds.width() + bounds.height()));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(stroke);
    return true;
}

bool Player::drawPolyline(const QPolygonF &points)
{
    if (points.size() < 2)
        return true;
    if (!hasPen())
        return budget_.charge(cost::kFigure);
    QPolygonF poly = points.translated(0.5, 0.5);
    QPainterPath path;
    path.addPolygon(poly);
    if (!chargeFigure(strokeWork(path)))
        return false;
    const QRectF bounds = points.boundingRect();
    prepareBackground();
    painter_.setPen(currentPen(bounds.width() + bounds.height()));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(poly);
    return true;
}

bool Player::playPolygon(quint16 function, const Bytes &p)
{
    const int count = p.s16(0);
    if (!p.has(0, 2) || count < 0 || !p.has(2, qint64(count) * 4))
        return true;
    QPolygonF points;
    points.reserve(count);
    for (int i = 0; i < count; ++i)
        points.append(toDevice(p.s16(2 + i * 4), p.s16(4 + i * 4)));
    if (function == Polyline)
        return drawPolyline(points);
    if (points.size() < 2)
        return true;
    QPainterPath fill;
    fill.setFillRule(state_.polyFillMode == Winding ? Qt::WindingFill : Qt::OddEvenFill);
    fill.addPolygon(points);
    fill.closeSubpath();
    return fillAndStroke(fill, shifted(fill), fill.boundingRect());
}

bool Player::playPolyPolygon(const Bytes &p)
{
    const int polygons = p.u16(0);
    if (!p.has(0, 2) || !p.has(2, qint64(polygons) * 2))
        return true;
    qint64 total = 0;
    for (int i = 0; i < polygons; ++i)
        total += p.u16(2 + i * 2);
    qint64 at = 2 + qint64(polygons) * 2;
    if (!p.has(at, total * 4))
        return true;
    QPainterPath fill;
    fill.setFillRule(state_.polyFillMode == Winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (int i = 0; i < polygons; ++i) {
        const int count = p.u16(2 + i * 2);
        QPolygonF poly;
        poly.reserve(count);
        for (int k = 0; k < count; ++k, at += 4)
            poly.append(toDevice(p.s16(at), p.s16(at + 2)));
        if (poly.size() >= 2) {
            fill.addPolygon(poly);
            fill.closeSubpath();
        }
    }
    if (fill.isEmpty())
        return true;
    return fillAndStroke(fill, shifted(fill), fill.boundingRect());
}

bool Player::drawBoxFigure(quint16 function, const Bytes &p)
{
    // The bounds are the last four words (bottom, right, top, left).
    const qint64 at = function == Rectangle || function == Ellipse ? 0 : function == RoundRect ? 4 : 8;
    if (!p.has(at, 8))
        return true;
    const QPointF a = toDevice(p.s16(at + 6), p.s16(at + 4));
    const QPointF b = toDevice(p.s16(at + 2), p.s16(at + 0));
    const double x0 = qMin(a.x(), b.x());
    const double x1 = qMax(a.x(), b.x());
    const double y0 = qMin(a.y(), b.y());
    const double y1 = qMax(a.y(), b.y());
    // The right and bottom edges belong to the outside; strokes sit on the
    // centres of the edge pixels.
    const double w = qMax(0.0, x1 - x0 - 1);
    const double h = qMax(0.0, y1 - y0 - 1);
    QRectF strokeBox(x0 + 0.5, y0 + 0.5, w, h);
    const QRectF fillBox = hasPen() ? QRectF(x0, y0, x1 - x0, y1 - y0) : QRectF(x0, y0, w, h);
    if ((state_.pen.style & PsStyleMask) == PsInsideFrame) {
        const double inset = qMin(qMax(0.0, penWidth() / 2 - 0.5), qMin(w, h) / 2);
        strokeBox.adjust(inset, inset, -inset, -inset);
    }

    auto figure = [&](const QRectF &box) {
        QPainterPath path;
        switch (function) {
        case Rectangle: path.addRect(box); break;
        case Ellipse: path.addEllipse(box); break;
        case RoundRect: {
            double sx, sy;
            scales(&sx, &sy);
            const double rx = qMin(std::abs(p.s16(2) * sx) / 2, box.width() / 2);
            const double ry = qMin(std::abs(p.s16(0) * sy) / 2, box.height() / 2);
            path.addRoundedRect(box, rx, ry);
            break;
        }
        default: {
            const double start = arcAngle(box, toDevice(p.s16(6), p.s16(4)) + QPointF(0.5, 0.5));
            const double end = arcAngle(box, toDevice(p.s16(2), p.s16(0)) + QPointF(0.5, 0.5));
            double sweep = end - start;
            while (sweep <= 0)
                sweep += 360;
            if (function == Pie) {
                path.moveTo(box.center());
                path.arcTo(box, start, sweep);
                path.closeSubpath();
            } else {
                path.arcMoveTo(box, start);
                path.arcTo(box, start, sweep);
                if (function == Chord)
                    path.closeSubpath();
            }
            break;
        }
        }
        return path;
    };

    const QRectF bounds(x0, y0, x1 - x0, y1 - y0);
    if (function == Arc)
        return strokeOnly(figure(strokeBox), bounds);
    return fillAndStroke(figure(fillBox), figure(strokeBox), bounds);
}

} // namespace wmf::detail
