#include "ReadingSheet.h"

#include "ReadingText.h"
#include "platform/Fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

namespace {
const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kRed(0x8b, 0x1a, 0x1a);
const QColor kFaint(0xc9, 0xa5, 0xa5);
const QColor kGrey(0x55, 0x55, 0x55);

const QString kSong = QStringLiteral("宋体");
const QString kKai = QStringLiteral("楷体_GB2312");

// The slip's measures, in millimetres.
constexpr double kFrameX = 15; // paper edge to the frame, left and right
constexpr double kFrameY = 14; // paper edge to the frame, top and bottom
constexpr double kInnerFrame = 1.2; // between the two lines of the frame
constexpr double kPadding = 7; // inner frame to the content
constexpr double kHeader = 30; // title, date and rule on the first page
constexpr double kRunningHeader = 13; // the short header of the following pages
constexpr double kFooter = 9; // room for the page numbers
constexpr double kSide = 38; // the column of counts and pieces
constexpr double kGutter = 8; // between that column and the text
constexpr double kCounts = 13; // the counts above the pieces
constexpr double kPiece = 8.5; // a piece's width and height
// The window's proportions: a quarter of the room the three pieces of a row
// leave between and beside them, and the spacing between rows.
constexpr double kPieceGap = kPiece * 250.0 / 600.0;
constexpr double kRowGap = 1.6;

constexpr double kTextPoints = 10.5;
constexpr int kLineHeightPercent = 135;

QFont font(const QString &face, double points, QPaintDevice *device)
{
    QFont f(platform::designFont(face, points), device);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}
} // namespace

struct ReadingSheet::Layout {
    double mm = 1;
    QPaintDevice *metrics = nullptr;
    QRectF paper;
    QRectF frame; // the outer line of the frame
    QRectF content; // inside the frame's padding
    QRectF side; // counts and pieces, first page
    double firstTextLeft = 0;
    double nextTextLeft = 0;
    double textWidth = 0;
    double firstTop = 0;
    double nextTop = 0;
    double bottom = 0;
    std::shared_ptr<QTextDocument> document;
    QList<double> breaks; // where each page's text starts in the document, then its end

    int pages() const { return int(breaks.size()) - 1; }
};

ReadingSheet::ReadingSheet(ReadingSheetContent content) : content_(std::move(content)) { }

QString ReadingSheet::countsText(const reading::Counts &counts)
{
    //: The numerals for the counts 0 to 4, one character each.
    const QString numerals = QCoreApplication::translate("ReadingSheet", "零一二三四");
    auto numeral
        = [&numerals](int n) { return QString(n >= 0 && n < numerals.size() ? numerals.at(n) : QChar(u'？')); };
    return QCoreApplication::translate("ReadingSheet", "%1上%2中%3下")
        .arg(numeral(counts.upper), numeral(counts.middle), numeral(counts.lower));
}

QString ReadingSheet::dateTimeText(const QDateTime &when)
{
    const QDate d = when.date();
    return QCoreApplication::translate("ReadingSheet", "%1年%2月%3日 %4")
        .arg(d.year())
        .arg(d.month())
        .arg(d.day())
        .arg(when.time().toString(QStringLiteral("HH:mm")));
}

QPageSize ReadingSheet::defaultPageSize()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

