#pragma once
// What the metafile reader tests share: plain pictures made with the writer,
// colour checks on the rendered image, and hand-made records for files the
// writer would never produce.
#include "formats/wmf/Wmf.h"
#include "tools/wmfwriter/WmfWriter.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <initializer_list>

namespace wmftest {

inline const QColor kRed(220, 0, 0);
inline const QColor kGreen(0, 180, 0);
inline const QColor kBlue(0, 0, 220);
inline const QColor kYellow(240, 220, 0);

// A plain picture: width x height pixels through the window extent.
inline wmf::Writer plain(int width, int height)
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(width, height);
    return w;
}

// Fills with the colour and no outline from here on.
inline void solidFill(wmf::Writer &w, const QColor &c)
{
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    w.selectObject(w.createBrush(wmf::BsSolid, c));
}

inline bool sameColor(const QImage &img, const QPoint &p, const QColor &want)
{
    if (!img.rect().contains(p))
        return false;
    const QColor got = img.pixelColor(p);
    return got.alpha() == 255 && qAbs(got.red() - want.red()) <= 8 && qAbs(got.green() - want.green()) <= 8
        && qAbs(got.blue() - want.blue()) <= 8;
}

inline bool isEmptyAt(const QImage &img, const QPoint &p)
{
    return img.rect().contains(p) && img.pixelColor(p).alpha() == 0;
}

inline QString describe(const QImage &img, const QPoint &p)
{
    if (!img.rect().contains(p))
        return QStringLiteral("outside");
    const QColor c = img.pixelColor(p);
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

// The box around every pixel that is not transparent.
inline QRect inkBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 64)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Hand-made pieces for damaged files.
inline void put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

inline void put32(QByteArray &b, quint32 v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

inline QByteArray header(quint32 totalWords = 0)
{
    QByteArray b;
    put16(b, 1);
    put16(b, 9);
    put16(b, 0x0300);
    put32(b, totalWords);
    put16(b, 0);
    put32(b, 0);
    put16(b, 0);
    return b;
}

inline QByteArray placeable(int left, int top, int right, int bottom, int inch)
{
    QByteArray b;
    put32(b, 0x9AC6CDD7u);
    put16(b, 0);
    put16(b, left);
    put16(b, top);
    put16(b, right);
    put16(b, bottom);
    put16(b, inch);
    put32(b, 0);
    put16(b, 0);
    return b;
}

// A record with whatever size word the test wants.
inline QByteArray rawRecord(quint32 words, quint16 function, const QByteArray &params = {})
{
    QByteArray b;
    put32(b, words);
    put16(b, function);
    return b + params;
}

inline QByteArray record(quint16 function, const QByteArray &params = {})
{
    QByteArray p = params;
    if (p.size() % 2)
        p.append('\0');
    return rawRecord(quint32(3 + p.size() / 2), function, p);
}

inline QByteArray words(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        put16(b, v);
    return b;
}

inline QByteArray eof()
{
    return rawRecord(3, 0);
}

inline QByteArray windowOf(int w, int h)
{
    return record(wmf::SetWindowExt, words({h, w}));
}

} // namespace wmftest
