#include "Drawings.h"

#include "tools/wmfwriter/WmfWriter.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>
#include <vector>

namespace drawings {

namespace {

QColor mix(const QColor &a, const QColor &b, double t)
{
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                  m(a.alpha(), b.alpha()));
}

// A small fixed-seed generator, so that every run draws the same grain.
class Dice
{
public:
    explicit Dice(quint32 seed) : state_(seed) {}
    double next() // 0 <= x < 1
    {
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / double(1u << 24);
    }
    double between(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    quint32 state_;
};

// The outline of one character, its ink centred on the origin.
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

QString markFamily()
{
    return QStringLiteral("AR PL UKai CN");
}

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
        s.box = QRect(int(std::lround(x - r)), int(std::lround(y - r)), int(std::lround(2 * r)),
                      int(std::lround(2 * r)));
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
        if (pen < 0 || wantPenNone != penNone
            || (!wantPenNone && (s.pen != penColour || s.penWidth != penWidth))) {
            const int made = wantPenNone ? w.createPen(wmf::PsNull, 0, Qt::black)
                                         : w.createPen(wmf::PsSolid, s.penWidth, s.pen);
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
                const int made = wantBrushNone ? w.createBrush(wmf::BsNull, Qt::black)
                                               : w.createBrush(wmf::BsSolid, s.brush);
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
    QImage img = blankImage(int(std::lround(picture.frame.width() * scale)),
                            int(std::lround(picture.frame.height() * scale)));
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

// ---- emblem ------------------------------------------------------------------

namespace {

const QColor kGold(232, 192, 96);
const QColor kGoldDark(150, 108, 36);
const QColor kLacquer(190, 38, 28);
const QColor kLacquerDeep(140, 22, 16);
const QColor kInk(40, 28, 24);
const QColor kIvory(248, 238, 214);

void ring(QPainter &p, double r, double width, const QColor &colour)
{
    p.setPen(QPen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), r, r);
}

void disc(QPainter &p, double r, const QBrush &brush)
{
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawEllipse(QPointF(0, 0), r, r);
}

// A gold ring lit from the upper left.
void goldRim(QPainter &p, double inner, double outer)
{
    QLinearGradient g(-outer, -outer, outer, outer);
    g.setColorAt(0.0, QColor(255, 236, 160));
    g.setColorAt(0.45, kGold);
    g.setColorAt(1.0, kGoldDark);
    QPainterPath band;
    band.addEllipse(QPointF(0, 0), outer, outer);
    band.addEllipse(QPointF(0, 0), inner, inner);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(band);
}

// The two interlocking halves, dark on the right at rest.
void taiji(QPainter &p, double r, const QColor &dark, const QColor &pale)
{
    disc(p, r, pale);
    QPainterPath half;
    half.moveTo(0, -r);
    half.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 90, -180);
    half.closeSubpath();
    QPainterPath upper, lower;
    upper.addEllipse(QPointF(0, -r / 2), r / 2, r / 2);
    lower.addEllipse(QPointF(0, r / 2), r / 2, r / 2);
    QPainterPath darkPart = half.subtracted(upper).united(lower);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawPath(darkPart.simplified());
    p.setBrush(dark);
    p.drawEllipse(QPointF(0, -r / 2), r / 7, r / 7);
    p.setBrush(pale);
    p.drawEllipse(QPointF(0, r / 2), r / 7, r / 7);
}

// One character standing on the board at `radius` from the centre, its foot
// towards the centre.
void boardMark(QPainter &p, const QString &ch, double radius, double size, double weight,
               const QColor &fill, const QColor &edge)
{
    // A dark edge under strokes thickened with their own colour, so that the
    // thin brush face still reads on the lacquer.
    const QPainterPath g = glyph(ch, size).translated(0, -radius);
    p.setPen(QPen(edge, weight + 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(edge);
    p.drawPath(g);
    p.setPen(QPen(fill, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(g);
}

// A tiny wooden piece lying on the board.
void tinyPiece(QPainter &p, const QPointF &at, double r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(at + QPointF(0.8, 1.2), r, r);
    QRadialGradient wood(at + QPointF(-r / 3, -r / 3), r * 1.4);
    wood.setColorAt(0, QColor(236, 190, 128));
    wood.setColorAt(1, QColor(164, 108, 52));
    p.setBrush(wood);
    p.drawEllipse(at, r, r);
}

QImage emblemAt(double degrees)
{
    const int size = 240;
    QImage img = blankImage(size, size);
    QPainter p(&img);
    prepare(p);
    p.translate(size / 2.0, size / 2.0);

    const double outer = 118.5;
    // Outer band: red lacquer with the program's four characters.
    QRadialGradient lacquer(0, 0, 112);
    lacquer.setColorAt(0.72, kLacquer);
    lacquer.setColorAt(1.0, kLacquerDeep);
    disc(p, 112.5, lacquer);
    p.save();
    p.rotate(degrees);
    const QString name = QStringLiteral("衍枰占卜");
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.rotate(90.0 * i);
        boardMark(p, name.mid(i, 1), 99.5, 22, 0.9, QColor(255, 222, 130), QColor(96, 14, 8, 190));
        p.rotate(45);
        // A small gold lozenge between two characters.
        QPolygonF lozenge;
        lozenge << QPointF(0, -105) << QPointF(4, -99) << QPointF(0, -93) << QPointF(-4, -99);
        p.setPen(Qt::NoPen);
        p.setBrush(kGold);
        p.drawPolygon(lozenge);
        p.restore();
    }
    for (int i = 0; i < 72; ++i) {
        p.save();
        p.rotate(5.0 * i);
        p.setPen(QPen(kGold, i % 2 == 0 ? 1.2 : 0.8));
        p.drawLine(QPointF(0, -112), QPointF(0, i % 2 == 0 ? -108.5 : -110));
        p.restore();
    }
    p.restore();
    ring(p, 87.5, 1.2, kGold);

    // Inner band: black lacquer carrying the three marks and three pieces.
    QRadialGradient ink(0, 0, 86);
    ink.setColorAt(0.6, QColor(58, 40, 34));
    ink.setColorAt(1.0, kInk);
    disc(p, 85, ink);
    ring(p, 85, 2.0, kGold);
    p.save();
    p.rotate(degrees);
    const QString marks = QStringLiteral("上中下");
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.rotate(120.0 * i);
        boardMark(p, marks.mid(i, 1), 70, 28, 1.3, kIvory, QColor(16, 8, 6, 230));
        p.rotate(60);
        tinyPiece(p, QPointF(0, -70), 7.5);
        p.restore();
    }
    p.restore();

    // Centre: the turning halves in a gold frame.
    disc(p, 56, kInk);
    ring(p, 55, 2.4, kGold);
    p.save();
    p.rotate(degrees);
    taiji(p, 51, QColor(26, 20, 18), kIvory);
    p.restore();
    ring(p, 51.5, 1.0, kGoldDark);

    goldRim(p, 112, outer);
    ring(p, outer - 0.3, 0.8, QColor(110, 70, 20));

    // Fixed light from the upper left over everything that turns.
    QPainterPath face;
    face.addEllipse(QPointF(0, 0), outer, outer);
    p.setClipPath(face);
    QRadialGradient gloss(-48, -58, 150);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
    gloss.setColorAt(0.5, QColor(255, 255, 255, 12));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QPointF(0, 0), outer, outer);
    QRadialGradient shade(-22, -26, 150);
    shade.setColorAt(0.78, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, 70));
    p.setBrush(shade);
    p.drawEllipse(QPointF(0, 0), outer, outer);
    return img;
}

} // namespace

QImage emblem(double degrees, bool turning)
{
    if (!turning)
        return emblemAt(degrees);
    // A weighted blend of the board at this angle and a little before it.
    const int samples = 5;
    const double step = 2.0;
    std::vector<double> acc(size_t(240 * 240 * 4), 0.0);
    double total = 0;
    for (int j = 0; j < samples; ++j) {
        const double w = std::pow(0.45, j);
        total += w;
        const QImage layer = emblemAt(degrees - step * j);
        for (int y = 0; y < 240; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
            for (int x = 0; x < 240; ++x) {
                double *a = &acc[size_t((y * 240 + x) * 4)];
                a[0] += w * qRed(row[x]);
                a[1] += w * qGreen(row[x]);
                a[2] += w * qBlue(row[x]);
                a[3] += w * qAlpha(row[x]);
            }
        }
    }
    QImage out(240, 240, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 240; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < 240; ++x) {
            const double *a = &acc[size_t((y * 240 + x) * 4)];
            auto v = [total](double s) { return qBound(0, int(std::lround(s / total)), 255); };
            row[x] = qRgba(v(a[0]), v(a[1]), v(a[2]), v(a[3]));
        }
    }
    return out;
}

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