ReadingSheet::Layout ReadingSheet::layout(QPaintDevice *metrics, double width, double height) const
{
    Layout l;
    l.metrics = metrics;
    l.mm = metrics->logicalDpiX() / 25.4;
    const double mm = l.mm;
    l.paper = QRectF(0, 0, width, height);
    l.frame = l.paper.adjusted(kFrameX * mm, kFrameY * mm, -kFrameX * mm, -kFrameY * mm);
    const double inset = (kInnerFrame + kPadding) * mm;
    l.content = l.frame.adjusted(inset, inset, -inset, -inset);
    const double bodyTop = l.content.top() + kHeader * mm;
    l.side = QRectF(l.content.left(), bodyTop, kSide * mm, l.content.bottom() - bodyTop);
    l.firstTextLeft = l.side.right() + kGutter * mm;
    l.textWidth = l.content.right() - l.firstTextLeft;
    // The following pages hold the same column, centred in the frame.
    l.nextTextLeft = l.content.left() + (l.content.width() - l.textWidth) / 2;
    l.firstTop = bodyTop;
    l.nextTop = l.content.top() + kRunningHeader * mm;
    l.bottom = l.content.bottom() - kFooter * mm;

    // The text exactly as the pane shows it, at the pane's face.
    auto doc = std::make_shared<QTextDocument>();
    doc->documentLayout()->setPaintDevice(metrics);
    doc->setDocumentMargin(0);
    doc->setDefaultFont(font(kSong, kTextPoints, metrics));
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    setReadingText(doc.get(), content_.text, kLineHeightPercent);
    doc->setTextWidth(l.textWidth);
    l.document = doc;

    // Pages break between lines, never through one.
    double start = 0;
    double room = l.bottom - l.firstTop;
    l.breaks << 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QRectF blockRect = doc->documentLayout()->blockBoundingRect(block);
        const QTextLayout *textLayout = block.layout();
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            const double top = blockRect.top() + line.y();
            if (top + line.height() - start > room && top > start) {
                start = top;
                room = l.bottom - l.nextTop;
                l.breaks << start;
            }
        }
    }
    l.breaks << doc->size().height();
    return l;
}

int ReadingSheet::paint(QPagedPaintDevice *device) const
{
    const QPageLayout pageLayout = device->pageLayout();
    const QRectF paper = pageLayout.fullRectPixels(device->logicalDpiX());
    const Layout l = layout(device, paper.width(), paper.height());
    QPainter painter;
    if (!painter.begin(device))
        return 0;
    // The painter starts at the printable area; the slip is laid out on
    // the whole paper.
    const QRectF printable = pageLayout.paintRectPixels(device->logicalDpiX());
    for (int page = 0; page < l.pages(); ++page) {
        if (page > 0 && !device->newPage())
            return page;
        painter.save();
        painter.translate(-printable.topLeft());
        paintPage(painter, l, page);
        painter.restore();
    }
    painter.end();
    return l.pages();
}

QImage ReadingSheet::image(const QPageSize &pageSize, int dpi, int maxPages) const
{
    const QSize pagePixels = pageSize.sizePixels(dpi);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(dotsPerMeter);
    probe.setDotsPerMeterY(dotsPerMeter);
    const Layout l = layout(&probe, pagePixels.width(), pagePixels.height());
    if (l.pages() > maxPages)
        return QImage();

    QImage picture(pagePixels.width(), pagePixels.height() * l.pages(), QImage::Format_RGB32);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int page = 0; page < l.pages(); ++page) {
        painter.save();
        painter.translate(0, page * pagePixels.height());
        paintPage(painter, l, page);
        painter.restore();
    }
    return picture;
}

