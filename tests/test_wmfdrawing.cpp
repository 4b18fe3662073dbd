// The metafile reader draws: figures and lines where they were written,
// arcs, fill modes, pattern brushes, and text with its font, alignment and
// background.
#include "formats/wmf/Wmf.h"
#include "tools/wmfwriter/WmfWriter.h"
#include "wmftest.h"

#include <QFont>
#include <QFontMetricsF>
#include <QtTest>

#include <functional>

using namespace wmftest;

class TestWmfDrawing : public QObject
{
    Q_OBJECT
private slots:
    void figuresKeepTheirPlace_data();
    void figuresKeepTheirPlace();
    void linesKeepTheirPlace_data();
    void linesKeepTheirPlace();
    void arcsRunCounterClockwise_data();
    void arcsRunCounterClockwise();
    void polyFillMode_data();
    void polyFillMode();
    void patternBrush_data();
    void patternBrush();
    void fontHeightSign();
    void textAlignment_data();
    void textAlignment();
    void textBackground_data();
    void textBackground();
    void gbkTextAndFace();
};

void TestWmfDrawing::figuresKeepTheirPlace_data()
{
    // Every figure sits in a 100 x 60 picture, wider than high, well away
    // from the diagonal: swapped x and y put it somewhere else entirely.
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");

    auto make = [](const std::function<void(wmf::Writer &)> &draw) {
        wmf::Writer w = plain(100, 60);
        solidFill(w, kRed);
        draw(w);
        return w.data();
    };
    QTest::newRow("rectangle") << make([](wmf::Writer &w) { w.rectangle(60, 5, 95, 20); }) << QPoint(85, 10)
                               << QPoint(10, 85 - 40);
    QTest::newRow("rectangle, edges given backwards")
        << make([](wmf::Writer &w) { w.rectangle(95, 20, 60, 5); }) << QPoint(85, 10) << QPoint(10, 45);
    QTest::newRow("round rectangle") << make([](wmf::Writer &w) { w.roundRect(60, 5, 95, 25, 6, 6); }) << QPoint(77, 15)
                                     << QPoint(15, 50);
    QTest::newRow("ellipse") << make([](wmf::Writer &w) { w.ellipse(50, 2, 98, 26); }) << QPoint(74, 14)
                             << QPoint(14, 50);
    QTest::newRow("polygon") << make([](wmf::Writer &w) {
        w.polygon(QPolygon({QPoint(60, 5), QPoint(95, 5), QPoint(95, 25)}));
    }) << QPoint(90, 10) << QPoint(10, 52);
    QTest::newRow("poly-polygon") << make([](wmf::Writer &w) {
        w.polyPolygon({QPolygon({QPoint(2, 40), QPoint(30, 40), QPoint(30, 58), QPoint(2, 58)}),
                       QPolygon({QPoint(60, 5), QPoint(95, 5), QPoint(95, 25), QPoint(60, 25)})});
    }) << QPoint(80, 15) << QPoint(50, 30);
    QTest::newRow("poly-polygon, first ring") << make([](wmf::Writer &w) {
        w.polyPolygon({QPolygon({QPoint(2, 40), QPoint(30, 40), QPoint(30, 58), QPoint(2, 58)}),
                       QPolygon({QPoint(60, 5), QPoint(95, 5), QPoint(95, 25), QPoint(60, 25)})});
    }) << QPoint(20, 50) << QPoint(50, 20);
    QTest::newRow("pie") << make([](wmf::Writer &w) { w.pie(QRect(50, 0, 48, 30), 98, 15, 74, 0); }) << QPoint(84, 8)
                         << QPoint(8, 84 - 30);
    QTest::newRow("chord") << make([](wmf::Writer &w) { w.chord(QRect(50, 0, 48, 30), 98, 15, 50, 15); })
                           << QPoint(74, 6) << QPoint(74, 24);
}

