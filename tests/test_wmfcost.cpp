// The metafile reader's work budget: figures are charged what painting
// them costs, so pictures made to be slow stop early, and in time, while
// ordinary pictures are drawn whole and as before.
#include "formats/wmf/Wmf.h"
#include "formats/wmf/WmfCost.h"
#include "platform/Fonts.h"
#include "tools/wmfwriter/WmfWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QRandomGenerator>
#include <QtTest>

#include <functional>

namespace {

constexpr int kSide = 4096; // the largest picture
// ms; the budget is about 500. Sanitizers slow painting down several times
// over: there the cap only catches what never ends.
#if defined(YANPING_SANITIZED) || defined(__SANITIZE_ADDRESS__)
constexpr qint64 kTimeCap = 15000;
#else
constexpr qint64 kTimeCap = 1500;
#endif

// The estimates alone, without the clock that stops any picture after a
// while: what is timed here is whether the charges are right.
wmf::Limits estimatesOnly()
{
    wmf::Limits limits;
    limits.paintMilliseconds = 0;
    return limits;
}

const QColor kMarker(0, 200, 0);
// Six pixels in from the picture's bottom right corner.
constexpr int kMarkerInset = 6;

wmf::Writer largest()
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(kSide, kSide);
    return w;
}

void solid(wmf::Writer &w, const QColor &c)
{
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    w.selectObject(w.createBrush(wmf::BsSolid, c));
}

// A small square in the corner, drawn last: there only if nothing stopped.
void marker(wmf::Writer &w, int side = kSide)
{
    const QPoint kMarkerAt(side - kMarkerInset, side - kMarkerInset);
    solid(w, kMarker);
    w.rectangle(kMarkerAt.x() - 4, kMarkerAt.y() - 4, side, side);
}

bool hasMarker(const QImage &img)
{
    const QColor c = img.pixelColor(img.width() - kMarkerInset, img.height() - kMarkerInset);
    return c.alpha() == 255 && c.green() > 150 && c.red() < 50;
}

// Points going from one side of the picture to the other and back.
QPolygon zigzag(int points, bool acrossRows)
{
    QPolygon p;
    for (int i = 0; i < points; ++i) {
        const int along = int(qint64(i) * (kSide - 1) / points);
        const int side = i % 2 ? kSide - 1 : 0;
        p << (acrossRows ? QPoint(along, side) : QPoint(side, along));
    }
    return p;
}

int partlyCoveredPixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3)
            n += qAlpha(img.pixel(x, y)) > 0 && qAlpha(img.pixel(x, y)) < 255;
    return n;
}

} // namespace

class TestWmfCost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void slowPicturesStopInTime_data();
    void slowPicturesStopInTime();
    void ordinaryPicturesAreDrawnWhole_data();
    void ordinaryPicturesAreDrawnWhole();
    void complexFillsLoseAntialiasing();
    void costFollowsEdgesAndHeight();
};

void TestWmfCost::initTestCase()
{
    // The program's faces, as it maps them: the Chinese ones have by far
    // the most complex outlines.
    platform::installFontSubstitutes();
    QFontMetricsF(QFont()).horizontalAdvance(QStringLiteral("衍枰 W"));
}

