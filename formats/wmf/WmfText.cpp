// Text: the fonts, the characters with their advances, and where they go.
#include "WmfPlayer.h"

#include "formats/Gbk.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainterPath>

#include <cmath>

namespace wmf::detail {

namespace {

// The characters of a text and how many bytes each takes: GBK when the
// bytes are well-formed GBK, else Latin-1, one character a byte.
struct Characters {
    QString text;
    QVector<int> lengths;
    bool gbk = false;
};

Characters splitCharacters(const QByteArray &bytes)
{
    Characters out;
    const gbk::Codes codes = gbk::codes(bytes);
    const GbkTable &table = GbkTable::instance();
    out.gbk = table.available();
    for (qsizetype i = 0; out.gbk && i < codes.size(); ++i)
        out.gbk = table.isValid(codes[i]);
    if (out.gbk) {
        out.text = gbk::toText(codes);
        out.lengths.reserve(codes.size());
        for (const quint32 code : codes)
            out.lengths.append(code > 0xFF ? 2 : 1);
    } else {
        out.text = QString::fromLatin1(bytes);
        out.lengths = QVector<int>(bytes.size(), 1);
    }
    return out;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    return splitCharacters(bytes).text;
}

namespace {

// Runs are cut short past this many pixels.
constexpr double kLongestRun = 1e7;
// Glyphs small enough for the glyph cache are drawn this many at a time.
constexpr qsizetype kCharactersPerPiece = 16;

// Characters of a run drawn together, and where they start along it.
struct Piece {
    qsizetype first = 0;
    qsizetype count = 0;
    double x = 0;
};

// A glyph's outline, flattened, at the size it is drawn, with its bounds.
struct Outline {
    QList<QPolygonF> polygons;
    QRectF bounds;
    qsizetype points = 0;
};

Outline outlineOf(const QFont &font, const QString &text)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), font, text);
    Outline outline;
    outline.polygons = path.toSubpathPolygons();
    for (const QPolygonF &polygon : outline.polygons)
        outline.points += polygon.size();
    outline.bounds = path.controlPointRect();
    return outline;
}

QString fontKey(const FontData &fd, double pixels)
{
    return QStringLiteral("%1|%2|%3|%4|%5%6%7|%8|%9")
        .arg(fd.face)
        .arg(qRound(pixels))
        .arg(fd.height > 0 ? 1 : 0)
        .arg(fd.weight)
        .arg(int(fd.italic))
        .arg(int(fd.underline))
        .arg(int(fd.strikeOut))
        .arg(fd.width)
        .arg(fd.escapement);
}

} // namespace

bool Player::playTextOut(const Bytes &p)
{
    const int length = p.s16(0);
    if (length < 0)
        return true;
    const qint64 after = 2 + ((qint64(length) + 1) & ~qint64(1));
    if (!p.has(2, length) || !p.has(after, 4))
        return true;
    return drawText(p.s16(after + 2), p.s16(after), p.bytes(2, length), 0, QRectF(), {});
}