void TestWmfDrawing::figuresKeepTheirPlace()
{
    QFETCH(QByteArray, data);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    const QImage img = wmf::render(data);
    QCOMPARE(img.size(), QSize(100, 60));
    QVERIFY2(sameColor(img, inside, kRed), qPrintable(describe(img, inside)));
    QVERIFY2(isEmptyAt(img, outside), qPrintable(describe(img, outside)));
}

void TestWmfDrawing::linesKeepTheirPlace_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QPoint>("on");
    QTest::addColumn<QPoint>("off");

    auto make = [](const std::function<void(wmf::Writer &)> &draw) {
        wmf::Writer w = plain(100, 60);
        w.selectObject(w.createPen(wmf::PsSolid, 3, kBlue));
        draw(w);
        return w.data();
    };
    QTest::newRow("horizontal line") << make([](wmf::Writer &w) {
        w.moveTo(10, 50);
        w.lineTo(90, 50);
    }) << QPoint(70, 50) << QPoint(50, 10);
    QTest::newRow("vertical line") << make([](wmf::Writer &w) {
        w.moveTo(80, 5);
        w.lineTo(80, 55);
    }) << QPoint(80, 10) << QPoint(10, 55);
    QTest::newRow("line continues from its end") << make([](wmf::Writer &w) {
        w.moveTo(5, 5);
        w.lineTo(95, 5);
        w.lineTo(95, 55);
    }) << QPoint(95, 40) << QPoint(40, 55);
    QTest::newRow("polyline") << make([](wmf::Writer &w) {
        w.polyline(QPolygon({QPoint(10, 40), QPoint(90, 40), QPoint(90, 10)}));
    }) << QPoint(90, 20) << QPoint(20, 58);
    QTest::newRow("polyline is not closed") << make([](wmf::Writer &w) {
        w.polyline(QPolygon({QPoint(10, 40), QPoint(90, 40), QPoint(90, 10)}));
    }) << QPoint(90, 25) << QPoint(50, 25);
    QTest::newRow("polygon outline") << make([](wmf::Writer &w) {
        w.selectObject(w.createBrush(wmf::BsNull, Qt::black));
        w.polygon(QPolygon({QPoint(10, 40), QPoint(90, 40), QPoint(90, 10)}));
    }) << QPoint(50, 25) << QPoint(60, 35);
}

void TestWmfDrawing::linesKeepTheirPlace()
{
    QFETCH(QByteArray, data);
    QFETCH(QPoint, on);
    QFETCH(QPoint, off);
    const QImage img = wmf::render(data);
    QVERIFY2(sameColor(img, on, kBlue), qPrintable(describe(img, on)));
    QVERIFY2(isEmptyAt(img, off), qPrintable(describe(img, off)));
}

void TestWmfDrawing::arcsRunCounterClockwise_data()
{
    // A pie in a circle of radius 40 around (50, 50): from the start ray
    // counter-clockwise (as seen on the screen) to the end ray.
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QList<QPoint>>("filled");
    QTest::addColumn<QList<QPoint>>("empty");

    const QPoint right(70, 50), up(50, 30), left(30, 50), down(50, 70);
    const QPoint upperRight(65, 35), upperLeft(35, 35), lowerLeft(35, 65), lowerRight(65, 65);
    QTest::newRow("right to up") << QPoint(100, 50) << QPoint(50, 0) << QList<QPoint> {upperRight}
                                 << QList<QPoint> {upperLeft, lowerLeft, lowerRight};
    QTest::newRow("up to right, the long way")
        << QPoint(50, 0) << QPoint(100, 50) << QList<QPoint> {upperLeft, lowerLeft, lowerRight}
        << QList<QPoint> {upperRight};
    QTest::newRow("left to right, lower half")
        << QPoint(0, 50) << QPoint(100, 50) << QList<QPoint> {lowerLeft, lowerRight, down}
        << QList<QPoint> {upperLeft, upperRight, up};
    QTest::newRow("same ray: whole ellipse")
        << QPoint(100, 50) << QPoint(100, 50) << QList<QPoint> {upperRight, upperLeft, lowerLeft, lowerRight}
        << QList<QPoint> {};
    QTest::newRow("rays far outside still aim")
        << QPoint(-1000, 50) << QPoint(50, -1000) << QList<QPoint> {lowerLeft, lowerRight, upperRight, right}
        << QList<QPoint> {upperLeft};
    Q_UNUSED(left);
}