// ---- icon ------------------------------------------------------------------

QImage icon(int size)
{
    QImage img = blankImage(size, size);
    QPainter p(&img);
    prepare(p);
    const double s = size / 32.0;
    p.translate(size / 2.0, size / 2.0);
    p.scale(s, s);
    const double outer = 15.4;
    QRadialGradient lacquer(0, 0, outer);
    lacquer.setColorAt(0.6, kLacquer);
    lacquer.setColorAt(1.0, kLacquerDeep);
    disc(p, outer - 1.2, lacquer);
    if (size >= 64) {
        // Room for the three marks on a dark band.
        disc(p, 11.2, kInk);
        ring(p, 11.2, 0.35, kGold);
        const QString marks = QStringLiteral("上中下");
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.rotate(120.0 * i);
            // Glyphs come in whole pixels, so draw them 64 times larger and
            // scale down.
            const QPainterPath g = glyph(marks.mid(i, 1), 4.0 * 64).translated(0, -9.3 * 64);
            p.scale(1.0 / 64, 1.0 / 64);
            p.setPen(QPen(QColor(16, 8, 6), 0.5 * 64, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(16, 8, 6));
            p.drawPath(g);
            p.setPen(QPen(kGold, 0.28 * 64, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(kGold);
            p.drawPath(g);
            p.restore();
        }
        p.save();
        p.scale(1.0 / 64, 1.0 / 64);
        ring(p, 7.4 * 64, 0.4 * 64, kGold);
        taiji(p, 7.0 * 64, QColor(26, 20, 18), kIvory);
        p.restore();
    } else {
        disc(p, 9.6, kGold);
        taiji(p, 8.6, QColor(26, 20, 18), kIvory);
    }
    goldRim(p, outer - 1.8, outer);
    p.setClipping(false);
    QRadialGradient gloss(-6, -7, 20);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QPointF(0, 0), outer, outer);
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