void TestWmfCost::slowPicturesStopInTime_data()
{
    QTest::addColumn<QByteArray>("data");
    using Draw = std::function<void(wmf::Writer &)>;
    auto make = [](const Draw &draw) {
        wmf::Writer w = largest();
        draw(w);
        marker(w);
        return w.data();
    };

    QTest::newRow("many-point polygons") << make([](wmf::Writer &w) {
        solid(w, Qt::red);
        QRandomGenerator random(7);
        for (int k = 0; k < 60; ++k) {
            QPolygon p;
            for (int i = 0; i < 100; ++i)
                p << QPoint(random.bounded(kSide), random.bounded(kSide));
            w.polygon(p);
        }
    });
    QTest::newRow("zigzag polygons") << make([](wmf::Writer &w) {
        solid(w, Qt::red);
        for (int k = 0; k < 40; ++k)
            w.polygon(zigzag(1000, k % 2));
    });
    QTest::newRow("thick-pen zigzag") << make([](wmf::Writer &w) {
        w.selectObject(w.createPen(wmf::PsSolid, 3000, Qt::blue));
        w.polyline(zigzag(1000, false));
    });
    QTest::newRow("thin zigzag lines") << make([](wmf::Writer &w) {
        w.selectObject(w.createPen(wmf::PsDot, 0, Qt::blue));
        for (int k = 0; k < 10; ++k)
            w.polyline(zigzag(3000, true));
    });
    QTest::newRow("rotated huge glyphs") << make([](wmf::Writer &w) {
        wmf::LogFont f;
        f.height = -8192;
        f.escapement = 1800; // upside down: the glyphs land above and left
        w.selectObject(w.createFont(f));
        w.setBkMode(wmf::Transparent);
        for (int i = 0; i < 2000; ++i)
            w.textOut(kSide - 1, kSide - 1, QStringLiteral("W"));
    });
    QTest::newRow("large glyphs piled on one spot") << make([](wmf::Writer &w) {
        // Every advance is zero but the last: the glyphs land on one spot
        // while the run's box grows huge.
        w.setBkMode(wmf::Transparent);
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QChar(0x9F98 - i * 37);
        QVector<int> advances(int(wmf::Writer::toGbk(text).size()), 0);
        advances.last() = 32000;
        int k = 0;
        for (const char *face : {"宋体", "楷体_GB2312"}) {
            for (const int pixels : {256, 1024}) {
                wmf::LogFont f;
                f.height = -pixels;
                f.escapement = 300;
                f.faceName = QString::fromUtf8(face);
                w.selectObject(w.createFont(f));
                w.extTextOut(kSide / 2, kSide / 2 - 100 * k++, 0, QRect(), text, advances);
            }
        }
    });
    QTest::newRow("long runs of huge turned glyphs") << [] {
        // On a small picture: nearly every glyph lands far outside it.
        wmf::Writer w;
        w.setWindowOrg(0, 0);
        w.setWindowExt(256, 256);
        w.setBkMode(wmf::Transparent);
        for (const int pixels : {1024, 8192}) {
            wmf::LogFont f;
            f.height = -pixels;
            f.escapement = 450;
            w.selectObject(w.createFont(f));
            for (int i = 0; i < 30; ++i)
                w.textOut(0, 128, QString(2000, QLatin1Char('W')));
        }
        marker(w, 256);
        return w.data();
    }();
    QTest::newRow("hatched fills") << make([](wmf::Writer &w) {
        w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
        w.selectObject(w.createBrush(wmf::BsHatched, Qt::red, wmf::HsDiagCross));
        for (int i = 0; i < 2000; ++i)
            w.ellipse(0, 0, kSide, kSide);
    });
    QTest::newRow("a new font for every word") << make([](wmf::Writer &w) {
        w.setBkMode(wmf::Transparent);
        for (int i = 0; i < 3000; ++i) {
            wmf::LogFont f;
            f.height = -10 - i % 40;
            f.faceName = QStringLiteral("Face %1").arg(i);
            const int font = w.createFont(f);
            w.selectObject(font);
            w.textOut(i % 4000, (i * 7) % 4000, QStringLiteral("x"));
            w.deleteObject(font);
        }
    });
    QTest::newRow("characters outside ASCII") << make([](wmf::Writer &w) {
        wmf::LogFont f;
        f.height = -12;
        w.selectObject(w.createFont(f));
        for (int i = 0; i < 300; ++i) {
            QString line;
            for (int k = 0; k < 100; ++k)
                line += QChar(0x4E00 + i * 100 + k);
            w.textOut(0, (i * 13) % 4000, line);
        }
    });
}