void TestWmfDrawing::arcsRunCounterClockwise()
{
    QFETCH(QPoint, start);
    QFETCH(QPoint, end);
    QFETCH(QList<QPoint>, filled);
    QFETCH(QList<QPoint>, empty);
    wmf::Writer w = plain(100, 100);
    solidFill(w, kGreen);
    w.pie(QRect(10, 10, 80, 80), start.x(), start.y(), end.x(), end.y());
    const QImage img = wmf::render(w.data());
    for (const QPoint &p : filled)
        QVERIFY2(sameColor(img, p, kGreen), qPrintable(describe(img, p)));
    for (const QPoint &p : empty)
        QVERIFY2(isEmptyAt(img, p), qPrintable(describe(img, p)));
}

void TestWmfDrawing::polyFillMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("centreFilled");
    QTest::newRow("alternate") << int(wmf::Alternate) << false;
    QTest::newRow("winding") << int(wmf::Winding) << true;
    QTest::newRow("unknown value keeps alternate") << 7 << false;
}

void TestWmfDrawing::polyFillMode()
{
    QFETCH(int, mode);
    QFETCH(bool, centreFilled);
    wmf::Writer w = plain(100, 100);
    solidFill(w, kBlue);
    w.setPolyFillMode(mode);
    // Two squares, the inner one wound the same way as the outer one.
    w.polyPolygon({QPolygon({QPoint(10, 10), QPoint(90, 10), QPoint(90, 90), QPoint(10, 90)}),
                   QPolygon({QPoint(30, 30), QPoint(70, 30), QPoint(70, 70), QPoint(30, 70)})});
    const QImage img = wmf::render(w.data());
    QVERIFY(sameColor(img, QPoint(20, 20), kBlue));
    QCOMPARE(sameColor(img, QPoint(50, 50), kBlue), centreFilled);
    QCOMPARE(isEmptyAt(img, QPoint(50, 50)), !centreFilled);
}

void TestWmfDrawing::patternBrush_data()
{
    // Brushes with a picture repeat it from the picture's top-left corner;
    // the stored rows run bottom-up and the colours blue, green, red.
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QList<QColor>>("colors");

    QImage tile(2, 2, QImage::Format_RGB32);
    tile.setPixelColor(0, 0, kRed);
    tile.setPixelColor(1, 0, kGreen);
    tile.setPixelColor(0, 1, kBlue);
    tile.setPixelColor(1, 1, kYellow);
    wmf::Writer w = plain(20, 20);
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    w.selectObject(w.createDibPatternBrush(tile));
    w.rectangle(0, 0, 20, 20);
    QTest::newRow("24 bits") << w.data() << QList<QPoint> {{4, 6}, {5, 6}, {4, 7}, {5, 7}}
                             << QList<QColor> {kRed, kGreen, kBlue, kYellow};

    // 8 x 8, one bit a pixel: rows alternate 0xAA and 0x55 from the top.
    QByteArray dib;
    put32(dib, 40);
    put32(dib, 8);
    put32(dib, 8);
    put16(dib, 1);
    put16(dib, 1);
    for (int i = 0; i < 6; ++i)
        put32(dib, 0);
    dib += QByteArray("\x00\x00\xDC\x00", 4); // 0: red
    dib += QByteArray("\xDC\x00\x00\x00", 4); // 1: blue
    for (int stored = 0; stored < 8; ++stored) {
        const int y = 7 - stored;
        dib.append(char(y % 2 ? 0x55 : 0xAA));
        dib += QByteArray(3, '\0');
    }
    const QByteArray oneBit = header() + windowOf(20, 20)
        + record(wmf::CreatePenIndirect, words({wmf::PsNull, 0, 0, 0, 0})) + record(wmf::SelectObject, words({0}))
        + record(wmf::DibCreatePatternBrush, words({5, 0}) + dib) + record(wmf::SelectObject, words({1}))
        + record(wmf::Rectangle, words({20, 20, 0, 0})) + eof();
    QTest::newRow("1 bit") << oneBit << QList<QPoint> {{0, 0}, {1, 0}, {0, 1}, {9, 1}, {10, 10}}
                           << QList<QColor> {kBlue, kRed, kRed, kBlue, kBlue};
}

