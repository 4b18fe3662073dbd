// The wooden pieces and the panel's pointer.
#include "Drawings.h"
#include "DrawingsCommon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace drawings {

namespace {

// A small fixed-seed generator, so that every run draws the same grain.
class Dice
{
public:
    explicit Dice(quint32 seed) : state_(seed) { }
    double next() // 0 <= x < 1
    {
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / double(1u << 24);
    }
    double between(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    quint32 state_;
};

} // namespace

// ---- pieces ------------------------------------------------------------------

QImage piece(const QString &mark)
{
    QImage img(75, 76, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    prepare(p);
    const QPointF centre(37.5, 36.6);
    const double r = 33.0;
    const double thickness = 2.6;

    // A soft shadow on the white ground.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(60, 40, 20, 14));
        p.drawEllipse(centre + QPointF(0.8, thickness + 0.9), r + 1.8 - i * 0.35, r + 1.8 - i * 0.35);
    }
    // The edge of the piece, seen just below its face.
    QLinearGradient side(centre.x() - r, 0, centre.x() + r, 0);
    side.setColorAt(0, QColor(150, 96, 46));
    side.setColorAt(0.4, QColor(122, 74, 34));
    side.setColorAt(1, QColor(88, 52, 22));
    p.setBrush(side);
    p.drawEllipse(centre + QPointF(0, thickness), r, r);

    // The face: honey-coloured wood, lighter towards the upper left.
    QRadialGradient wood(centre + QPointF(-9, -11), r * 1.45);
    wood.setColorAt(0.0, QColor(232, 190, 132));
    wood.setColorAt(0.55, QColor(206, 154, 92));
    wood.setColorAt(1.0, QColor(164, 108, 54));
    p.setBrush(wood);
    p.drawEllipse(centre, r, r);

    // Grain running across the face.
    QPainterPath face;
    face.addEllipse(centre, r, r);
    p.save();
    p.setClipPath(face);
    Dice dice(20040601u);
    for (double y0 = centre.y() - r - 2; y0 < centre.y() + r + 2; y0 += dice.between(3.2, 5.4)) {
        const double phase = dice.between(0, 6.28);
        const double amp = dice.between(0.6, 1.8);
        QPainterPath line;
        for (double x = centre.x() - r - 2; x <= centre.x() + r + 2; x += 1.5) {
            const double dx = x - centre.x();
            const double y = y0 + amp * std::sin(dx * 0.085 + phase) + 0.0035 * dx * dx * (y0 < centre.y() ? -1 : 1);
            if (line.isEmpty())
                line.moveTo(x, y);
            else
                line.lineTo(x, y);
        }
        p.setPen(QPen(QColor(120, 70, 30, int(dice.between(36, 80))), dice.between(0.45, 1.1)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    p.restore();

    // A bevelled rim catching the light.
    QLinearGradient bevel(centre + QPointF(-r, -r), centre + QPointF(r, r));
    bevel.setColorAt(0, QColor(255, 232, 190, 200));
    bevel.setColorAt(0.5, QColor(255, 232, 190, 30));
    bevel.setColorAt(1, QColor(70, 36, 12, 150));
    p.setPen(QPen(QBrush(bevel), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r - 1.2, r - 1.2);
    p.setPen(QPen(QColor(96, 56, 24, 180), 0.8));
    p.drawEllipse(centre, r, r);

    if (!mark.isEmpty()) {
        // The mark cut into the wood: a lit lower edge, then the dark cut.
        const QPainterPath g = glyph(mark, 42).translated(centre);
        p.setPen(QPen(QColor(250, 218, 168, 210), 1.4));
        p.setBrush(QColor(250, 218, 168, 210));
        p.drawPath(g.translated(0.9, 1.0));
        p.setPen(QPen(QColor(64, 26, 10), 1.3));
        p.setBrush(QColor(64, 26, 10));
        p.drawPath(g);
    }
    return img;
}

// ---- pointer -----------------------------------------------------------------

QPoint pointerHotSpot()
{
    return QPoint(2, 2);
}

QImage pointer()
{
    QImage img = blankImage(32, 32);
    QPainter p(&img);
    prepare(p);
    // A writing brush lying along the diagonal, its tip on the hot spot.
    p.translate(pointerHotSpot());
    p.rotate(45);

    QPainterPath tip;
    tip.moveTo(0, 0);
    tip.cubicTo(4, -1.2, 8, -3.4, 12.5, -3.2);
    tip.lineTo(12.5, 3.2);
    tip.cubicTo(8, 3.4, 4, 1.2, 0, 0);
    QPainterPath ferrule;
    ferrule.addRect(QRectF(12.5, -3.3, 3.2, 6.6));
    QPainterPath handle;
    handle.addRoundedRect(QRectF(15.5, -2.4, 21.5, 4.8), 1.0, 1.0);
    QPainterPath cap;
    cap.addRoundedRect(QRectF(36.2, -2.7, 4.2, 5.4), 1.6, 1.6);
    const QPainterPath whole = tip.united(ferrule).united(handle).united(cap);

    // A pale halo keeps the outline readable on dark and light ground alike.
    p.setPen(QPen(QColor(255, 255, 255, 230), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(whole);

    QLinearGradient bristle(0, 0, 12.5, 0);
    bristle.setColorAt(0.0, QColor(10, 10, 10));
    bristle.setColorAt(0.55, QColor(40, 36, 34));
    bristle.setColorAt(1.0, QColor(226, 214, 190));
    p.setPen(Qt::NoPen);
    p.setBrush(bristle);
    p.drawPath(tip);
    p.setBrush(QColor(196, 152, 62));
    p.drawPath(ferrule);
    QLinearGradient bamboo(0, -2.4, 0, 2.4);
    bamboo.setColorAt(0, QColor(236, 210, 142));
    bamboo.setColorAt(1, QColor(170, 130, 60));
    p.setBrush(bamboo);
    p.drawPath(handle);
    p.setPen(QPen(QColor(120, 86, 30), 0.9));
    p.drawLine(QPointF(26, -2.4), QPointF(26, 2.4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 30, 20));
    p.drawPath(cap);

    p.setPen(QPen(QColor(30, 24, 20), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(whole);
    return img;
}

} // namespace drawings
