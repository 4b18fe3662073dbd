#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

// A small GIF89a writer: one frame, a 256-entry global colour table, an
// optional transparent colour, LZW-compressed image data.
namespace gif {

struct IndexedImage {
    int width = 0;
    int height = 0;
    QList<QRgb> palette; // at most 256 colours
    QByteArray indices; // width * height palette indices, row by row
    int transparentIndex = -1; // -1: no transparent colour
};

// Reduces an image to at most 256 colours. Pixels with alpha below 128 become
// the transparent colour; the others are blended over `matte` (the colour
// the picture is expected to stand on) and made opaque. Colours are chosen by
// median cut when there are more than fit.
IndexedImage quantize(const QImage &image, QRgb matte);

// The variable-length-code LZW stream of the image data, packed LSB first,
// without the block framing. `minCodeSize` is 2 to 8.
QByteArray lzwCompress(const QByteArray &indices, int minCodeSize);

// A complete GIF89a file.
QByteArray encode(const IndexedImage &image);

} // namespace gif
