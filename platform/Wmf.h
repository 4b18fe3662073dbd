#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// Reader for 16-bit Windows metafiles (with or without the placeable header).
namespace wmf {
// Renders the metafile at its natural size; a null image when the data is
// not a metafile that can be drawn.
QImage render(const QByteArray &data);
QImage renderFile(const QString &path);
} // namespace wmf
