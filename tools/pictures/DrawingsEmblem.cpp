// The emblem on its board, at rest and turning, and the program icon drawn
// in the same lacquer and gold.
#include "Drawings.h"
#include "DrawingsCommon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <vector>

namespace drawings {

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
void boardMark(QPainter &p, const QString &ch, double radius, double size, double weight, const QColor &fill,
               const QColor &edge)
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

} // namespace drawings
