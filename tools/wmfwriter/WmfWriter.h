#pragma once
#include "formats/wmf/WmfRecords.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QVector>

// A small writer of 16-bit Windows metafiles, for the pictures the program
// ships and for the reader's tests. It keeps the same object table as a
// player does, so create* returns the slot a player will give the object.
// The record functions and the values of their parameters are the reader's
// (formats/wmf/WmfRecords.h).
namespace wmf {

// The fields of a logical font the writer fills in.
struct LogFont {
    int height = 0; // negative: character height; positive: cell height
    int width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 134; // GB2312_CHARSET
    QString faceName; // written in GBK, at most 31 bytes
};

class Writer
{
public:
    Writer() = default;

    // Adds the 22-byte placeable header: the picture's bounds in logical
    // units and how many of those make an inch.
    void setPlaceable(const QRect &bounds, int unitsPerInch);

    void setWindowOrg(int x, int y) { pointRecord(SetWindowOrg, x, y); }
    void setWindowExt(int x, int y) { pointRecord(SetWindowExt, x, y); }
    void setViewportOrg(int x, int y) { pointRecord(SetViewportOrg, x, y); }
    void setViewportExt(int x, int y) { pointRecord(SetViewportExt, x, y); }
    void setMapMode(int mode) { wordRecord(SetMapMode, mode); }
    void setBkColor(const QColor &c) { colorRecord(SetBkColor, c); }
    void setBkMode(int mode) { wordRecord(SetBkMode, mode); }
    void setTextColor(const QColor &c) { colorRecord(SetTextColor, c); }
    void setTextAlign(int flags) { wordRecord(SetTextAlign, flags); }
    void setPolyFillMode(int mode) { wordRecord(SetPolyFillMode, mode); }

    // Each returns the object table slot the new object takes.
    int createPen(int style, int width, const QColor &color);
    int createBrush(int style, const QColor &color, int hatch = 0);
    int createFont(const LogFont &font);
    int createPalette(const QVector<QRgb> &entries);
    // A pattern brush from a small 24-bit device-independent bitmap.
    int createDibPatternBrush(const QImage &pattern);
    void selectObject(int slot) { wordRecord(SelectObject, slot); }
    void deleteObject(int slot);

    void saveDc() { record(SaveDc, {}); }
    void restoreDc(int which) { wordRecord(RestoreDc, which); }

    void moveTo(int x, int y) { pointRecord(MoveTo, x, y); }
    void lineTo(int x, int y) { pointRecord(LineTo, x, y); }
    void polyline(const QPolygon &points) { pointsRecord(Polyline, points); }
    void polygon(const QPolygon &points) { pointsRecord(Polygon, points); }
    void polyPolygon(const QVector<QPolygon> &polygons);
    // Rectangles are given by their edges, the right and bottom edges
    // excluded from the figure as usual for metafiles.
    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void ellipse(int left, int top, int right, int bottom);
    // Arcs run counter-clockwise from the ray through (xStart, yStart) to
    // the ray through (xEnd, yEnd), both from the centre of the bounds. A
    // QRect here is written as its edges x, y, x + width, y + height.
    void arc(const QRect &bounds, int xStart, int yStart, int xEnd, int yEnd)
    {
        arcRecord(Arc, bounds, xStart, yStart, xEnd, yEnd);
    }
    void pie(const QRect &bounds, int xStart, int yStart, int xEnd, int yEnd)
    {
        arcRecord(Pie, bounds, xStart, yStart, xEnd, yEnd);
    }
    void chord(const QRect &bounds, int xStart, int yStart, int xEnd, int yEnd)
    {
        arcRecord(Chord, bounds, xStart, yStart, xEnd, yEnd);
    }
    // Text is written in GBK.
    void textOut(int x, int y, const QString &text);
    // With options holding EtoOpaque or EtoClipped the rectangle is written
    // too (left, top, right, bottom); advances, when given, one per byte.
    void extTextOut(int x, int y, int options, const QRect &rect, const QString &text,
                    const QVector<int> &advances = {});

    // Any record, for what the helpers above do not cover. The parameter
    // bytes are padded to a whole number of 16-bit words.
    void record(quint16 function, const QByteArray &params);

    // The finished metafile, ending with the end-of-file record.
    QByteArray data() const;
    bool save(const QString &path) const;

    static QByteArray toGbk(const QString &text);

private:
    void wordRecord(quint16 function, int value);
    void pointRecord(quint16 function, int x, int y);
    void colorRecord(quint16 function, const QColor &c);
    void pointsRecord(quint16 function, const QPolygon &points);
    void arcRecord(quint16 function, const QRect &bounds, int xs, int ys, int xe, int ye);
    int takeSlot();

    QByteArray records_;
    quint32 maxRecordWords_ = 3;
    bool placeable_ = false;
    QRect bounds_;
    int unitsPerInch_ = 1440;
    QVector<bool> slots_;
    int tableSize_ = 0;
};

} // namespace wmf