void TestWmfDrawing::patternBrush()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<QColor>, colors);
    const QImage img = wmf::render(data);
    for (int i = 0; i < points.size(); ++i)
        QVERIFY2(sameColor(img, points[i], colors[i]), qPrintable(describe(img, points[i])));
}

void TestWmfDrawing::fontHeightSign()
{
    // The same letter with height -60 (character height) and 60 (cell
    // height, taking in the internal leading): the first is taller.
    auto letterHeight = [](int height) {
        wmf::Writer w = plain(200, 200);
        w.setBkMode(wmf::Transparent);
        w.setTextColor(Qt::black);
        wmf::LogFont f;
        f.height = height;
        f.faceName = QStringLiteral("DejaVu Sans");
        w.selectObject(w.createFont(f));
        w.textOut(20, 20, QStringLiteral("H"));
        return inkBox(wmf::render(w.data())).height();
    };
    const int character = letterHeight(-60);
    const int cell = letterHeight(60);
    QVERIFY2(cell > 20, qPrintable(QString::number(cell)));
    QVERIFY2(character > cell, qPrintable(QStringLiteral("%1 vs %2").arg(character).arg(cell)));

    // The ratio is the font's cell height to its character height.
    QFont probe(QStringLiteral("DejaVu Sans"));
    probe.setPixelSize(600);
    const QFontMetricsF fm(probe);
    const double expected = (fm.ascent() + fm.descent()) / 600.0;
    const double ratio = double(character) / cell;
    QVERIFY2(qAbs(ratio - expected) < 0.12, qPrintable(QStringLiteral("ratio %1, font %2").arg(ratio).arg(expected)));
}

void TestWmfDrawing::textAlignment_data()
{
    // "Hgy" at (100, 100) in a 200 x 200 picture; where does the ink lie?
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("leftOfPoint"); // ink ends left of x = 100
    QTest::addColumn<bool>("rightOfPoint"); // ink starts right of x = 100
    QTest::addColumn<bool>("abovePoint"); // ink ends above y = 100
    QTest::addColumn<bool>("belowPoint"); // ink starts below y = 100

    QTest::newRow("left top") << int(wmf::TaLeft | wmf::TaTop) << false << true << false << true;
    QTest::newRow("right top") << int(wmf::TaRight | wmf::TaTop) << true << false << false << true;
    QTest::newRow("left bottom") << int(wmf::TaLeft | wmf::TaBottom) << false << true << true << false;
    // Letters with descenders reach below the baseline.
    QTest::newRow("right baseline") << int(wmf::TaRight | wmf::TaBaseline) << true << false << false << false;
    QTest::newRow("centre top") << int(wmf::TaCenter | wmf::TaTop) << false << false << false << true;
}

