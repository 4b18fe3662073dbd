#pragma once
#include "WmfLimits.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Reader for 16-bit Windows metafiles (with or without the placeable header).
//
// The picture is played into a transparent image at its natural size: with
// the placeable header the bounding box at its units per inch, scaled to 96
// dots per inch; without it the first window extent the file sets, taken as
// pixels. The records a vector picture uses are drawn (lines, figures,
// polygons, text with its pens, brushes and fonts); every other record is
// skipped. Nothing in a damaged file can make the reader read outside the
// data, loop without end or take memory or time without bound: the limits
// (WmfLimits.h) cap every kind of work.
namespace wmf {

// The size the metafile is drawn at; an invalid size when the data is not a
// metafile that can be drawn within the default limits.
QSize naturalSize(const QByteArray &data);

// Renders the metafile at its natural size; a null image when the data is
// not a metafile that can be drawn.
QImage render(const QByteArray &data);
QImage render(const QByteArray &data, const Limits &limits, Report *report = nullptr);
} // namespace wmf
