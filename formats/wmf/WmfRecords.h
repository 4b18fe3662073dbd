#pragma once
#include <QtGlobal>

// The numbers of the 16-bit Windows metafile format, shared by the reader
// and the writer: record functions, the values their parameters take and
// the fixed sizes of the headers.
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

// The placeable header that may come first: its key and size in bytes.
constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableSize = 22;
// The metafile header: its size in bytes (nine 16-bit words) and the two
// file types.
constexpr int kHeaderSize = 18;
enum FileType { MemoryMetafile = 1, DiskMetafile = 2 };
// Every record starts with its size in words (32 bits) and its function
// (16 bits); the smallest record is these three words.
constexpr int kRecordHeaderSize = 6;
constexpr int kMinRecordWords = 3;
// Logical inches are drawn at this many pixels.
constexpr double kScreenDpi = 96.0;

// Mapping modes.
enum MapMode { MmText = 1, MmLoMetric, MmHiMetric, MmLoEnglish, MmHiEnglish, MmTwips, MmIsotropic, MmAnisotropic };
// Background modes.
enum BkMode { Transparent = 1, Opaque = 2 };
// Polygon fill modes.
enum PolyFillMode { Alternate = 1, Winding = 2 };
// Pen styles: the low nibble of a pen's style word; the end cap and the
// join are the next nibbles.
enum PenStyle { PsSolid = 0, PsDash, PsDot, PsDashDot, PsDashDotDot, PsNull, PsInsideFrame };
enum PenStyleMask { PsStyleMask = 0x000F, PsEndCapMask = 0x0F00, PsJoinMask = 0xF000 };
enum PenEndCap { PsEndCapRound = 0x0000, PsEndCapSquare = 0x0100, PsEndCapFlat = 0x0200 };
enum PenJoin { PsJoinRound = 0x0000, PsJoinBevel = 0x1000, PsJoinMiter = 0x2000 };
// Brush styles and hatches.
enum BrushStyle { BsSolid = 0, BsNull = 1, BsHatched = 2, BsPattern = 3, BsDibPattern = 5 };
enum Hatch { HsHorizontal = 0, HsVertical, HsFDiagonal, HsBDiagonal, HsCross, HsDiagCross };
// The colour word of a DIB pattern brush: colours given as RGB values.
enum DibColors { DibRgbColors = 0 };
// Text alignment flags.
enum TextAlign {
    TaLeft = 0,
    TaTop = 0,
    TaUpdateCp = 1,
    TaRight = 2,
    TaCenter = 6,
    TaBottom = 8,
    TaBaseline = 24,
    TaHorizontalMask = 6,
    TaVerticalMask = 24,
};
// ExtTextOut options.
enum ExtTextOutOption { EtoOpaque = 0x0002, EtoClipped = 0x0004 };

} // namespace wmf