void TestWmfCost::slowPicturesStopInTime()
{
    QFETCH(QByteArray, data);
    QVERIFY(data.size() < 1024 * 1024);
    wmf::Report report;
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(data, estimatesOnly(), &report);
    const qint64 ms = timer.elapsed();
    QVERIFY2(ms < kTimeCap, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    QVERIFY(!img.isNull());
    QCOMPARE(img.size(), wmf::naturalSize(data));
    QVERIFY(report.stoppedEarly);
    QVERIFY(report.work <= wmf::Limits().paintBudget);
    QVERIFY(!hasMarker(img));
}

void TestWmfCost::ordinaryPicturesAreDrawnWhole_data()
{
    QTest::addColumn<QByteArray>("data");
    QFile globe(QStringLiteral(SOURCE_DIR "/data/picture/globe.wmf"));
    QVERIFY(globe.open(QIODevice::ReadOnly));
    QTest::newRow("the globe") << globe.readAll();

    // The largest picture with a few dozen everyday figures and words.
    wmf::Writer w = largest();
    w.selectObject(w.createPen(wmf::PsSolid, 12, Qt::darkBlue));
    w.selectObject(w.createBrush(wmf::BsSolid, QColor(250, 220, 120)));
    w.rectangle(0, 0, kSide, kSide);
    for (int i = 0; i < 20; ++i) {
        w.ellipse(i * 200, i * 150, i * 200 + 300, i * 150 + 200);
        w.roundRect(i * 190, 3000 - i * 100, i * 190 + 150, 3100 - i * 100, 30, 30);
        w.polygon(QPolygon({QPoint(i * 200, 100), QPoint(i * 200 + 150, 400), QPoint(i * 200 + 20, 600)}));
    }
    w.selectObject(w.createPen(wmf::PsDash, 0, Qt::black));
    for (int i = 0; i < 50; ++i)
        w.polyline(QPolygon({QPoint(0, i * 80), QPoint(2000, i * 80 + 40), QPoint(4000, i * 80)}));
    wmf::LogFont f;
    f.height = -40;
    w.selectObject(w.createFont(f));
    for (int i = 0; i < 30; ++i)
        w.textOut(100, 100 + i * 120, QStringLiteral("衍枰占卜 line %1").arg(i));
    marker(w);
    QTest::newRow("a busy page") << w.data();

    // Headings in large, turned glyphs, the Chinese faces among them.
    wmf::Writer headings = largest();
    headings.setBkMode(wmf::Transparent);
    int k = 0;
    for (const char *face : {"宋体", "楷体_GB2312", "Arial"}) {
        for (const int pixels : {120, 400, 1200}) {
            wmf::LogFont heading;
            heading.height = -pixels;
            heading.escapement = 150 * k;
            heading.faceName = QString::fromUtf8(face);
            headings.selectObject(headings.createFont(heading));
            headings.textOut(200 + 300 * k, 300 + 400 * k, QStringLiteral("衍枰占卜"));
            ++k;
        }
    }
    marker(headings);
    QTest::newRow("large headings") << headings.data();
}

void TestWmfCost::ordinaryPicturesAreDrawnWhole()
{
    QFETCH(QByteArray, data);
    wmf::Report report;
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(data, estimatesOnly(), &report);
    QVERIFY2(timer.elapsed() < kTimeCap, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QVERIFY(!img.isNull());
    QVERIFY(!report.stoppedEarly);
    QCOMPARE(report.aliasedFigures, 0);
    QVERIFY(report.work < wmf::Limits().paintBudget);
    if (img.width() == kSide)
        QVERIFY(hasMarker(img));
}

void TestWmfCost::complexFillsLoseAntialiasing()
{
    // An ellipse keeps its soft edge; a polygon whose edges all cross the
    // whole picture is filled without antialiasing, and whole.
    wmf::Writer simple = largest();
    solid(simple, Qt::red);
    simple.ellipse(100, 100, 4000, 4000);
    wmf::Report simpleReport;
    const QImage soft = wmf::render(simple.data(), estimatesOnly(), &simpleReport);
    QCOMPARE(simpleReport.aliasedFigures, 0);
    QVERIFY(partlyCoveredPixels(soft) > 0);

    wmf::Writer complex = largest();
    solid(complex, Qt::red);
    complex.polygon(zigzag(100, true));
    marker(complex);
    wmf::Report report;
    QElapsedTimer timer;
    timer.start();
    const QImage hard = wmf::render(complex.data(), estimatesOnly(), &report);
    QVERIFY2(timer.elapsed() < kTimeCap, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QCOMPARE(report.aliasedFigures, 1);
    QVERIFY(!report.stoppedEarly);
    QVERIFY(hasMarker(hard));
    QCOMPARE(partlyCoveredPixels(hard), 0);
    int filled = 0;
    for (int y = 0; y < kSide; y += 16)
        for (int x = 0; x < kSide; x += 16)
            filled += qAlpha(hard.pixel(x, y)) == 255;
    QVERIFY2(filled > 256 * 256 / 4, qPrintable(QString::number(filled)));
}

void TestWmfCost::costFollowsEdgesAndHeight()
{
    using namespace wmf::detail;
    const QSize picture(kSide, kSide);
    // Edges from row `top` to row `bottom` and back, spread across.
    auto rows = [](int edges, double top, double bottom) {
        QPolygonF p;
        for (int i = 0; i < edges; ++i)
            p << QPointF(i * 4000.0 / edges, i % 2 ? bottom : top);
        QPainterPath path;
        path.addPolygon(p);
        path.closeSubpath();
        return path;
    };
    auto fill = [&](const QPainterPath &path) { return fillWork(path, cost::kSolidPixel, picture); };

    // Antialiased, more long edges cost more than in proportion, and so
    // does the same figure made taller: every band walks every long edge.
    QVERIFY(fill(rows(40, 0, 4000)).antialiased > 4 * fill(rows(10, 0, 4000)).antialiased);
    QVERIFY(fill(rows(10, 0, 4000)).antialiased > 4 * fill(rows(10, 0, 1000)).antialiased);
    // Edges reaching far outside are walked there too; a figure wholly
    // outside costs little.
    QVERIFY(fill(rows(10, -26000, 30000)).antialiased > 5 * fill(rows(10, 0, 4000)).antialiased);
    QVERIFY(fill(rows(10, -100, -4000)).antialiased < fill(rows(10, 0, 1000)).antialiased / 10);
    // Aliased, the rasterizing grows with the square of the edges in a row
    // and ignores what is outside.
    auto edgesOnly = [&](const QPainterPath &path) { return fillWork(path, 0, picture).aliased; };
    QVERIFY(edgesOnly(rows(100, 0, 4000)) > 30 * edgesOnly(rows(10, 0, 4000)));
    QVERIFY(edgesOnly(rows(100, -26000, 30000)) < 2 * edgesOnly(rows(100, 0, 4000)));
    // Only figures far beyond anything ordinary give up antialiasing, and
    // only for something cheaper.
    QVERIFY(fill(rows(4, 0, 4000)).useAntialiasing());
    const FigureWork zigzag = fill(rows(100, 0, 4000));
    QVERIFY(!zigzag.useAntialiasing());
    QVERIFY(zigzag.chosen() < zigzag.antialiased / 10);

    // Wide pens: by their width and the length of the path, and by their
    // corners; one-pixel pens by the length within the picture.
    QPainterPath line;
    line.addPolygon(QPolygonF({QPointF(0, 2000), QPointF(4000, 2000)}));
    QPainterPath corners;
    QPolygonF many;
    for (int i = 0; i < 400; ++i)
        many << QPointF(i * 10, i % 2 ? 4000 : 0);
    corners.addPolygon(many);
    QVERIFY(wideStrokeWork(line, 300, picture).antialiased > 4 * wideStrokeWork(line, 3, picture).antialiased);
    QVERIFY(wideStrokeWork(corners, 3, picture).antialiased > 100 * wideStrokeWork(line, 3, picture).antialiased);
    const QPolygonF inside({QPointF(0, 0), QPointF(4000, 4000)});
    const QPolygonF half({QPointF(0, 0), QPointF(2000, 2000)});
    const QPolygonF outside({QPointF(-9000, 0), QPointF(-9000, 30000)});
    const double full = thinLineWork({inside}, picture);
    QVERIFY(qAbs(full / thinLineWork({half}, picture) - 2) < 0.1);
    QVERIFY(thinLineWork({outside}, picture) < full / 100);
}

QTEST_MAIN(TestWmfCost)
#include "test_wmfcost.moc"
