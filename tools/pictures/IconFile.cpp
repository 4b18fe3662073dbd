#include "IconFile.h"

#include <QBuffer>

namespace iconfile {

namespace {

void putU16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void putU32(QByteArray &out, quint32 v)
{
    putU16(out, quint16(v & 0xffff));
    putU16(out, quint16(v >> 16));
}

QByteArray bitmapEntry(const QImage &source)
{
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    QByteArray out;
    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
    putU32(out, 40);
    putU32(out, quint32(w));
    putU32(out, quint32(2 * h));
    putU16(out, 1);
    putU16(out, 32);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(row[x])));
            out.append(char(qGreen(row[x])));
            out.append(char(qRed(row[x])));
            out.append(char(qAlpha(row[x])));
        }
    }
    // The AND mask, one bit a pixel, rows padded to 32 bits: set where clear.
    const int stride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        QByteArray bits(stride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) < 128)
                bits[x / 8] = char(quint8(bits[x / 8]) | (0x80 >> (x % 8)));
        out.append(bits);
    }
    return out;
}

QByteArray pngEntry(const QImage &img)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return data;
}

} // namespace

QByteArray encode(const QList<QImage> &images)
{
    QList<QByteArray> entries;
    for (const QImage &img : images)
        entries.append(img.width() >= 256 ? pngEntry(img) : bitmapEntry(img));

    QByteArray out;
    putU16(out, 0);
    putU16(out, 1); // icon
    putU16(out, quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const QImage &img = images[i];
        out.append(char(img.width() >= 256 ? 0 : img.width()));
        out.append(char(img.height() >= 256 ? 0 : img.height()));
        out.append(char(0)); // no palette
        out.append(char(0));
        putU16(out, 1); // planes
        putU16(out, 32); // bits a pixel
        putU32(out, quint32(entries[i].size()));
        putU32(out, offset);
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &e : entries)
        out.append(e);
    return out;
}

} // namespace iconfile
