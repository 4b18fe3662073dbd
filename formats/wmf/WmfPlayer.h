#pragma once
#include "WmfCost.h"
#include "WmfParser.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QString>
#include <QVector>

#include <functional>
#include <queue>
#include <vector>

// Playing the records of a metafile into an image: the object table, the
// device context's state and the drawing, each figure charged to the
// picture's work budget before it is painted.
namespace wmf::detail {

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
    int bkMode = Opaque;
    int textAlign = 0;
    int polyFillMode = Alternate;
    int mapMode = MmAnisotropic;
    QPoint windowOrg;
    QPoint windowExt {1, 1};
    QPoint viewportOrg;
    QPoint viewportExt {1, 1};
    QPoint current;
};

// Text and face names are GBK; bytes that are not well-formed GBK are
// taken as Latin-1, one character a byte.
QString decodeText(const QByteArray &bytes);

class Player
{
public:
    Player(const Layout &layout, const Limits &limits, QImage *image);

    // Plays one record; false stops playback.
    bool play(quint16 function, const Bytes &p);

    const WorkBudget &budget() const { return budget_; }
    int aliasedFigures() const { return aliasedFigures_; }

private:
    // Mapping from logical units to the image's pixels.
    void scales(double *sx, double *sy) const;
    QPointF toDevice(int x, int y) const;
    double deviceFontHeight(int logicalHeight) const;

    QPen currentPen(double extent) const;
    QBrush currentBrush() const;
    double brushPixelCost() const;
    void prepareBackground();
    bool hasPen() const { return (state_.pen.style & PsStyleMask) != PsNull; }
    bool hasBrush() const { return state_.brush.style != BsNull || state_.brush.isPattern; }
    double penWidth() const;

    int addObject(const Object &object);
    void selectObject(int index);
    void deleteObject(int index);
    void restoreDc(int which);

    // Figures (WmfFigures.cpp). Each charges its work first and returns
    // false, drawing nothing, when the budget cannot pay for it.
    bool playPolygon(quint16 function, const Bytes &p);
    bool playPolyPolygon(const Bytes &p);
    bool drawPolyline(const QPolygonF &points);
    // `bounds` are the figure's, in pixels; a very long broken line is
    // drawn whole.
    bool fillAndStroke(const QPainterPath &fill, const QPainterPath &stroke, const QRectF &bounds);
    bool strokeOnly(const QPainterPath &stroke, const QRectF &bounds);
    bool drawBoxFigure(quint16 function, const Bytes &p);
    // The work of outlining the path with the current pen.
    FigureWork strokeWork(const QPainterPath &stroke) const;
    // Charges the figure's work; sets antialiasing as the estimate chose.
    bool chargeFigure(const FigureWork &work);
    void antialiasAsChosen(const FigureWork &work);

    // Text (WmfText.cpp).
    bool playTextOut(const Bytes &p);
    bool playExtTextOut(const Bytes &p);
    bool drawText(int x, int y, const QByteArray &bytes, int options, const QRectF &rect, const QVector<int> &advances);
    QFont currentFont(double *pixels, double sx);

    const Limits &limits_;
    QImage *image_;
    QPainter painter_;
    bool canDrawText_;
    WorkBudget budget_;
    int aliasedFigures_ = 0;
    qint64 patternPixelsLeft_ = 1 << 20;
    // Fonts asked for so far: a new one costs a search through the
    // system's fonts.
    QSet<QString> fontsUsed_;
    State state_;
    std::vector<State> saved_;
    std::vector<Object> objects_;
    // Free slots below objects_.size(), smallest first.
    std::priority_queue<int, std::vector<int>, std::greater<int>> freeSlots_;
};

} // namespace wmf::detail
