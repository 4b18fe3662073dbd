#pragma once
// What the drawing files share: the brush face's outlines, a clear canvas
// and the painter settings every picture is drawn with. Only for the
// Drawings*.cpp files; the interface is Drawings.h.
#include <QImage>
#include <QPainterPath>
#include <QString>

class QPainter;

namespace drawings {

// The outline of one character, its ink centred on the origin.
QPainterPath glyph(const QString &text, double pixelSize);

// A transparent picture of w x h pixels.
QImage blankImage(int w, int h);

// Antialiased figures, text and scaled pictures.
void prepare(QPainter &p);

} // namespace drawings
