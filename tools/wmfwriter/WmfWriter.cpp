#include "WmfWriter.h"

#include <QFile>
#include <QStringEncoder>
#include <QtEndian>

#include <limits>

namespace wmf {

namespace {

qint16 clamp16(int v)
{
    return qint16(qBound(int(std::numeric_limits<qint16>::min()), v, int(std::numeric_limits<qint16>::max())));
}

void put16(QByteArray &out, int v)
{
    const quint16 w = quint16(v);
    out.append(char(w & 0xFF));
    out.append(char(w >> 8));
}

void putS16(QByteArray &out, int v)
{
    put16(out, clamp16(v));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, int(v & 0xFFFF));
    put16(out, int(v >> 16));
}

void putColor(QByteArray &out, const QColor &c)
{
    out.append(char(c.red()));
    out.append(char(c.green()));
    out.append(char(c.blue()));
    out.append(char(0));
}

// The parameter words of a rectangle-bounded figure come bottom first.
void putEdges(QByteArray &out, int left, int top, int right, int bottom)
{
    putS16(out, bottom);
    putS16(out, right);
    putS16(out, top);
    putS16(out, left);
}

} // namespace

QByteArray Writer::toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

void Writer::setPlaceable(const QRect &bounds, int unitsPerInch)
{
    placeable_ = true;
    bounds_ = bounds;
    unitsPerInch_ = unitsPerInch;
}

void Writer::record(quint16 function, const QByteArray &params)
{
    QByteArray body = params;
    if (body.size() % 2)
        body.append(char(0));
    const quint32 words = kMinRecordWords + quint32(body.size() / 2);
    put32(records_, words);
    put16(records_, function);
    records_.append(body);
    maxRecordWords_ = qMax(maxRecordWords_, words);
}

void Writer::wordRecord(quint16 function, int value)
{
    QByteArray p;
    put16(p, value);
    record(function, p);
}

void Writer::pointRecord(quint16 function, int x, int y)
{
    QByteArray p;
    putS16(p, y);
    putS16(p, x);
    record(function, p);
}

void Writer::colorRecord(quint16 function, const QColor &c)
{
    QByteArray p;
    putColor(p, c);
    record(function, p);
}

void Writer::pointsRecord(quint16 function, const QPolygon &points)
{
    QByteArray p;
    put16(p, int(points.size()));
    for (const QPoint &pt : points) {
        putS16(p, pt.x());
        putS16(p, pt.y());
    }
    record(function, p);
}

void Writer::arcRecord(quint16 function, const QRect &bounds, int xs, int ys, int xe, int ye)
{
    QByteArray p;
    putS16(p, ye);
    putS16(p, xe);
    putS16(p, ys);
    putS16(p, xs);
    putEdges(p, bounds.x(), bounds.y(), bounds.x() + bounds.width(), bounds.y() + bounds.height());
    record(function, p);
}

int Writer::takeSlot()
{
    for (int i = 0; i < slots_.size(); ++i) {
        if (!slots_[i]) {
            slots_[i] = true;
            return i;
        }
    }
    slots_.append(true);
    tableSize_ = qMax(tableSize_, int(slots_.size()));
    return int(slots_.size()) - 1;
}

void Writer::deleteObject(int slot)
{
    if (slot >= 0 && slot < slots_.size())
        slots_[slot] = false;
    wordRecord(DeleteObject, slot);
}

int Writer::createPen(int style, int width, const QColor &color)
{
    QByteArray p;
    put16(p, style);
    putS16(p, width); // the pen's width is the x of a point; y is unused
    putS16(p, 0);
    putColor(p, color);
    record(CreatePenIndirect, p);
    return takeSlot();
}

int Writer::createBrush(int style, const QColor &color, int hatch)
{
    QByteArray p;
    put16(p, style);
    putColor(p, color);
    put16(p, hatch);
    record(CreateBrushIndirect, p);
    return takeSlot();
}

int Writer::createFont(const LogFont &font)
{
    QByteArray p;
    putS16(p, font.height);
    putS16(p, font.width);
    putS16(p, font.escapement);
    putS16(p, font.escapement); // orientation follows the escapement
    putS16(p, font.weight);
    p.append(char(font.italic ? 1 : 0));
    p.append(char(font.underline ? 1 : 0));
    p.append(char(font.strikeOut ? 1 : 0));
    p.append(char(font.charSet));
    p.append(char(0)); // output precision: default
    p.append(char(0)); // clipping precision: default
    p.append(char(0)); // quality: default
    p.append(char(0)); // pitch and family: default
    QByteArray face = toGbk(font.faceName).left(31);
    face.append(QByteArray(32 - face.size(), '\0'));
    p.append(face);
    record(CreateFontIndirect, p);
    return takeSlot();
}

