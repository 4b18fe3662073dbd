#pragma once
#include "ReadingModel.h"

#include <QDateTime>
#include <QPixmap>
#include <QString>
#include <array>

class QImage;
class QPageSize;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// What a kept reading holds: the window's title, when the reading was
// shown, the throw, the twelve pieces as the window shows them and the text
// of the reading pane.
struct ReadingSheetContent {
    QString title;
    QDateTime shownAt;
    reading::Counts counts;
    // The 上, 中 and 下 groups, each in the diamond's order: top, left,
    // right, bottom.
    std::array<std::array<QPixmap, 4>, 3> pieces;
    QString text; // lines end in CR LF, as the pane keeps them
};

// A reading set as a paper slip (签条): a framed page with the title, the
// date and time, the three counts and the pieces in a column at the left,
// and the text beside them, flowing onto further pages when it is long.
// The same painting serves a PDF, a printer and a picture.
class ReadingSheet
{
public:
    explicit ReadingSheet(ReadingSheetContent content);

    // Paints every page onto the device, starting a new page between them.
    // Returns the number of pages painted (0 when the device cannot be
    // painted on).
    int paint(QPagedPaintDevice *device) const;

    // The pages at the given resolution, one under another in one picture;
    // a null picture when the sheet takes more than maxPages pages.
    QImage image(const QPageSize &pageSize, int dpi, int maxPages) const;

    const ReadingSheetContent &content() const { return content_; }

    // "二上零中三下"
    static QString countsText(const reading::Counts &counts);
    // "2026年12月7日 14:35"
    static QString dateTimeText(const QDateTime &when);
    // A4, or Letter where the (default) locale measures in inches.
    static QPageSize defaultPageSize();

private:
    struct Layout;
    Layout layout(QPaintDevice *metrics, double width, double height) const;
    void paintPage(QPainter &painter, const Layout &layout, int page) const;
    void paintPieces(QPainter &painter, const Layout &layout) const;

    ReadingSheetContent content_;
};
