#pragma once
#include "WmfLimits.h"
#include "WmfRecords.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>

// Reading the bytes of a metafile: the headers, the records one by one and
// the bitmaps some records carry. Nothing here reads outside the data it is
// given.
namespace wmf::detail {

// Little-endian reads inside one byte range; anything outside reads as 0,
// and has() tells the caller whether a field is really there.
class Bytes
{
public:
    Bytes(const uchar *data, qint64 size) : data_(data), size_(size) { }
    static Bytes of(const QByteArray &data)
    {
        return Bytes(reinterpret_cast<const uchar *>(data.constData()), data.size());
    }
    qint64 size() const { return size_; }
    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    quint8 u8(qint64 offset) const { return has(offset, 1) ? data_[offset] : 0; }
    quint16 u16(qint64 offset) const { return has(offset, 2) ? quint16(data_[offset] | (data_[offset + 1] << 8)) : 0; }
    int s16(qint64 offset) const { return qint16(u16(offset)); }
    quint32 u32(qint64 offset) const { return u16(offset) | (quint32(u16(offset + 2)) << 16); }
    qint32 s32(qint64 offset) const { return qint32(u32(offset)); }
    QByteArray bytes(qint64 offset, qint64 length) const
    {
        if (!has(offset, length))
            return QByteArray();
        return QByteArray(reinterpret_cast<const char *>(data_ + offset), length);
    }
    Bytes sub(qint64 offset, qint64 length) const
    {
        if (!has(offset, length))
            return Bytes(data_, 0);
        return Bytes(data_ + offset, length);
    }

private:
    const uchar *data_;
    qint64 size_;
};

// Where the records start and how large the picture is drawn.
struct Layout {
    bool ok = false;
    qint64 recordsStart = 0;
    QSize size;
    QPoint windowOrg;
    QPoint windowExt;
};

// Reads the headers (and, without the placeable header, looks for the
// first window extent); layout.ok is false when the data is not a metafile
// that can be drawn within the limits.
Layout readLayout(const Bytes &file, const Limits &limits);

// Walks the records from `start`: visit(function, parameters) is called for
// each record and returns false to stop. Stops at the end record, at a
// record whose size is impossible and after maxRecords records.
template<typename Visit>
void walkRecords(const Bytes &file, qint64 start, int maxRecords, Visit &&visit)
{
    qint64 pos = start;
    for (int n = 0; n < maxRecords && file.has(pos, kRecordHeaderSize); ++n) {
        const quint32 words = file.u32(pos);
        const quint16 function = file.u16(pos + 4);
        if (words < kMinRecordWords || qint64(words) > (file.size() - pos) / 2)
            return;
        if (function == EofRecord)
            return;
        const qint64 bytes = qint64(words) * 2;
        if (!visit(function, file.sub(pos + kRecordHeaderSize, bytes - kRecordHeaderSize)))
            return;
        pos += bytes;
    }
}

// A pattern brush's picture from a packed device-independent bitmap:
// uncompressed, 1, 4, 8, 24 or 32 bits a pixel, at most 64 pixels a side
// (patterns are usually 8 x 8). A null image for anything else.
QImage decodeDib(const Bytes &dib);

} // namespace wmf::detail
