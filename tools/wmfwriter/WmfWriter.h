#pragma once
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
namespace wmf {

// Record function numbers (the low byte names the record, the high byte is
// the parameter size hint the format carries along).
enum Function : quint16 {
    EofRecord = 0x0000,
    SaveDc = 0x001E,
    RealizePalette = 0x0035,
    SetPalEntries = 0x0037,
    CreatePalette = 0x00F7,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetRelAbs = 0x0105,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    SetTextCharExtra = 0x0108,
    RestoreDc = 0x0127,
    InvertRegion = 0x012A,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    ResizePalette = 0x0139,
    DibCreatePatternBrush = 0x0142,
    SetLayout = 0x0149,
    DeleteObject = 0x01F0,
    CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetTextJustification = 0x020A,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    OffsetViewportOrg = 0x0211,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRgn = 0x0220,
    FillRegion = 0x0228,
    SetMapperFlags = 0x0231,
    SelectPalette = 0x0234,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ScaleViewportExt = 0x0412,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    FloodFill = 0x0419,
    Rectangle = 0x041B,
    SetPixel = 0x041F,
    FrameRegion = 0x0429,
    AnimatePalette = 0x0436,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    ExtFloodFill = 0x0548,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    Escape = 0x0626,
    CreateRegion = 0x06FF,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    BitBlt = 0x0922,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    StretchBlt = 0x0B23,
    DibStretchBlt = 0x0B41,
    SetDibToDev = 0x0D33,
    StretchDib = 0x0F43,
};

// Mapping modes.
enum MapMode { MmText = 1, MmLoMetric, MmHiMetric, MmLoEnglish, MmHiEnglish, MmTwips, MmIsotropic, MmAnisotropic };
// Background modes.
enum BkMode { Transparent = 1, Opaque = 2 };
// Polygon fill modes.
enum PolyFillMode { Alternate = 1, Winding = 2 };
// Pen styles (the low nibble of a pen's style word).
enum PenStyle { PsSolid = 0, PsDash, PsDot, PsDashDot, PsDashDotDot, PsNull, PsInsideFrame };
// Brush styles and hatches.
enum BrushStyle { BsSolid = 0, BsNull = 1, BsHatched = 2 };
enum Hatch { HsHorizontal = 0, HsVertical, HsFDiagonal, HsBDiagonal, HsCross, HsDiagCross };
// Text alignment flags.
enum TextAlign {
    TaLeft = 0, TaTop = 0, TaUpdateCp = 1, TaRight = 2, TaCenter = 6,
    TaBottom = 8, TaBaseline = 24,
};
// ExtTextOut options.
enum ExtTextOutOption { EtoOpaque = 0x0002, EtoClipped = 0x0004 };

// The fields of a logical font the writer fills in.
struct LogFont {
    int height = 0;       // negative: character height; positive: cell height
    int width = 0;
    int escapement = 0;   // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 134;    // GB2312_CHARSET
    QString faceName;     // written in GBK, at most 31 bytes
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
