#include "Wmf.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStringDecoder>
#include <QVector>
#include <QtMath>

#include <cmath>
#include <functional>
#include <queue>
#include <vector>

namespace wmf {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderSize = 18;
constexpr double kScreenDpi = 96.0;

// Record functions the player acts on.
enum : quint16 {
    RecEof = 0x0000,
    RecSaveDc = 0x001E,
    RecCreatePalette = 0x00F7,
    RecSetBkMode = 0x0102,
    RecSetMapMode = 0x0103,
    RecSetPolyFillMode = 0x0106,
    RecRestoreDc = 0x0127,
    RecSelectObject = 0x012D,
    RecSetTextAlign = 0x012E,
    RecDibCreatePatternBrush = 0x0142,
    RecDeleteObject = 0x01F0,
    RecCreatePatternBrush = 0x01F9,
    RecSetBkColor = 0x0201,
    RecSetTextColor = 0x0209,
    RecSetWindowOrg = 0x020B,
    RecSetWindowExt = 0x020C,
    RecSetViewportOrg = 0x020D,
    RecSetViewportExt = 0x020E,
    RecLineTo = 0x0213,
    RecMoveTo = 0x0214,
    RecCreatePenIndirect = 0x02FA,
    RecCreateFontIndirect = 0x02FB,
    RecCreateBrushIndirect = 0x02FC,
    RecPolygon = 0x0324,
    RecPolyline = 0x0325,
    RecEllipse = 0x0418,
    RecRectangle = 0x041B,
    RecTextOut = 0x0521,
    RecPolyPolygon = 0x0538,
    RecRoundRect = 0x061C,
    RecCreateRegion = 0x06FF,
    RecArc = 0x0817,
    RecPie = 0x081A,
    RecChord = 0x0830,
    RecExtTextOut = 0x0A32,
};

enum MapModes { MmText = 1, MmLoMetric, MmHiMetric, MmLoEnglish, MmHiEnglish, MmTwips,
                MmIsotropic, MmAnisotropic };
enum { BkTransparent = 1, BkOpaque = 2 };
enum { FillAlternate = 1, FillWinding = 2 };
enum { PsSolid = 0, PsDash, PsDot, PsDashDot, PsDashDotDot, PsNull, PsInsideFrame };
enum { BsSolid = 0, BsNull = 1, BsHatched = 2 };
enum { TaUpdateCp = 1, TaHorizontalMask = 6, TaRight = 2, TaCenter = 6,
       TaVerticalMask = 24, TaBottom = 8, TaBaseline = 24 };
enum { EtoOpaque = 0x0002, EtoClipped = 0x0004 };

// Little-endian reads inside one byte range; anything outside reads as 0,
// and has() tells the caller whether a field is really there.
class Bytes
{
public:
    Bytes(const uchar *data, qint64 size) : data_(data), size_(size) {}
    qint64 size() const { return size_; }
    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    quint8 u8(qint64 offset) const { return has(offset, 1) ? data_[offset] : 0; }
    quint16 u16(qint64 offset) const
    {
        return has(offset, 2) ? quint16(data_[offset] | (data_[offset + 1] << 8)) : 0;
    }
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

QColor colorAt(const Bytes &b, qint64 offset)
{
    return QColor(b.u8(offset), b.u8(offset + 1), b.u8(offset + 2));
}

// Text and face names are GBK; bytes that are not valid GBK are taken as
// Latin-1.
bool decodeGbk(const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString decodeText(const QByteArray &bytes)
{
    QString text;
    if (decodeGbk(bytes, &text))
        return text;
    return QString::fromLatin1(bytes);
}

// Splits GBK bytes into characters: a lead byte 0x81-0xFE and a trail byte
// 0x40-0xFE (not 0x7F) make one character, any other byte stands alone.
QVector<int> gbkCharacterLengths(const QByteArray &bytes)
{
    QVector<int> lengths;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes[i]);
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) {
            const uchar trail = uchar(bytes[i + 1]);
            if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
                lengths.append(2);
                i += 2;
                continue;
            }
        }
        lengths.append(1);
        ++i;
    }
    return lengths;
}

struct PenData {
    int style = PsSolid;
    int width = 0; // logical units; 0 is one pixel whatever the mapping
    QColor color = Qt::black;
};

