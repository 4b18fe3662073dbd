#pragma once
#include "platform/Errors.h"

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

class QPainter;

// Loads a picture file: GIF and JPEG through Qt's image readers, Windows
// metafiles (.wmf) through our own reader, drawn at their natural size.
//
// Files are read through the checked loader (regular files only, with a
// size cap) and decoded from memory. Pictures larger than kMaxWidth by
// kMaxHeight are refused before they are decoded. A file that failed to
// load is not read again for kFailureMemoMs unless it changes meanwhile,
// so callers that retry at every tick cost next to nothing.
namespace pictures {

constexpr int kMaxWidth = 4096;
constexpr int kMaxHeight = 4096;
constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
// Decoders may allocate at most this much (QImageReader's limit, in MB):
// room for the largest picture at 64 bits a pixel.
constexpr int kAllocationLimitMb = 128;
constexpr int kFailureMemoMs = 1000;

bool load(const QString &path, QPixmap *out, errors::Failure *failure = nullptr);
bool loadImage(const QString &path, QImage *out, errors::Failure *failure = nullptr);

// As load(), for a picture that several windows show (the globe behind the
// home panel, the divination window and the About box): the first picture
// decoded from `path` is kept for the rest of the run, and every later call
// shares it without reading the file again.
bool loadShared(const QString &path, QPixmap *out, errors::Failure *failure = nullptr);

// The globe behind the home panel, the divination window and the About box,
// shared as loadShared() shares it; false when it does not load.
bool loadGlobe(QPixmap *out);
// Paints a window's background picture at its own size from the top-left
// corner of the window; a null picture paints nothing.
void paintBackground(QPainter &painter, const QPixmap &picture);

// Decodes the bytes of a picture file within the limits above. A failure is
// InvalidPicture (not a picture) or OutOfMemory (too large to draw).
bool decode(const QByteArray &bytes, bool metafile, QImage *out, errors::Failure *failure = nullptr);

} // namespace pictures
