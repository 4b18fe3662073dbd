#include "WmfParser.h"

#include <QVector>

#include <cmath>

namespace wmf::detail {

Layout readLayout(const Bytes &file, const Limits &limits)
{
    Layout layout;
    qint64 pos = 0;
    bool placeable = false;
    QRect bounds;
    int inch = 0;
    if (file.has(0, 4) && file.u32(0) == kPlaceableKey) {
        if (!file.has(0, kPlaceableSize))
            return layout;
        placeable = true;
        const int left = file.s16(6);
        const int top = file.s16(8);
        const int right = file.s16(10);
        const int bottom = file.s16(12);
        inch = file.u16(14);
        bounds = QRect(QPoint(left, top), QSize(right - left, bottom - top));
        pos = kPlaceableSize;
    }
    if (!file.has(pos, kHeaderSize))
        return layout;
    const quint16 type = file.u16(pos);
    const quint16 headerWords = file.u16(pos + 2);
    if ((type != MemoryMetafile && type != DiskMetafile) || headerWords != kHeaderSize / 2)
        return layout;
    layout.recordsStart = pos + kHeaderSize;

    if (placeable) {
        if (inch == 0 || bounds.width() <= 0 || bounds.height() <= 0)
            return layout;
        const double w = std::round(bounds.width() * kScreenDpi / inch);
        const double h = std::round(bounds.height() * kScreenDpi / inch);
        if (w > limits.maxWidth || h > limits.maxHeight)
            return layout;
        layout.size = QSize(qMax(1, int(w)), qMax(1, int(h)));
        layout.windowOrg = bounds.topLeft();
        layout.windowExt = QPoint(bounds.width(), bounds.height());
    } else {
        // The first window extent the file sets gives the size.
        bool found = false;
        walkRecords(file, layout.recordsStart, limits.maxRecords, [&](quint16 function, const Bytes &p) {
            if (function != SetWindowExt || !p.has(0, 4))
                return true;
            layout.windowExt = QPoint(p.s16(2), p.s16(0));
            found = true;
            return false;
        });
        const int w = std::abs(layout.windowExt.x());
        const int h = std::abs(layout.windowExt.y());
        if (!found || w == 0 || h == 0 || w > limits.maxWidth || h > limits.maxHeight)
            return layout;
        layout.size = QSize(w, h);
    }
    layout.ok = true;
    return layout;
}

QImage decodeDib(const Bytes &dib)
{
    constexpr int kMaxSide = 64;
    const quint32 headerSize = dib.u32(0);
    if (headerSize < 40 || !dib.has(0, headerSize))
        return QImage();
    const qint32 width = dib.s32(4);
    const qint32 rawHeight = dib.s32(8);
    const int bits = dib.u16(14);
    const quint32 compression = dib.u32(16);
    quint32 used = dib.u32(32);
    if (width <= 0 || width > kMaxSide || rawHeight == 0 || rawHeight < -kMaxSide || rawHeight > kMaxSide
        || compression != 0)
        return QImage();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return QImage();
    const int height = std::abs(rawHeight);
    const bool bottomUp = rawHeight > 0;
    QVector<QRgb> colors;
    qint64 pos = headerSize;
    if (bits <= 8) {
        const quint32 full = 1u << bits;
        if (used == 0 || used > full)
            used = full;
        if (!dib.has(pos, qint64(used) * 4))
            return QImage();
        for (quint32 i = 0; i < used; ++i, pos += 4)
            colors.append(qRgb(dib.u8(pos + 2), dib.u8(pos + 1), dib.u8(pos)));
    }
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    if (!dib.has(pos, stride * height))
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    for (int row = 0; row < height; ++row) {
        const qint64 rowStart = pos + stride * row;
        const int y = bottomUp ? height - 1 - row : row;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb rgb = 0;
            if (bits == 24) {
                const qint64 o = rowStart + qint64(x) * 3;
                rgb = qRgb(dib.u8(o + 2), dib.u8(o + 1), dib.u8(o));
            } else if (bits == 32) {
                const qint64 o = rowStart + qint64(x) * 4;
                rgb = qRgb(dib.u8(o + 2), dib.u8(o + 1), dib.u8(o));
            } else {
                const qint64 bitPos = qint64(x) * bits;
                const quint8 byte = dib.u8(rowStart + bitPos / 8);
                const int shift = 8 - bits - int(bitPos % 8);
                const int index = (byte >> shift) & ((1 << bits) - 1);
                rgb = index < colors.size() ? colors[index] : qRgb(0, 0, 0);
            }
            line[x] = rgb;
        }
    }
    return image;
}

} // namespace wmf::detail