struct BrushData {
    int style = BsSolid;
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern; // for pattern brushes
    bool isPattern = false;
};

struct FontData {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

struct Object {
    enum Kind { Empty, Pen, Brush, Font, Palette, Region };
    Kind kind = Empty;
    PenData pen;
    BrushData brush;
    FontData font;
};

struct State {
    PenData pen;
    BrushData brush;
    FontData font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = BkOpaque;
    int textAlign = 0;
    int polyFillMode = FillAlternate;
    int mapMode = MmAnisotropic;
    QPoint windowOrg;
    QPoint windowExt{1, 1};
    QPoint viewportOrg;
    QPoint viewportExt{1, 1};
    QPoint current;
};

// Where the records start and how large the picture is drawn.
struct Layout {
    bool ok = false;
    qint64 recordsStart = 0;
    QSize size;
    QPoint windowOrg;
    QPoint windowExt;
};

// Walks the records of the file; the callback gets the function and the
// parameter bytes and returns false to stop. Stops at the end record, at a
// record whose size is impossible and after maxRecords records.
void walkRecords(const Bytes &file, qint64 start, int maxRecords,
                 const std::function<bool(quint16, const Bytes &)> &visit)
{
    qint64 pos = start;
    for (int n = 0; n < maxRecords && file.has(pos, 6); ++n) {
        const quint32 words = file.u32(pos);
        const quint16 function = file.u16(pos + 4);
        if (words < 3 || qint64(words) > (file.size() - pos) / 2)
            return;
        if (function == RecEof)
            return;
        const qint64 bytes = qint64(words) * 2;
        if (!visit(function, file.sub(pos + 6, bytes - 6)))
            return;
        pos += bytes;
    }
}

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
    if ((type != 1 && type != 2) || headerWords != kHeaderSize / 2)
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
        walkRecords(file, layout.recordsStart, limits.maxRecords,
                    [&](quint16 function, const Bytes &p) {
                        if (function != RecSetWindowExt || !p.has(0, 4))
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

// A pattern brush's picture from a packed device-independent bitmap:
// uncompressed, 1, 4, 8, 24 or 32 bits a pixel, small (patterns are
// usually 8 x 8).
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
    if (width <= 0 || width > kMaxSide || rawHeight == 0 || rawHeight < -kMaxSide
        || rawHeight > kMaxSide || compression != 0)
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

class Player
{
public:
    Player(const Layout &layout, const Limits &limits, QImage *image)
        : limits_(limits), image_(image), painter_(image),
          canDrawText_(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr),
          budget_(limits.paintBudget)
    {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        state_.windowOrg = layout.windowOrg;
        state_.windowExt = layout.windowExt;
        state_.viewportOrg = QPoint(0, 0);
        state_.viewportExt = QPoint(layout.size.width(), layout.size.height());
    }

    // Plays one record; false stops playback.
    bool play(quint16 function, const Bytes &p);

private:
    // Mapping from logical units to the image's pixels.
    void scales(double *sx, double *sy) const;
    QPointF toDevice(int x, int y) const;
    double deviceFontHeight(int logicalHeight) const;

    // Work accounting: true when the figure may still be drawn.
    bool charge(const QRectF &deviceBounds, qint64 points, double penWidth, qint64 base = 256);

    QPen currentPen(double extent) const;
    QBrush currentBrush() const;
    void prepareBackground();
    bool hasPen() const { return (state_.pen.style & 0x0F) != PsNull; }
    bool hasBrush() const { return state_.brush.style != BsNull || state_.brush.isPattern; }
    double penWidth() const;

    int addObject(const Object &object);
    void selectObject(int index);
    void deleteObject(int index);
    void restoreDc(int which);

    bool drawPolyline(const QVector<QPointF> &points);
    bool fillAndStroke(const QPainterPath &fill, const QPainterPath &stroke, const QRectF &bounds,
                       qint64 points);
    bool drawBoxFigure(quint16 function, const Bytes &p);
    bool drawText(int x, int y, const QByteArray &bytes, int options, const QRectF &rect,
                  const QVector<int> &advances);

    static QPainterPath shifted(const QPainterPath &path)
    {
        return path.translated(0.5, 0.5);
    }

    const Limits &limits_;
    QImage *image_;
    QPainter painter_;
    bool canDrawText_;
    qint64 budget_;
    qint64 patternPixelsLeft_ = 1 << 20;
    State state_;
    std::vector<State> saved_;
    std::vector<Object> objects_;
    // Free slots below objects_.size(), smallest first.
    std::priority_queue<int, std::vector<int>, std::greater<int>> freeSlots_;
};

void Player::scales(double *sx, double *sy) const
{
    switch (state_.mapMode) {
    case MmText:
        *sx = *sy = 1.0;
        return;
    case MmLoMetric:
        *sx = kScreenDpi / 254.0;
        break;
    case MmHiMetric:
        *sx = kScreenDpi / 2540.0;
        break;
    case MmLoEnglish:
        *sx = kScreenDpi / 100.0;
        break;
    case MmHiEnglish:
        *sx = kScreenDpi / 1000.0;
        break;
    case MmTwips:
        *sx = kScreenDpi / 1440.0;
        break;
    default: {
        // Extents are never zero: records that would set a zero extent are
        // ignored.
        *sx = double(state_.viewportExt.x()) / state_.windowExt.x();
        *sy = double(state_.viewportExt.y()) / state_.windowExt.y();
        if (state_.mapMode == MmIsotropic) {
            const double m = qMin(std::abs(*sx), std::abs(*sy));
            *sx = std::copysign(m, *sx);
            *sy = std::copysign(m, *sy);
        }
        return;
    }
    }
    // The metric and English modes run y upwards.
    *sy = -*sx;
}

QPointF Player::toDevice(int x, int y) const
{
    double sx, sy;
    scales(&sx, &sy);
    return QPointF((x - state_.windowOrg.x()) * sx + state_.viewportOrg.x(),
                   (y - state_.windowOrg.y()) * sy + state_.viewportOrg.y());
}

double Player::deviceFontHeight(int logicalHeight) const
{
    double sx, sy;
    scales(&sx, &sy);
    return std::abs(logicalHeight * sy);
}

bool Player::charge(const QRectF &deviceBounds, qint64 points, double penWidth, qint64 base)
{
    const double grow = penWidth + 2;
    const QRectF area = deviceBounds.normalized()
                            .adjusted(-grow, -grow, grow, grow)
                            .intersected(QRectF(image_->rect()));
    qint64 cost = base + points;
    if (!area.isEmpty()) {
        const qint64 w = qint64(std::ceil(area.width())) + 1;
        const qint64 h = qint64(std::ceil(area.height())) + 1;
        cost += w * h + points * h;
    }
    budget_ -= cost;
    return budget_ >= 0;
}

double Player::penWidth() const
{
    if (!hasPen())
        return 0;
    double sx, sy;
    scales(&sx, &sy);
    const double limit = 2.0 * (image_->width() + image_->height());
    return qBound(1.0, std::abs(state_.pen.width * sx), limit);
}

QPen Player::currentPen(double extent) const
{
    if (!hasPen())
        return QPen(Qt::NoPen);
    const double width = penWidth();
    QPen pen(state_.pen.color, width);
    // Broken lines exist only for thin pens; a very long broken line is
    // drawn whole rather than as countless dashes.
    const bool thin = width <= 1.0;
    const bool reasonable = extent <= 4.0 * (image_->width() + image_->height());
    if (thin && reasonable) {
        switch (state_.pen.style & 0x0F) {
        case PsDash: pen.setStyle(Qt::DashLine); break;
        case PsDot: pen.setStyle(Qt::DotLine); break;
        case PsDashDot: pen.setStyle(Qt::DashDotLine); break;
        case PsDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
        default: break;
        }
    }
    switch (state_.pen.style & 0x0F00) {
    case 0x0100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x0200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (state_.pen.style & 0xF000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush Player::currentBrush() const
{
    const BrushData &b = state_.brush;
    if (b.isPattern) {
        if (!b.pattern.isNull())
            return QBrush(b.pattern);
        return QBrush(Qt::black, Qt::Dense4Pattern);
    }
    switch (b.style) {
    case BsNull:
        return QBrush(Qt::NoBrush);
    case BsHatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        if (b.hatch >= 0 && b.hatch < 6)
            return QBrush(b.color, hatches[b.hatch]);
        return QBrush(b.color);
    }
    default:
        return QBrush(b.color);
    }
}

void Player::prepareBackground()
{
    painter_.setBackgroundMode(state_.bkMode == BkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(QBrush(state_.bkColor));
}

int Player::addObject(const Object &object)
{
    if (!freeSlots_.empty()) {
        const int slot = freeSlots_.top();
        freeSlots_.pop();
        objects_[size_t(slot)] = object;
        return slot;
    }
    if (int(objects_.size()) >= limits_.maxObjects)
        return -1; // the table is full: the object is not made
    objects_.push_back(object);
    return int(objects_.size()) - 1;
}

void Player::selectObject(int index)
{
    if (index < 0 || index >= int(objects_.size()))
        return;
    const Object &o = objects_[size_t(index)];
    switch (o.kind) {
    case Object::Pen: state_.pen = o.pen; break;
    case Object::Brush: state_.brush = o.brush; break;
    case Object::Font: state_.font = o.font; break;
    default: break; // palettes and regions are not drawn with
    }
}

void Player::deleteObject(int index)
{
    if (index < 0 || index >= int(objects_.size()))
        return;
    Object &o = objects_[size_t(index)];
    if (o.kind == Object::Empty)
        return;
    o = Object();
    freeSlots_.push(index);
}

void Player::restoreDc(int which)
{
    const int depth = int(saved_.size());
    const int index = which > 0 ? which - 1 : depth + which;
    if (which == 0 || index < 0 || index >= depth)
        return;
    state_ = saved_[size_t(index)];
    saved_.resize(size_t(index));
}

bool Player::fillAndStroke(const QPainterPath &fill, const QPainterPath &stroke,
                           const QRectF &bounds, qint64 points)
{
    const double extent = bounds.width() + bounds.height();
    if (!charge(bounds, points, penWidth()))
        return false;
    prepareBackground();
    if (hasBrush()) {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(currentBrush());
        painter_.drawPath(fill);
    }
    if (hasPen()) {
        painter_.setPen(currentPen(extent));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(stroke);
    }
    return true;
}

bool Player::drawPolyline(const QVector<QPointF> &points)
{
    if (points.size() < 2)
        return true;
    QPolygonF poly(points);
    const QRectF bounds = poly.boundingRect();
    if (!charge(bounds, points.size(), penWidth()))
        return false;
    if (!hasPen())
        return true;
    prepareBackground();
    painter_.setPen(currentPen(bounds.width() + bounds.height()));
    painter_.setBrush(Qt::NoBrush);
    poly.translate(0.5, 0.5);
    painter_.drawPolyline(poly);
    return true;
}

// The point where the ray from the centre through p meets the ellipse, as
// the angle QPainterPath's arcs take.
double arcAngle(const QRectF &box, const QPointF &p)
{
    const QPointF c = box.center();
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    const double dx = p.x() - c.x();
    const double dy = c.y() - p.y(); // upwards
    const double ex = rx > 1e-9 ? dx / rx : dx;
    const double ey = ry > 1e-9 ? dy / ry : dy;
    if (ex == 0 && ey == 0)
        return 0;
    return qRadiansToDegrees(std::atan2(ey, ex));
}

bool Player::drawBoxFigure(quint16 function, const Bytes &p)
{
    // The bounds are the last four words (bottom, right, top, left).
    const qint64 at = function == RecRectangle || function == RecEllipse ? 0
                      : function == RecRoundRect                        ? 4
                                                                        : 8;
    if (!p.has(at, 8))
        return true;
    const QPointF a = toDevice(p.s16(at + 6), p.s16(at + 4));
    const QPointF b = toDevice(p.s16(at + 2), p.s16(at + 0));
    const double x0 = qMin(a.x(), b.x());
    const double x1 = qMax(a.x(), b.x());
    const double y0 = qMin(a.y(), b.y());
    const double y1 = qMax(a.y(), b.y());
    // The right and bottom edges belong to the outside; strokes sit on the
    // centres of the edge pixels.
    const double w = qMax(0.0, x1 - x0 - 1);
    const double h = qMax(0.0, y1 - y0 - 1);
    QRectF strokeBox(x0 + 0.5, y0 + 0.5, w, h);
    const QRectF fillBox = hasPen() ? QRectF(x0, y0, x1 - x0, y1 - y0) : QRectF(x0, y0, w, h);
    if ((state_.pen.style & 0x0F) == PsInsideFrame) {
        const double inset = qMin(qMax(0.0, penWidth() / 2 - 0.5), qMin(w, h) / 2);
        strokeBox.adjust(inset, inset, -inset, -inset);
    }

    auto figure = [&](const QRectF &box) {
        QPainterPath path;
        switch (function) {
        case RecRectangle:
            path.addRect(box);
            break;
        case RecEllipse:
            path.addEllipse(box);
            break;
        case RecRoundRect: {
            double sx, sy;
            scales(&sx, &sy);
            const double rx = qMin(std::abs(p.s16(2) * sx) / 2, box.width() / 2);
            const double ry = qMin(std::abs(p.s16(0) * sy) / 2, box.height() / 2);
            path.addRoundedRect(box, rx, ry);
            break;
        }
        default: {
            const double start = arcAngle(box, toDevice(p.s16(6), p.s16(4)) + QPointF(0.5, 0.5));
            const double end = arcAngle(box, toDevice(p.s16(2), p.s16(0)) + QPointF(0.5, 0.5));
            double sweep = end - start;
            while (sweep <= 0)
                sweep += 360;
            if (function == RecPie) {
                path.moveTo(box.center());
                path.arcTo(box, start, sweep);
                path.closeSubpath();
            } else {
                path.arcMoveTo(box, start);
                path.arcTo(box, start, sweep);
                if (function == RecChord)
                    path.closeSubpath();
            }
            break;
        }
        }
        return path;
    };

    const QRectF bounds(x0, y0, x1 - x0, y1 - y0);
    if (function == RecArc) {
        if (!charge(bounds, 4, penWidth()))
            return false;
        if (hasPen()) {
            prepareBackground();
            painter_.setPen(currentPen(bounds.width() + bounds.height()));
            painter_.setBrush(Qt::NoBrush);
            painter_.drawPath(figure(strokeBox));
        }
        return true;
    }
    return fillAndStroke(figure(fillBox), figure(strokeBox), bounds, 4);
}

bool Player::drawText(int x, int y, const QByteArray &bytes, int options, const QRectF &rect,
                      const QVector<int> &advances)
{
    if (!charge(rect, 0, 0, 2048))
        return false;
    if (options & EtoOpaque) {
        painter_.fillRect(rect, state_.bkColor);
    }
    if (bytes.isEmpty() || !canDrawText_)
        return true;

    const bool updateCp = state_.textAlign & TaUpdateCp;
    const QPoint ref = updateCp ? state_.current : QPoint(x, y);
    const QPointF origin = toDevice(ref.x(), ref.y());
    double sx, sy;
    scales(&sx, &sy);
    const double limit = 2.0 * qMax(image_->width(), image_->height());

    // The font, sized in pixels: a negative height is the characters'
    // height, a positive one the height of the whole cell.
    const FontData &fd = state_.font;
    QFont font;
    if (!fd.face.isEmpty())
        font.setFamily(fd.face);
    double pixels = fd.height == 0 ? 16.0 : deviceFontHeight(fd.height);
    pixels = qBound(1.0, pixels, limit);
    font.setPixelSize(qMax(1, qRound(pixels)));
    if (fd.height > 0) {
        const QFontMetricsF probe(font);
        const double cell = probe.ascent() + probe.descent();
        if (cell > 0)
            font.setPixelSize(qMax(1, qRound(qBound(1.0, pixels * pixels / cell, limit))));
    }
    if (fd.weight > 0)
        font.setWeight(QFont::Weight(qBound(1, fd.weight, 1000)));
    font.setItalic(fd.italic);
    font.setUnderline(fd.underline);
    font.setStrikeOut(fd.strikeOut);
    if (fd.width != 0) {
        const QFontMetricsF probe(font);
        const double average = probe.averageCharWidth();
        const double wanted = std::abs(fd.width * sx);
        if (average > 0)
            font.setStretch(qBound(1, qRound(100.0 * wanted / average), 4000));
    }
    const QFontMetricsF fm(font);

    QString text;
    const bool gbk = decodeGbk(bytes, &text);
    if (!gbk)
        text = QString::fromLatin1(bytes);
    // Characters with their own advances, where the file gives them: one
    // advance per byte, a double-byte character moving by the sum of its two.
    QVector<QPair<QString, double>> pieces;
    double width = 0;
    if (!advances.isEmpty()) {
        const QVector<int> lengths =
            gbk ? gbkCharacterLengths(bytes) : QVector<int>(bytes.size(), 1);
        qsizetype byte = 0;
        for (const int len : lengths) {
            double advance = 0;
            for (int k = 0; k < len && byte + k < advances.size(); ++k)
                advance += advances[byte + k];
            const QByteArray piece = bytes.mid(byte, len);
            const double step = std::abs(advance * sx);
            pieces.append({gbk ? decodeText(piece) : QString::fromLatin1(piece), step});
            width += step;
            byte += len;
        }
    } else {
        width = fm.horizontalAdvance(text);
    }
    width = qMin(width, 1e7);

    double dx = 0;
    switch (state_.textAlign & TaHorizontalMask) {
    case TaRight: dx = -width; break;
    case TaCenter: dx = -width / 2; break;
    default: break;
    }
    double baseline = fm.ascent();
    switch (state_.textAlign & TaVerticalMask) {
    case TaBottom: baseline = -fm.descent(); break;
    case TaBaseline: baseline = 0; break;
    default: break;
    }

    const QRectF box(origin.x() + dx, origin.y() + baseline - fm.ascent(), width,
                     fm.ascent() + fm.descent());
    // Characters placed one by one cost far more than a run of text.
    const qint64 perCharacter = (pieces.isEmpty() ? 64 : 512) + qint64(pixels);
    if (!charge(box, qint64(text.size()) * perCharacter, 0, 0))
        return false;

    painter_.save();
    if (options & EtoClipped)
        painter_.setClipRect(rect, Qt::ReplaceClip);
    painter_.translate(origin);
    if (fd.escapement != 0)
        painter_.rotate(-fd.escapement / 10.0);
    painter_.setBackgroundMode(Qt::TransparentMode);
    const QRectF local(dx, baseline - fm.ascent(), width, fm.ascent() + fm.descent());
    if (state_.bkMode == BkOpaque)
        painter_.fillRect(local, state_.bkColor);
    painter_.setFont(font);
    painter_.setPen(state_.textColor);
    if (pieces.isEmpty()) {
        painter_.drawText(QPointF(dx, baseline), text);
    } else {
        double at = dx;
        for (const auto &piece : pieces) {
            painter_.drawText(QPointF(at, baseline), piece.first);
            at += piece.second;
        }
    }
    painter_.restore();

    if (updateCp && std::abs(sx) > 0) {
        // The current position moves past the text (before it, for text
        // that ends there), kept within the range a coordinate can have.
        const double moved = qBound(-65536.0, width / sx, 65536.0);
        double x = state_.current.x();
        if ((state_.textAlign & TaHorizontalMask) == 0)
            x += moved;
        else if ((state_.textAlign & TaHorizontalMask) == TaRight)
            x -= moved;
        state_.current.setX(int(std::lround(qBound(-65536.0, x, 65536.0))));
    }
    return true;
}

bool Player::play(quint16 function, const Bytes &p)
{
    switch (function) {
    case RecSetWindowOrg:
        state_.windowOrg = QPoint(p.s16(2), p.s16(0));
        return true;
    case RecSetWindowExt:
        if (p.s16(0) != 0 && p.s16(2) != 0)
            state_.windowExt = QPoint(p.s16(2), p.s16(0));
        return true;
    case RecSetViewportOrg:
        state_.viewportOrg = QPoint(p.s16(2), p.s16(0));
        return true;
    case RecSetViewportExt:
        if (p.s16(0) != 0 && p.s16(2) != 0)
            state_.viewportExt = QPoint(p.s16(2), p.s16(0));
        return true;
    case RecSetMapMode: {
        const int mode = p.u16(0);
        if (mode >= MmText && mode <= MmAnisotropic)
            state_.mapMode = mode;
        return true;
    }
    case RecSetBkColor:
        state_.bkColor = colorAt(p, 0);
        return true;
    case RecSetBkMode: {
        const int mode = p.u16(0);
        if (mode == BkTransparent || mode == BkOpaque)
            state_.bkMode = mode;
        return true;
    }
    case RecSetTextColor:
        state_.textColor = colorAt(p, 0);
        return true;
    case RecSetTextAlign:
        state_.textAlign = p.u16(0);
        return true;
    case RecSetPolyFillMode: {
        const int mode = p.u16(0);
        if (mode == FillAlternate || mode == FillWinding)
            state_.polyFillMode = mode;
        return true;
    }

    case RecCreatePenIndirect: {
        Object o;
        o.kind = Object::Pen;
        o.pen.style = p.u16(0);
        o.pen.width = p.s16(2);
        o.pen.color = colorAt(p, 6);
        addObject(o);
        return true;
    }
    case RecCreateBrushIndirect: {
        Object o;
        o.kind = Object::Brush;
        o.brush.style = p.u16(0);
        o.brush.color = colorAt(p, 2);
        o.brush.hatch = p.u16(6);
        addObject(o);
        return true;
    }
    case RecCreateFontIndirect: {
        Object o;
        o.kind = Object::Font;
        o.font.height = p.s16(0);
        o.font.width = p.s16(2);
        o.font.escapement = p.s16(4);
        o.font.weight = p.s16(8);
        o.font.italic = p.u8(10) != 0;
        o.font.underline = p.u8(11) != 0;
        o.font.strikeOut = p.u8(12) != 0;
        QByteArray face;
        for (qint64 i = 18; i < 18 + 32 && p.has(i, 1) && p.u8(i) != 0; ++i)
            face.append(char(p.u8(i)));
        o.font.face = decodeText(face);
        addObject(o);
        return true;
    }
    case RecDibCreatePatternBrush:
    case RecCreatePatternBrush: {
        Object o;
        o.kind = Object::Brush;
        o.brush.isPattern = true;
        if (function == RecDibCreatePatternBrush && p.u16(0) != 3) {
            // The pictures of all pattern brushes together stay small; past
            // that, pattern brushes paint with a plain stipple.
            const QImage pattern = decodeDib(p.sub(4, p.size() - 4));
            const qint64 pixels = qint64(pattern.width()) * pattern.height();
            if (pixels <= patternPixelsLeft_) {
                patternPixelsLeft_ -= pixels;
                o.brush.pattern = pattern;
            }
        }
        addObject(o);
        return true;
    }
    case RecCreatePalette: {
        Object o;
        o.kind = Object::Palette;
        addObject(o);
        return true;
    }
    case RecCreateRegion: {
        Object o;
        o.kind = Object::Region;
        addObject(o);
        return true;
    }
    case RecSelectObject:
        if (p.has(0, 2))
            selectObject(p.u16(0));
        return true;
    case RecDeleteObject:
        if (p.has(0, 2))
            deleteObject(p.u16(0));
        return true;
    case RecSaveDc:
        if (int(saved_.size()) < limits_.maxSavedStates)
            saved_.push_back(state_);
        return true;
    case RecRestoreDc:
        if (p.has(0, 2))
            restoreDc(p.s16(0));
        return true;

    case RecMoveTo:
        if (p.has(0, 4))
            state_.current = QPoint(p.s16(2), p.s16(0));
        return true;
    case RecLineTo: {
        if (!p.has(0, 4))
            return true;
        const QPoint to(p.s16(2), p.s16(0));
        const QVector<QPointF> line{toDevice(state_.current.x(), state_.current.y()),
                                    toDevice(to.x(), to.y())};
        state_.current = to;
        return drawPolyline(line);
    }
    case RecPolyline:
    case RecPolygon: {
        const int count = p.s16(0);
        if (!p.has(0, 2) || count < 0 || !p.has(2, qint64(count) * 4))
            return true;
        QVector<QPointF> points;
        points.reserve(count);
        for (int i = 0; i < count; ++i)
            points.append(toDevice(p.s16(2 + i * 4), p.s16(4 + i * 4)));
        if (function == RecPolyline)
            return drawPolyline(points);
        if (points.size() < 2)
            return true;
        QPainterPath fill;
        fill.setFillRule(state_.polyFillMode == FillWinding ? Qt::WindingFill : Qt::OddEvenFill);
        fill.addPolygon(QPolygonF(points));
        fill.closeSubpath();
        return fillAndStroke(fill, shifted(fill), fill.boundingRect(), count);
    }
    case RecPolyPolygon: {
        const int polygons = p.u16(0);
        if (!p.has(0, 2) || !p.has(2, qint64(polygons) * 2))
            return true;
        qint64 total = 0;
        for (int i = 0; i < polygons; ++i)
            total += p.u16(2 + i * 2);
        qint64 at = 2 + qint64(polygons) * 2;
        if (!p.has(at, total * 4))
            return true;
        QPainterPath fill;
        fill.setFillRule(state_.polyFillMode == FillWinding ? Qt::WindingFill : Qt::OddEvenFill);
        for (int i = 0; i < polygons; ++i) {
            const int count = p.u16(2 + i * 2);
            QPolygonF poly;
            poly.reserve(count);
            for (int k = 0; k < count; ++k, at += 4)
                poly.append(toDevice(p.s16(at), p.s16(at + 2)));
            if (poly.size() >= 2) {
                fill.addPolygon(poly);
                fill.closeSubpath();
            }
        }
        if (fill.isEmpty())
            return true;
        return fillAndStroke(fill, shifted(fill), fill.boundingRect(), total);
    }
    case RecRectangle:
    case RecRoundRect:
    case RecEllipse:
    case RecArc:
    case RecPie:
    case RecChord:
        return drawBoxFigure(function, p);

    case RecTextOut: {
        const int length = p.s16(0);
        if (length < 0)
            return true;
        const qint64 after = 2 + ((qint64(length) + 1) & ~qint64(1));
        if (!p.has(2, length) || !p.has(after, 4))
            return true;
        return drawText(p.s16(after + 2), p.s16(after), p.bytes(2, length), 0, QRectF(), {});
    }
    case RecExtTextOut: {
        if (!p.has(0, 8))
            return true;
        const int y = p.s16(0);
        const int x = p.s16(2);
        const int length = p.s16(4);
        const int options = p.u16(6);
        if (length < 0)
            return true;
        qint64 at = 8;
        QRectF rect;
        if (options & (EtoOpaque | EtoClipped)) {
            if (!p.has(at, 8))
                return true;
            const QPointF a = toDevice(p.s16(at), p.s16(at + 2));
            const QPointF b = toDevice(p.s16(at + 4), p.s16(at + 6));
            rect = QRectF(a, b).normalized();
            at += 8;
        }
        if (!p.has(at, length))
            return true;
        const QByteArray bytes = p.bytes(at, length);
        at += (qint64(length) + 1) & ~qint64(1);
        QVector<int> advances;
        if (length > 0 && p.has(at, qint64(length) * 2)) {
            advances.reserve(length);
            for (int i = 0; i < length; ++i)
                advances.append(p.s16(at + i * 2));
        }
        return drawText(x, y, bytes, options, rect, advances);
    }
    default:
        return true; // records a picture can do without
    }
}

} // namespace

QSize naturalSize(const QByteArray &data)
{
    const Limits limits;
    const Bytes file(reinterpret_cast<const uchar *>(data.constData()), data.size());
    const Layout layout = readLayout(file, limits);
    return layout.ok ? layout.size : QSize();
}

QImage render(const QByteArray &data)
{
    return render(data, Limits());
}

QImage render(const QByteArray &data, const Limits &limits)
{
    if (data.size() > limits.maxFileBytes)
        return QImage();
    const Bytes file(reinterpret_cast<const uchar *>(data.constData()), data.size());
    const Layout layout = readLayout(file, limits);
    if (!layout.ok)
        return QImage();
    QImage image(layout.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QImage();
    image.fill(Qt::transparent);
    {
        Player player(layout, limits, &image);
        walkRecords(file, layout.recordsStart, limits.maxRecords,
                    [&](quint16 function, const Bytes &p) { return player.play(function, p); });
    }
    return image;
}

QImage renderFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QImage();
    if (f.size() > Limits().maxFileBytes)
        return QImage();
    return render(f.readAll());
}

} // namespace wmf
