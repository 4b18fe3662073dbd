#include "WmfPlayer.h"

#include <QGuiApplication>

#include <cmath>

namespace wmf::detail {

namespace {

QColor colorAt(const Bytes &b, qint64 offset)
{
    return QColor(b.u8(offset), b.u8(offset + 1), b.u8(offset + 2));
}

} // namespace

Player::Player(const Layout &layout, const Limits &limits, QImage *image)
    : limits_(limits),
      image_(image),
      painter_(image),
      canDrawText_(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr),
      budget_(limits.paintBudget, limits.paintMilliseconds)
{
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    state_.windowOrg = layout.windowOrg;
    state_.windowExt = layout.windowExt;
    state_.viewportOrg = QPoint(0, 0);
    state_.viewportExt = QPoint(layout.size.width(), layout.size.height());
    budget_.charge(cost::kCanvasPixel * image->width() * image->height());
}

void Player::scales(double *sx, double *sy) const
{
    switch (state_.mapMode) {
    case MmText: *sx = *sy = 1.0; return;
    case MmLoMetric: *sx = kScreenDpi / 254.0; break;
    case MmHiMetric: *sx = kScreenDpi / 2540.0; break;
    case MmLoEnglish: *sx = kScreenDpi / 100.0; break;
    case MmHiEnglish: *sx = kScreenDpi / 1000.0; break;
    case MmTwips: *sx = kScreenDpi / 1440.0; break;
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
        switch (state_.pen.style & PsStyleMask) {
        case PsDash: pen.setStyle(Qt::DashLine); break;
        case PsDot: pen.setStyle(Qt::DotLine); break;
        case PsDashDot: pen.setStyle(Qt::DashDotLine); break;
        case PsDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
        default: break;
        }
    }
    switch (state_.pen.style & PsEndCapMask) {
    case PsEndCapSquare: pen.setCapStyle(Qt::SquareCap); break;
    case PsEndCapFlat: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (state_.pen.style & PsJoinMask) {
    case PsJoinBevel: pen.setJoinStyle(Qt::BevelJoin); break;
    case PsJoinMiter: pen.setJoinStyle(Qt::MiterJoin); break;
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
    case BsNull: return QBrush(Qt::NoBrush);
    case BsHatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        if (b.hatch >= 0 && b.hatch < 6)
            return QBrush(b.color, hatches[b.hatch]);
        return QBrush(b.color);
    }
    default: return QBrush(b.color);
    }
}

double Player::brushPixelCost() const
{
    if (!hasBrush())
        return 0;
    const Qt::BrushStyle style = currentBrush().style();
    if (style == Qt::SolidPattern)
        return cost::kSolidPixel;
    if (style == Qt::TexturePattern)
        return cost::kPatternPixel;
    return cost::kHatchPixel;
}

void Player::prepareBackground()
{
    painter_.setBackgroundMode(state_.bkMode == Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
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

bool Player::play(quint16 function, const Bytes &p)
{
    switch (function) {
    case SetWindowOrg: state_.windowOrg = QPoint(p.s16(2), p.s16(0)); return true;
    case SetWindowExt:
        if (p.s16(0) != 0 && p.s16(2) != 0)
            state_.windowExt = QPoint(p.s16(2), p.s16(0));
        return true;
    case SetViewportOrg: state_.viewportOrg = QPoint(p.s16(2), p.s16(0)); return true;
    case SetViewportExt:
        if (p.s16(0) != 0 && p.s16(2) != 0)
            state_.viewportExt = QPoint(p.s16(2), p.s16(0));
        return true;
    case SetMapMode: {
        const int mode = p.u16(0);
        if (mode >= MmText && mode <= MmAnisotropic)
            state_.mapMode = mode;
        return true;
    }
    case SetBkColor: state_.bkColor = colorAt(p, 0); return true;
    case SetBkMode: {
        const int mode = p.u16(0);
        if (mode == Transparent || mode == Opaque)
            state_.bkMode = mode;
        return true;
    }
    case SetTextColor: state_.textColor = colorAt(p, 0); return true;
    case SetTextAlign: state_.textAlign = p.u16(0); return true;
    case SetPolyFillMode: {
        const int mode = p.u16(0);
        if (mode == Alternate || mode == Winding)
            state_.polyFillMode = mode;
        return true;
    }

    case CreatePenIndirect: {
        Object o;
        o.kind = Object::Pen;
        o.pen.style = p.u16(0);
        o.pen.width = p.s16(2);
        o.pen.color = colorAt(p, 6);
        addObject(o);
        return true;
    }
    case CreateBrushIndirect: {
        Object o;
        o.kind = Object::Brush;
        o.brush.style = p.u16(0);
        o.brush.color = colorAt(p, 2);
        o.brush.hatch = p.u16(6);
        addObject(o);
        return true;
    }
    case CreateFontIndirect: {
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
    case DibCreatePatternBrush:
    case CreatePatternBrush: {
        Object o;
        o.kind = Object::Brush;
        o.brush.isPattern = true;
        if (function == DibCreatePatternBrush && p.u16(0) != BsPattern) {
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
    case CreatePalette: {
        Object o;
        o.kind = Object::Palette;
        addObject(o);
        return true;
    }
    case CreateRegion: {
        Object o;
        o.kind = Object::Region;
        addObject(o);
        return true;
    }
    case SelectObject:
        if (p.has(0, 2))
            selectObject(p.u16(0));
        return true;
    case DeleteObject:
        if (p.has(0, 2))
            deleteObject(p.u16(0));
        return true;
    case SaveDc:
        if (int(saved_.size()) < limits_.maxSavedStates)
            saved_.push_back(state_);
        return true;
    case RestoreDc:
        if (p.has(0, 2))
            restoreDc(p.s16(0));
        return true;

    case MoveTo:
        if (p.has(0, 4))
            state_.current = QPoint(p.s16(2), p.s16(0));
        return true;
    case LineTo: {
        if (!p.has(0, 4))
            return true;
        const QPoint to(p.s16(2), p.s16(0));
        const QPolygonF line {toDevice(state_.current.x(), state_.current.y()), toDevice(to.x(), to.y())};
        state_.current = to;
        return drawPolyline(line);
    }
    case Polyline:
    case Polygon: return playPolygon(function, p);
    case PolyPolygon: return playPolyPolygon(p);
    case Rectangle:
    case RoundRect:
    case Ellipse:
    case Arc:
    case Pie:
    case Chord: return drawBoxFigure(function, p);

    case TextOut: return playTextOut(p);
    case ExtTextOut: return playExtTextOut(p);
    default: return true; // records a picture can do without
    }
}

} // namespace wmf::detail
