// The shared drawing pieces and the globe; the emblem and the icon are in
// DrawingsEmblem.cpp, the wooden pieces and the pointer in DrawingsPieces.cpp.
#include "Drawings.h"
#include "DrawingsCommon.h"

#include "tools/wmfwriter/WmfWriter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <vector>

namespace drawings {

QString markFamily()
{
    return QStringLiteral("AR PL UKai CN");
}

QPainterPath glyph(const QString &text, double pixelSize)
{
    QFont font(markFamily());
    font.setPixelSize(qMax(1, int(std::lround(pixelSize))));
    font.setStyleStrategy(QFont::PreferAntialias);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QPointF centre = path.boundingRect().center();
    return path.translated(-centre);
}

QImage blankImage(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// ---- globe geometry --------------------------------------------------------

namespace {

QColor mix(const QColor &a, const QColor &b, double t)
{
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()), m(a.alpha(), b.alpha()));
}

struct Vec3 {
    double x, y, z;
};

// A point of latitude/longitude (degrees) on the unit sphere, seen with the
// north pole tipped towards the viewer.
Vec3 onSphere(double lat, double lon)
{
    const double tilt = qDegreesToRadians(21.0);
    const double turn = qDegreesToRadians(14.0);
    const double phi = qDegreesToRadians(lat);
    const double lambda = qDegreesToRadians(lon) + turn;
    const double x = std::cos(phi) * std::sin(lambda);
    const double y = std::sin(phi);
    const double z = std::cos(phi) * std::cos(lambda);
    return {x, y * std::cos(tilt) - z * std::sin(tilt), y * std::sin(tilt) + z * std::cos(tilt)};
}

// Splits a sampled curve into the runs in front of and behind the sphere,
// ending each run where the curve crosses the rim.
void splitRuns(const std::vector<Vec3> &curve, QList<QList<QPointF>> &front, QList<QList<QPointF>> &back)
{
    QList<QPointF> run;
    bool runFront = curve.front().z >= 0;
    auto flat = [](const Vec3 &v) { return QPointF(v.x, v.y); };
    run.append(flat(curve.front()));
    for (size_t i = 1; i < curve.size(); ++i) {
        const Vec3 &a = curve[i - 1];
        const Vec3 &b = curve[i];
        const bool bFront = b.z >= 0;
        if (bFront != runFront) {
            const double t = a.z / (a.z - b.z);
            const QPointF cross(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t);
            run.append(cross);
            (runFront ? front : back).append(run);
            run.clear();
            run.append(cross);
            runFront = bFront;
        }
        run.append(flat(b));
    }
    if (run.size() > 1)
        (runFront ? front : back).append(run);
}

} // namespace

// ---- globe -------------------------------------------------------------------

VectorPicture globe()
{
    VectorPicture pic;
    pic.frame = QRect(0, 0, 7200, 7200); // 480 x 480 pixels at 15 units a pixel
    pic.unitsPerInch = 1440;
    const double cx = 3600, cy = 3600, radius = 3420;

    // Soft shading: nested discs drifting towards the light at the upper left.
    const QColor shadow(168, 198, 214);
    const QColor light(247, 250, 251);
    const int steps = 20;
    for (int k = 0; k < steps; ++k) {
        const double t = double(k) / (steps - 1);
        const double r = radius * (1.0 - 0.8 * t);
        const double x = cx - 0.30 * radius * t;
        const double y = cy - 0.34 * radius * t;
        Shape s;
        s.kind = Shape::Ellipse;
        s.box
            = QRect(int(std::lround(x - r)), int(std::lround(y - r)), int(std::lround(2 * r)), int(std::lround(2 * r)));
        s.brush = mix(shadow, light, std::pow(t, 0.8));
        pic.shapes.append(s);
    }

    auto toPoints = [&](const QList<QPointF> &run) {
        QList<QPoint> pts;
        for (const QPointF &p : run) {
            const QPoint q(int(std::lround(cx + radius * p.x())), int(std::lround(cy - radius * p.y())));
            if (pts.isEmpty() || pts.last() != q)
                pts.append(q);
        }
        return pts;
    };

    QList<QList<QPointF>> front, back, frontEquator, backEquator;
    for (int lon = 0; lon < 180; lon += 15) {
        // A whole great circle through both poles.
        std::vector<Vec3> curve;
        for (int a = 0; a <= 360; a += 2) {
            const double lat = a <= 180 ? 90 - a : a - 270;
            const double l = a <= 180 ? lon : lon + 180;
            curve.push_back(onSphere(lat, l));
        }
        splitRuns(curve, front, back);
    }
    for (int lat = -75; lat <= 75; lat += 15) {
        std::vector<Vec3> curve;
        for (int lon = 0; lon <= 360; lon += 2)
            curve.push_back(onSphere(lat, lon));
        if (lat == 0)
            splitRuns(curve, frontEquator, backEquator);
        else
            splitRuns(curve, front, back);
    }

    auto addLines = [&](const QList<QList<QPointF>> &runs, const QColor &colour, int width) {
        for (const QList<QPointF> &run : runs) {
            Shape s;
            s.kind = Shape::Polyline;
            s.points = toPoints(run);
            if (s.points.size() < 2)
                continue;
            s.pen = colour;
            s.penWidth = width;
            pic.shapes.append(s);
        }
    };
    // The far side shows faintly through, the near side in a quiet slate blue.
    addLines(back, QColor(204, 220, 230), 12);
    addLines(backEquator, QColor(222, 212, 194), 12);
    addLines(front, QColor(140, 174, 198), 15);
    addLines(frontEquator, QColor(196, 160, 108), 20);

    Shape rim;
    rim.kind = Shape::Ellipse;
    rim.box = QRect(int(cx - radius), int(cy - radius), int(2 * radius), int(2 * radius));
    rim.pen = QColor(112, 150, 176);
    rim.penWidth = 30;
    pic.shapes.append(rim);
    return pic;
}