void ReadingSheet::paintPage(QPainter &painter, const Layout &l, int page) const
{
    const double mm = l.mm;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // The frame: a strong line and a fine one inside it.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRed, 0.35 * mm));
    painter.drawRect(l.frame);
    painter.setPen(QPen(kRed, 0.12 * mm));
    painter.drawRect(l.frame.adjusted(kInnerFrame * mm, kInnerFrame * mm, -kInnerFrame * mm, -kInnerFrame * mm));

    double textLeft = l.nextTextLeft;
    double textTop = l.nextTop;
    if (page == 0) {
        textLeft = l.firstTextLeft;
        textTop = l.firstTop;
        QFont titleFont = font(kKai, 26, l.metrics);
        titleFont.setLetterSpacing(QFont::PercentageSpacing, 125);
        painter.setFont(titleFont);
        painter.setPen(kRed);
        const QRectF titleBox(l.content.left(), l.content.top(), l.content.width(), 12 * mm);
        painter.drawText(titleBox, Qt::AlignHCenter | Qt::AlignVCenter, content_.title);
        painter.setFont(font(kSong, 10.5, l.metrics));
        painter.setPen(kGrey);
        const QRectF dateBox(l.content.left(), titleBox.bottom() + 1 * mm, l.content.width(), 6 * mm);
        painter.drawText(dateBox, Qt::AlignHCenter | Qt::AlignVCenter,
                         QCoreApplication::translate("ReadingSheet", "占卜时间　") + dateTimeText(content_.shownAt));
        // A double rule under the heading.
        const double ruleY = dateBox.bottom() + 4 * mm;
        painter.setPen(QPen(kRed, 0.3 * mm));
        painter.drawLine(QPointF(l.content.left(), ruleY), QPointF(l.content.right(), ruleY));
        painter.setPen(QPen(kRed, 0.1 * mm));
        painter.drawLine(QPointF(l.content.left(), ruleY + 0.9 * mm), QPointF(l.content.right(), ruleY + 0.9 * mm));

        paintPieces(painter, l);
        const double gutterX = l.side.right() + kGutter * mm / 2;
        painter.setPen(QPen(kFaint, 0.15 * mm));
        painter.drawLine(QPointF(gutterX, l.side.top()), QPointF(gutterX, l.bottom));
    } else {
        // A short running header: title and throw, marked as continued.
        painter.setFont(font(kKai, 11, l.metrics));
        painter.setPen(kRed);
        const QRectF box(l.content.left(), l.content.top(), l.content.width(), 7 * mm);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, content_.title);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                         countsText(content_.counts) + QCoreApplication::translate("ReadingSheet", "（续）"));
        painter.setPen(QPen(kRed, 0.15 * mm));
        painter.drawLine(QPointF(l.content.left(), box.bottom() + 1.5 * mm),
                         QPointF(l.content.right(), box.bottom() + 1.5 * mm));
    }

    if (l.pages() > 1) {
        painter.setFont(font(kSong, 9, l.metrics));
        painter.setPen(kGrey);
        const QRectF box(l.content.left(), l.content.bottom() - 5 * mm, l.content.width(), 5 * mm);
        painter.drawText(
            box, Qt::AlignHCenter | Qt::AlignBottom,
            QCoreApplication::translate("ReadingSheet", "第 %1 页　共 %2 页").arg(page + 1).arg(l.pages()));
    }

    // This page's lines of the text.
    const double from = l.breaks.at(page);
    const double to = l.breaks.at(page + 1);
    painter.save();
    painter.translate(textLeft, textTop - from);
    const QRectF clip(0, from, l.textWidth, to - from);
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, kInk);
    l.document->documentLayout()->draw(&painter, context);
    painter.restore();
}

void ReadingSheet::paintPieces(QPainter &painter, const Layout &l) const
{
    const double mm = l.mm;
    painter.setFont(font(kKai, 16, l.metrics));
    painter.setPen(kRed);
    const QRectF countsBox(l.side.left(), l.side.top(), l.side.width(), kCounts * mm);
    painter.drawText(countsBox, Qt::AlignHCenter | Qt::AlignTop, countsText(content_.counts));

    // Three diamonds one above the other, as in the window: top, left and
    // right on one row, bottom; a row's gap between the rows of a group and
    // two between the groups.
    const double w = kPiece * mm;
    const double gap = kPieceGap * mm;
    const double rowGap = kRowGap * mm;
    const double groupWidth = 3 * w + 2 * gap;
    const double left = l.side.left() + (l.side.width() - groupWidth) / 2;
    const double columns[4] = {left + w + gap, left, left + 2 * (w + gap), left + w + gap};
    const int places[4] = {0, 1, 1, 2};
    const double top = countsBox.bottom();
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < 4; ++i) {
            const int row = 3 * g + places[i];
            const double y = top + (4 * g + places[i]) * rowGap + row * w;
            const QRectF box(columns[i], y, w, w);
            const QPixmap &picture = content_.pieces[size_t(g)][size_t(i)];
            if (!picture.isNull())
                painter.drawPixmap(box, picture, QRectF(picture.rect()));
        }
    }
}
