#pragma once
#include <QtGlobal>

// What the metafile reader may spend on one picture, and what it spent.
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

} // namespace wmf
