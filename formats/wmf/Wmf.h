#pragma once
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
// below cap every kind of work.
namespace wmf {

struct Limits {
    int maxWidth = 4096; // larger pictures are not drawn at all
    int maxHeight = 4096;
    qint64 maxFileBytes = 64 * 1024 * 1024;
    int maxRecords = 1000000; // playback stops after this many records
    int maxObjects = 4096; // object table slots
    int maxSavedStates = 64; // SaveDC depth
    // Painting work, in units of about a nanosecond of a typical desktop
    // machine's time: every figure and every run of text is charged what
    // painting it is estimated to cost before it is painted, and playback
    // stops at the first one the budget cannot pay for. What was drawn until
    // then stays in the picture. The default is about half a second.
    qint64 paintBudget = 500000000;
    // Whatever the estimates say, no figure or glyph is started after this
    // many milliseconds of playing (0: no clock).
    qint64 paintMilliseconds = 800;
};

// How a picture was played, for those who want to know.
struct Report {
    int records = 0; // records played
    qint64 work = 0; // painting work spent, in the budget's units
    bool stoppedEarly = false; // the budget ran out before the end
    bool outOfTime = false; // ... because the clock ran out, not the estimates
    int aliasedFigures = 0; // fills and outlines too complex to antialias, drawn without
};

// The size the metafile is drawn at; an invalid size when the data is not a
// metafile that can be drawn within the default limits.
QSize naturalSize(const QByteArray &data);

// Renders the metafile at its natural size; a null image when the data is
// not a metafile that can be drawn.
QImage render(const QByteArray &data);
QImage render(const QByteArray &data, const Limits &limits, Report *report = nullptr);
} // namespace wmf