QByteArray toMetafile(const VectorPicture &picture)
{
    wmf::Writer w;
    const QRect &f = picture.frame;
    w.setPlaceable(f, picture.unitsPerInch);
    w.setMapMode(wmf::MmAnisotropic);
    w.setWindowOrg(f.x(), f.y());
    w.setWindowExt(f.width(), f.height());
    w.setBkMode(wmf::Transparent);

    // Pen and brush stay selected while consecutive shapes share them.
    int pen = -1, brush = -1;
    QColor penColour, brushColour;
    int penWidth = -1;
    bool penNone = false, brushNone = false;
    for (const Shape &s : picture.shapes) {
        const bool wantPenNone = !s.pen.isValid();
        if (pen < 0 || wantPenNone != penNone || (!wantPenNone && (s.pen != penColour || s.penWidth != penWidth))) {
            const int made
                = wantPenNone ? w.createPen(wmf::PsNull, 0, Qt::black) : w.createPen(wmf::PsSolid, s.penWidth, s.pen);
            w.selectObject(made);
            if (pen >= 0)
                w.deleteObject(pen);
            pen = made;
            penNone = wantPenNone;
            penColour = s.pen;
            penWidth = s.penWidth;
        }
        if (s.kind == Shape::Ellipse) {
            const bool wantBrushNone = !s.brush.isValid();
            if (brush < 0 || wantBrushNone != brushNone || (!wantBrushNone && s.brush != brushColour)) {
                const int made
                    = wantBrushNone ? w.createBrush(wmf::BsNull, Qt::black) : w.createBrush(wmf::BsSolid, s.brush);
                w.selectObject(made);
                if (brush >= 0)
                    w.deleteObject(brush);
                brush = made;
                brushNone = wantBrushNone;
                brushColour = s.brush;
            }
            w.ellipse(s.box.x(), s.box.y(), s.box.x() + s.box.width(), s.box.y() + s.box.height());
        } else {
            w.polyline(QPolygon(s.points));
        }
    }
    return w.data();
}

QImage renderPreview(const VectorPicture &picture)
{
    const double scale = 96.0 / picture.unitsPerInch;
    QImage img
        = blankImage(int(std::lround(picture.frame.width() * scale)), int(std::lround(picture.frame.height() * scale)));
    QPainter p(&img);
    prepare(p);
    p.scale(scale, scale);
    p.translate(-picture.frame.topLeft());
    for (const Shape &s : picture.shapes) {
        if (s.pen.isValid()) {
            QPen pen(s.pen, s.penWidth);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
        } else {
            p.setPen(Qt::NoPen);
        }
        if (s.kind == Shape::Ellipse) {
            p.setBrush(s.brush.isValid() ? QBrush(s.brush) : QBrush(Qt::NoBrush));
            p.drawEllipse(s.box);
        } else {
            p.drawPolyline(QPolygon(s.points));
        }
    }
    return img;
}

} // namespace drawings
