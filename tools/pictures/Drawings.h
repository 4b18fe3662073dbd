#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// The program's pictures, drawn from scratch.
namespace drawings {

// The face used for the marks 上, 中, 下 and the emblem's characters.
QString markFamily();

// ---- the globe: a vector drawing kept as a list of simple shapes, so that
// the same list becomes the metafile and the preview ------------------------

struct Shape {
    enum Kind { Ellipse, Polyline };
    Kind kind = Ellipse;
    QRect box; // Ellipse
    QList<QPoint> points; // Polyline
    QColor pen; // invalid: no outline
    int penWidth = 0; // logical units
    QColor brush; // invalid: not filled
};

struct VectorPicture {
    QRect frame; // logical units
    int unitsPerInch = 1440;
    QList<Shape> shapes;
};

VectorPicture globe();
QByteArray toMetafile(const VectorPicture &picture);
// Draws the shapes with QPainter at 96 dots per inch, for previews.
QImage renderPreview(const VectorPicture &picture);

// ---- raster pictures -------------------------------------------------------

// The emblem, turned clockwise by `degrees`; `turning` adds a faint trail
// behind the marks, as seen on a spinning board.
QImage emblem(double degrees, bool turning);

// A wooden piece, 75 x 76: blank when `mark` is empty.
QImage piece(const QString &mark);

// The program icon at the given size (square).
QImage icon(int size);

// The panel's mouse pointer, 32 x 32, and its hot spot.
QImage pointer();
QPoint pointerHotSpot();

} // namespace drawings