bool Player::playExtTextOut(const Bytes &p)
{
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

QFont Player::currentFont(double *pixels, double sx)
{
    // The font, sized in pixels: a negative height is the characters'
    // height, a positive one the height of the whole cell.
    const double limit = 2.0 * qMax(image_->width(), image_->height());
    const FontData &fd = state_.font;
    QFont font;
    if (!fd.face.isEmpty())
        font.setFamily(fd.face);
    *pixels = fd.height == 0 ? 16.0 : deviceFontHeight(fd.height);
    *pixels = qBound(1.0, *pixels, limit);
    font.setPixelSize(qMax(1, qRound(*pixels)));
    if (fd.height > 0) {
        const QFontMetricsF probe(font);
        const double cell = probe.ascent() + probe.descent();
        if (cell > 0)
            font.setPixelSize(qMax(1, qRound(qBound(1.0, *pixels * *pixels / cell, limit))));
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
    return font;
}

bool Player::drawText(int x, int y, const QByteArray &bytes, int options, const QRectF &rect,
                      const QVector<int> &advances)
{
    const bool opaqueRect = options & EtoOpaque;
    const double rectWork = opaqueRect ? cost::kSolidPixel * coveredPixels(rect, image_->size()) : 0;
    if (!budget_.charge(cost::kTextRun + rectWork))
        return false;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    if (opaqueRect)
        painter_.fillRect(rect, state_.bkColor);
    if (bytes.isEmpty() || !canDrawText_)
        return true;

    // What the characters cost is known before any font is asked for or
    // any text is measured.
    const Characters chars = splitCharacters(bytes);
    double characterWork = 0;
    for (const QChar c : chars.text)
        characterWork += c.unicode() < 0x80 ? cost::kAsciiCharacter : cost::kOtherCharacter;
    double requested = state_.font.height == 0 ? 16.0 : deviceFontHeight(state_.font.height);
    const QString key = fontKey(state_.font, qMin(requested, 1e6));
    const bool newFont = !fontsUsed_.contains(key);
    if (!budget_.charge(characterWork + (newFont ? cost::kNewFont : 0)))
        return false;
    if (newFont)
        fontsUsed_.insert(key);

    const bool updateCp = state_.textAlign & TaUpdateCp;
    const QPoint ref = updateCp ? state_.current : QPoint(x, y);
    const QPointF origin = toDevice(ref.x(), ref.y());
    double sx, sy;
    scales(&sx, &sy);
    double pixels = 0;
    const QFont font = currentFont(&pixels, sx);
    const QFontMetricsF fm(font);

    // The pieces the run is drawn in, each at its own place: a character
    // at a time where the file gives advances or the glyphs are too large
    // for the glyph cache, else a few characters at a time, so that the
    // budget can stop inside a long run.
    const bool outlines = font.pixelSize() > cost::kLargestCachedGlyph;
    const bool oneByOne = outlines || !advances.isEmpty();
    QVector<Piece> pieces;
    double width = 0;
    if (!advances.isEmpty()) {
        // One advance per byte, a double-byte character moving by the sum
        // of its two.
        qsizetype byte = 0;
        for (qsizetype i = 0; i < chars.lengths.size(); ++i) {
            const int len = chars.lengths[i];
            double advance = 0;
            for (int k = 0; k < len && byte + k < advances.size(); ++k)
                advance += advances[byte + k];
            pieces.append({qsizetype(i), 1, width});
            width = qMin(width + std::abs(advance * sx), kLongestRun);
            byte += len;
        }
    } else {
        const qsizetype step = oneByOne ? 1 : kCharactersPerPiece;
        for (qsizetype i = 0; i < chars.text.size(); i += step) {
            const qsizetype n = qMin(step, chars.text.size() - i);
            pieces.append({i, n, width});
            const double advance
                = n == 1 ? fm.horizontalAdvance(chars.text.at(i)) : fm.horizontalAdvance(chars.text.mid(i, n));
            width = qMin(width + advance, kLongestRun);
        }
    }

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

    // The text's box as it lands in the picture, turned with the font.
    const QRectF local(dx, baseline - fm.ascent(), width, fm.ascent() + fm.descent());
    QTransform place;
    place.translate(origin.x(), origin.y());
    if (state_.font.escapement != 0)
        place.rotate(-state_.font.escapement / 10.0);
    const bool opaqueBox = state_.bkMode == Opaque;
    if (opaqueBox && !budget_.charge(cost::kSolidPixel * coveredPixels(place.mapRect(local), image_->size())))
        return false;
    // Where a glyph can show: the picture, or the part of it the record
    // clips to.
    QRectF window(QPointF(0, 0), QSizeF(image_->size()));
    if (options & EtoClipped)
        window = window.intersected(rect);

    painter_.save();
    if (options & EtoClipped)
        painter_.setClipRect(rect, Qt::ReplaceClip);
    painter_.translate(origin);
    if (state_.font.escapement != 0)
        painter_.rotate(-state_.font.escapement / 10.0);
    painter_.setBackgroundMode(Qt::TransparentMode);
    if (opaqueBox)
        painter_.fillRect(local, state_.bkColor);
    painter_.setFont(font);
    painter_.setPen(state_.textColor);

    // Glyphs too large for the cache are filled as outlines: each is
    // charged for its outline, and one that reaches the picture for
    // filling it, before it is drawn. A glyph that cannot touch the
    // picture is not drawn at all.
    QHash<QChar, Outline> outlinesOf;
    const double overhang = font.pixelSize() * qMax(1.0, font.stretch() / 100.0);
    bool paid = true;
    for (const Piece &piece : pieces) {
        const QString text = chars.text.mid(piece.first, piece.count);
        const QPointF at(dx + piece.x, baseline);
        if (outlines) {
            const QChar c = text.at(0);
            auto it = outlinesOf.find(c);
            if (it == outlinesOf.end())
                it = outlinesOf.insert(c, outlineOf(font, text));
            if (!(paid = budget_.charge(cost::kGlyphOutline + cost::kGlyphOutlinePoint * it->points)))
                break;
            QTransform glyph = QTransform::fromTranslate(at.x(), at.y()) * place;
            if (!glyph.mapRect(it->bounds).intersects(window))
                continue;
            const FigureWork work = outlineFillWork(it->polygons, glyph, cost::kSolidPixel, image_->size());
            if (!(paid = budget_.charge(cost::kGlyphFillFactor * work.antialiased)))
                break;
        } else {
            // A few cached glyphs: within the text's height and, allowing
            // for glyphs that overhang, about the width they advance.
            const double advance = (piece.count > 1 || advances.isEmpty()) ? fm.horizontalAdvance(text) : 0;
            const QRectF box(at.x() - overhang, at.y() - fm.ascent() - overhang, advance + 2 * overhang,
                             fm.ascent() + fm.descent() + 2 * overhang);
            const QRectF landed = place.mapRect(box);
            if (!landed.intersects(window))
                continue;
            const double glyphPixels = piece.count * overhang * overhang;
            if (!(paid = budget_.charge(cost::kGlyphPixel * qMin(glyphPixels, coveredPixels(landed, image_->size())))))
                break;
        }
        if (!(paid = budget_.charge(cost::kTextRun)))
            break;
        painter_.drawText(at, text);
    }
    painter_.restore();
    if (!paid)
        return false;

    if (updateCp && std::abs(sx) > 0) {
        // The current position moves past the text (before it, for text
        // that ends there), kept within the range a coordinate can have.
        const double moved = qBound(-65536.0, width / sx, 65536.0);
        double cx = state_.current.x();
        if ((state_.textAlign & TaHorizontalMask) == 0)
            cx += moved;
        else if ((state_.textAlign & TaHorizontalMask) == TaRight)
            cx -= moved;
        state_.current.setX(int(std::lround(qBound(-65536.0, cx, 65536.0))));
    }
    return true;
}

} // namespace wmf::detail