int Writer::createPalette(const QVector<QRgb> &entries)
{
    QByteArray p;
    put16(p, 0x0300);
    put16(p, int(entries.size()));
    for (QRgb rgb : entries) {
        p.append(char(qRed(rgb)));
        p.append(char(qGreen(rgb)));
        p.append(char(qBlue(rgb)));
        p.append(char(0));
    }
    record(CreatePalette, p);
    return takeSlot();
}

int Writer::createDibPatternBrush(const QImage &pattern)
{
    const QImage img = pattern.convertToFormat(QImage::Format_RGB32);
    const int w = img.width();
    const int h = img.height();
    const int stride = (w * 3 + 3) & ~3;
    QByteArray p;
    put16(p, BsDibPattern);
    put16(p, DibRgbColors);
    put32(p, 40);
    put32(p, quint32(w));
    put32(p, quint32(h));
    put16(p, 1);
    put16(p, 24);
    put32(p, 0); // uncompressed
    put32(p, quint32(stride * h));
    put32(p, 0);
    put32(p, 0);
    put32(p, 0);
    put32(p, 0);
    for (int y = h - 1; y >= 0; --y) { // rows run bottom-up
        QByteArray row;
        for (int x = 0; x < w; ++x) {
            const QRgb rgb = img.pixel(x, y);
            row.append(char(qBlue(rgb)));
            row.append(char(qGreen(rgb)));
            row.append(char(qRed(rgb)));
        }
        row.append(QByteArray(stride - row.size(), '\0'));
        p.append(row);
    }
    record(DibCreatePatternBrush, p);
    return takeSlot();
}

void Writer::polyPolygon(const QVector<QPolygon> &polygons)
{
    QByteArray p;
    put16(p, int(polygons.size()));
    for (const QPolygon &poly : polygons)
        put16(p, int(poly.size()));
    for (const QPolygon &poly : polygons) {
        for (const QPoint &pt : poly) {
            putS16(p, pt.x());
            putS16(p, pt.y());
        }
    }
    record(PolyPolygon, p);
}

void Writer::rectangle(int left, int top, int right, int bottom)
{
    QByteArray p;
    putEdges(p, left, top, right, bottom);
    record(Rectangle, p);
}

void Writer::roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    QByteArray p;
    putS16(p, cornerHeight);
    putS16(p, cornerWidth);
    putEdges(p, left, top, right, bottom);
    record(RoundRect, p);
}

void Writer::ellipse(int left, int top, int right, int bottom)
{
    QByteArray p;
    putEdges(p, left, top, right, bottom);
    record(Ellipse, p);
}

void Writer::textOut(int x, int y, const QString &text)
{
    const QByteArray bytes = toGbk(text);
    QByteArray p;
    put16(p, int(bytes.size()));
    p.append(bytes);
    if (p.size() % 2)
        p.append(char(0));
    putS16(p, y);
    putS16(p, x);
    record(TextOut, p);
}

void Writer::extTextOut(int x, int y, int options, const QRect &rect, const QString &text, const QVector<int> &advances)
{
    const QByteArray bytes = toGbk(text);
    QByteArray p;
    putS16(p, y);
    putS16(p, x);
    put16(p, int(bytes.size()));
    put16(p, options);
    if (options & (EtoOpaque | EtoClipped)) {
        putS16(p, rect.x());
        putS16(p, rect.y());
        putS16(p, rect.x() + rect.width());
        putS16(p, rect.y() + rect.height());
    }
    p.append(bytes);
    if (p.size() % 2)
        p.append(char(0));
    for (int a : advances)
        putS16(p, a);
    record(ExtTextOut, p);
}

QByteArray Writer::data() const
{
    QByteArray eof;
    put32(eof, kMinRecordWords);
    put16(eof, EofRecord);

    QByteArray out;
    if (placeable_) {
        QByteArray head;
        put32(head, kPlaceableKey);
        put16(head, 0); // handle, always zero in a file
        putS16(head, bounds_.x());
        putS16(head, bounds_.y());
        putS16(head, bounds_.x() + bounds_.width());
        putS16(head, bounds_.y() + bounds_.height());
        put16(head, unitsPerInch_);
        put32(head, 0);
        quint16 sum = 0;
        for (int i = 0; i < head.size(); i += 2)
            sum ^= qFromLittleEndian<quint16>(head.constData() + i);
        put16(head, sum);
        out.append(head);
    }
    const quint32 totalWords = 9 + quint32((records_.size() + eof.size()) / 2);
    put16(out, MemoryMetafile); // the usual type, also on disk
    put16(out, kHeaderSize / 2); // header size in words
    put16(out, 0x0300); // version
    put32(out, totalWords);
    put16(out, tableSize_);
    put32(out, maxRecordWords_);
    put16(out, 0);
    out.append(records_);
    out.append(eof);
    return out;
}

bool Writer::save(const QString &path) const
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = data();
    return f.write(bytes) == bytes.size() && f.flush();
}

} // namespace wmf