void TestWmfDrawing::textAlignment()
{
    QFETCH(int, align);
    QFETCH(bool, leftOfPoint);
    QFETCH(bool, rightOfPoint);
    QFETCH(bool, abovePoint);
    QFETCH(bool, belowPoint);
    wmf::Writer w = plain(200, 200);
    w.setBkMode(wmf::Transparent);
    w.setTextAlign(align);
    wmf::LogFont f;
    f.height = -30;
    w.selectObject(w.createFont(f));
    w.textOut(100, 100, QStringLiteral("Hgy"));
    const QRect ink = inkBox(wmf::render(w.data()));
    QVERIFY(!ink.isEmpty());
    const QString where
        = QStringLiteral("ink %1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height());
    QVERIFY2((ink.right() < 100) == leftOfPoint, qPrintable(where));
    QVERIFY2((ink.left() > 100) == rightOfPoint, qPrintable(where));
    QVERIFY2((ink.bottom() < 100) == abovePoint, qPrintable(where));
    QVERIFY2((ink.top() > 100) == belowPoint, qPrintable(where));
    if (!leftOfPoint && !rightOfPoint) // centred: about as much on each side
        QVERIFY2(qAbs((100 - ink.left()) - (ink.right() - 100)) <= 4, qPrintable(where));
}

void TestWmfDrawing::textBackground_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("options");
    QTest::addColumn<bool>("backgroundShown");
    QTest::newRow("opaque by default") << 0 << 0 << true;
    QTest::newRow("opaque") << int(wmf::Opaque) << 0 << true;
    QTest::newRow("transparent") << int(wmf::Transparent) << 0 << false;
    QTest::newRow("transparent, opaque rectangle") << int(wmf::Transparent) << int(wmf::EtoOpaque) << true;
}

void TestWmfDrawing::textBackground()
{
    QFETCH(int, mode);
    QFETCH(int, options);
    QFETCH(bool, backgroundShown);
    wmf::Writer w = plain(200, 100);
    if (mode)
        w.setBkMode(mode);
    w.setBkColor(kYellow);
    w.setTextColor(kBlue);
    wmf::LogFont f;
    f.height = -40;
    w.selectObject(w.createFont(f));
    // The opaque rectangle, when asked for, covers (0, 0) to (200, 60).
    w.extTextOut(10, 10, options, QRect(0, 0, 200, 60), QStringLiteral("i    i"));
    const QImage img = wmf::render(w.data());
    // Among the spaces, inside the text's cell.
    bool yellow = false;
    for (int x = 30; x < 40; ++x)
        yellow = yellow || sameColor(img, QPoint(x, 30), kYellow);
    QCOMPARE(yellow, backgroundShown);
    QVERIFY(!inkBox(img).isEmpty());
}

void TestWmfDrawing::gbkTextAndFace()
{
    // Chinese text and a Chinese face name in GBK; the bytes of the face
    // are read up to their end, and the text draws.
    wmf::Writer w = plain(200, 80);
    w.setBkMode(wmf::Transparent);
    w.setTextColor(kRed);
    wmf::LogFont f;
    f.height = -40;
    f.faceName = QStringLiteral("宋体");
    w.selectObject(w.createFont(f));
    w.textOut(10, 10, QStringLiteral("中"));
    const QImage img = wmf::render(w.data());
    const QRect ink = inkBox(img);
    // One square character 40 pixels high, not the two Latin-1 letters its
    // two bytes would make.
    QVERIFY2(ink.width() >= 20 && ink.width() <= 42, qPrintable(QString::number(ink.width())));
    QVERIFY2(ink.height() >= 20 && ink.height() <= 42, qPrintable(QString::number(ink.height())));

    // Bytes that are not GBK still draw (as Latin-1), one character each.
    wmf::Writer latin = plain(200, 80);
    latin.setBkMode(wmf::Transparent);
    latin.selectObject(latin.createFont(f));
    QByteArray p = words({3});
    p += QByteArray("\xFF\xE9\xFF", 3);
    p += QByteArray(1, '\0');
    p += words({10, 10});
    latin.record(wmf::TextOut, p);
    QVERIFY(!inkBox(wmf::render(latin.data())).isEmpty());
}

QTEST_MAIN(TestWmfDrawing)
#include "test_wmfdrawing.moc"
