#include "formats/Pictures.h"
#include "formats/wmf/Wmf.h"
#include "tools/wmfwriter/WmfWriter.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

const QColor kRed(220, 0, 0);
const QColor kGreen(0, 180, 0);
const QColor kBlue(0, 0, 220);
const QColor kYellow(240, 220, 0);

// A plain picture: width x height pixels through the window extent.
wmf::Writer plain(int width, int height)
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(width, height);
    return w;
}

// Fills with the colour and no outline from here on.
void solidFill(wmf::Writer &w, const QColor &c)
{
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    w.selectObject(w.createBrush(wmf::BsSolid, c));
}

bool sameColor(const QImage &img, const QPoint &p, const QColor &want)
{
    if (!img.rect().contains(p))
        return false;
    const QColor got = img.pixelColor(p);
    return got.alpha() == 255 && qAbs(got.red() - want.red()) <= 8
           && qAbs(got.green() - want.green()) <= 8 && qAbs(got.blue() - want.blue()) <= 8;
}

bool isEmptyAt(const QImage &img, const QPoint &p)
{
    return img.rect().contains(p) && img.pixelColor(p).alpha() == 0;
}

QString describe(const QImage &img, const QPoint &p)
{
    if (!img.rect().contains(p))
        return QStringLiteral("outside");
    const QColor c = img.pixelColor(p);
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

// The box around every pixel that is not transparent.
QRect inkBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 64)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Hand-made pieces for damaged files.
void put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &b, quint32 v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

QByteArray header(quint32 totalWords = 0)
{
    QByteArray b;
    put16(b, 1);
    put16(b, 9);
    put16(b, 0x0300);
    put32(b, totalWords);
    put16(b, 0);
    put32(b, 0);
    put16(b, 0);
    return b;
}

QByteArray placeable(int left, int top, int right, int bottom, int inch)
{
    QByteArray b;
    put32(b, 0x9AC6CDD7u);
    put16(b, 0);
    put16(b, left);
    put16(b, top);
    put16(b, right);
    put16(b, bottom);
    put16(b, inch);
    put32(b, 0);
    put16(b, 0);
    return b;
}

// A record with whatever size word the test wants.
QByteArray rawRecord(quint32 words, quint16 function, const QByteArray &params = {})
{
    QByteArray b;
    put32(b, words);
    put16(b, function);
    return b + params;
}

QByteArray record(quint16 function, const QByteArray &params = {})
{
    QByteArray p = params;
    if (p.size() % 2)
        p.append('\0');
    return rawRecord(quint32(3 + p.size() / 2), function, p);
}

QByteArray words(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        put16(b, v);
    return b;
}

QByteArray eof() { return rawRecord(3, 0); }

QByteArray windowOf(int w, int h) { return record(wmf::SetWindowExt, words({h, w})); }

} // namespace

class TestWmf : public QObject
{
    Q_OBJECT
private slots:
    void naturalSize_data();
    void naturalSize();
    void notAMetafile_data();
    void notAMetafile();
    void backgroundIsTransparent();
    void roundTrip();
    void renderFileAndPictureLoader();
    void figuresKeepTheirPlace_data();
    void figuresKeepTheirPlace();
    void linesKeepTheirPlace_data();
    void linesKeepTheirPlace();
    void placeableOriginAndScale();
    void viewportAndMapModes_data();
    void viewportAndMapModes();
    void arcsRunCounterClockwise_data();
    void arcsRunCounterClockwise();
    void polyFillMode_data();
    void polyFillMode();
    void lowestFreeSlot_data();
    void lowestFreeSlot();
    void deletedObjectCannotBeSelected();
    void patternBrush_data();
    void patternBrush();
    void saveAndRestore_data();
    void saveAndRestore();
    void savedStatesAreCapped_data();
    void savedStatesAreCapped();
    void restoreBringsBackMapping();
    void fontHeightSign();
    void textAlignment_data();
    void textAlignment();
    void textBackground_data();
    void textBackground();
    void gbkTextAndFace();
    void malformed_data();
    void malformed();
    void randomGarbage();
    void paintingWorkIsCapped();
};

void TestWmf::naturalSize_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");

    wmf::Writer inches;
    inches.setPlaceable(QRect(0, 0, 2880, 1440), 1440);
    QTest::newRow("placeable, 1440 a inch") << inches.data() << QSize(192, 96);

    wmf::Writer offset;
    offset.setPlaceable(QRect(10, 20, 100, 50), 96);
    QTest::newRow("placeable, bounds away from 0") << offset.data() << QSize(100, 50);

    wmf::Writer metric;
    metric.setPlaceable(QRect(-500, -250, 1000, 250), 1000);
    QTest::newRow("placeable, 1000 a inch") << metric.data() << QSize(96, 24);

    wmf::Writer placeableWins;
    placeableWins.setPlaceable(QRect(0, 0, 300, 200), 96);
    placeableWins.setWindowExt(30, 20);
    QTest::newRow("placeable header over window extent") << placeableWins.data() << QSize(300, 200);

    QTest::newRow("window extent") << plain(120, 80).data() << QSize(120, 80);
    QTest::newRow("window extent, y up") << plain(120, -80).data() << QSize(120, 80);
    QTest::newRow("biggest allowed") << plain(4096, 4096).data() << QSize(4096, 4096);

    wmf::Writer first = plain(64, 32);
    first.setWindowExt(500, 500);
    QTest::newRow("first window extent counts") << first.data() << QSize(64, 32);
}

void TestWmf::naturalSize()
{
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    QCOMPARE(wmf::naturalSize(data), size);
    const QImage img = wmf::render(data);
    QCOMPARE(img.size(), size);
    QVERIFY(img.hasAlphaChannel());
}

void TestWmf::notAMetafile_data()
{
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("GIF") << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);
    QTest::newRow("no window extent") << (header() + record(wmf::Rectangle, words({9, 9, 0, 0})) + eof());
    QTest::newRow("header size wrong") << QByteArray(header()).replace(2, 1, "\x08") + windowOf(10, 10);
    QTest::newRow("type wrong") << QByteArray(header()).replace(0, 1, "\x05") + windowOf(10, 10);
    QTest::newRow("window extent too wide") << plain(4097, 10).data();
    QTest::newRow("window extent too high") << plain(10, -5000).data();
    QTest::newRow("window extent zero") << plain(0, 10).data();
    QTest::newRow("placeable too large") << placeable(0, 0, 5000, 100, 96) + header() + eof();
    QTest::newRow("placeable zero width") << placeable(10, 0, 10, 100, 96) + header() + eof();
    QTest::newRow("placeable negative height") << placeable(0, 100, 100, 0, 96) + header() + eof();
    QTest::newRow("placeable zero inch") << placeable(0, 0, 100, 100, 0) + header() + eof();
    QTest::newRow("placeable, huge scale") << placeable(0, 0, 1000, 1000, 1) + header() + eof();
    QTest::newRow("placeable, no header") << placeable(0, 0, 100, 100, 96);
}

void TestWmf::notAMetafile()
{
    QFETCH(QByteArray, data);
    QVERIFY(wmf::render(data).isNull());
    QVERIFY(!wmf::naturalSize(data).isValid());
}

void TestWmf::backgroundIsTransparent()
{
    wmf::Writer w = plain(50, 40);
    solidFill(w, kRed);
    w.rectangle(10, 10, 20, 20);
    const QImage img = wmf::render(w.data());
    QVERIFY(sameColor(img, QPoint(15, 15), kRed));
    QVERIFY(isEmptyAt(img, QPoint(0, 0)));
    QVERIFY(isEmptyAt(img, QPoint(49, 39)));
    QVERIFY(isEmptyAt(img, QPoint(30, 15)));
}

void TestWmf::roundTrip()
{
    // A small picture through the writer: placeable header, pens, brushes,
    // several figures; each lands where it was written, in its colour.
    wmf::Writer w;
    w.setPlaceable(QRect(0, 0, 3000, 1500), 1440); // 200 x 100 pixels
    w.setMapMode(wmf::MmAnisotropic);
    w.setWindowOrg(0, 0);
    w.setWindowExt(3000, 1500);
    w.setBkMode(wmf::Transparent);
    const int outline = w.createPen(wmf::PsSolid, 45, kBlue); // 3 pixels
    const int red = w.createBrush(wmf::BsSolid, kRed);
    const int green = w.createBrush(wmf::BsSolid, kGreen);
    w.selectObject(outline);
    w.selectObject(red);
    w.rectangle(150, 150, 1350, 1350);
    w.selectObject(green);
    w.ellipse(1650, 150, 2850, 1350);
    const QByteArray data = w.data();

    QCOMPARE(qFromLittleEndian<quint32>(data.constData()), 0x9AC6CDD7u);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<quint16>(data.constData() + i);
    QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 20), sum);
    // The header's size word counts the whole metafile after the placeable header.
    QCOMPARE(qint64(qFromLittleEndian<quint32>(data.constData() + 22 + 6)) * 2, qint64(data.size() - 22));
    QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 22 + 10), quint16(3)); // objects

    const QImage img = wmf::render(data);
    QCOMPARE(img.size(), QSize(200, 100));
    QVERIFY2(sameColor(img, QPoint(50, 50), kRed), qPrintable(describe(img, QPoint(50, 50))));
    QVERIFY2(sameColor(img, QPoint(150, 50), kGreen), qPrintable(describe(img, QPoint(150, 50))));
    QVERIFY2(sameColor(img, QPoint(50, 11), kBlue), qPrintable(describe(img, QPoint(50, 11))));
    QVERIFY2(sameColor(img, QPoint(10, 50), kBlue), qPrintable(describe(img, QPoint(10, 50))));
    QVERIFY(isEmptyAt(img, QPoint(100, 50)));
    QVERIFY(isEmptyAt(img, QPoint(112, 12))); // outside the ellipse's corner
    QVERIFY(isEmptyAt(img, QPoint(50, 96)));
}

void TestWmf::renderFileAndPictureLoader()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    wmf::Writer w = plain(40, 30);
    solidFill(w, kGreen);
    w.rectangle(0, 0, 40, 30);
    const QString path = dir.filePath(QStringLiteral("globe.wmf"));
    QVERIFY(w.save(path));

    const QImage img = wmf::renderFile(path);
    QCOMPARE(img.size(), QSize(40, 30));
    QVERIFY(sameColor(img, QPoint(20, 15), kGreen));
    QVERIFY(wmf::renderFile(dir.filePath(QStringLiteral("missing.wmf"))).isNull());

    QPixmap pixmap;
    errors::Failure failure;
    QVERIFY(pictures::load(path, &pixmap, &failure));
    QCOMPARE(pixmap.size(), QSize(40, 30));

    const QString broken = dir.filePath(QStringLiteral("broken.wmf"));
    QFile f(broken);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    QVERIFY(!pictures::load(broken, &pixmap, &failure));
    QCOMPARE(failure.number, int(errors::InvalidPicture));
}

void TestWmf::figuresKeepTheirPlace_data()
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
    QTest::newRow("rectangle") << make([](wmf::Writer &w) { w.rectangle(60, 5, 95, 20); })
                               << QPoint(85, 10) << QPoint(10, 85 - 40);
    QTest::newRow("rectangle, edges given backwards")
        << make([](wmf::Writer &w) { w.rectangle(95, 20, 60, 5); }) << QPoint(85, 10) << QPoint(10, 45);
    QTest::newRow("round rectangle")
        << make([](wmf::Writer &w) { w.roundRect(60, 5, 95, 25, 6, 6); }) << QPoint(77, 15) << QPoint(15, 50);
    QTest::newRow("ellipse") << make([](wmf::Writer &w) { w.ellipse(50, 2, 98, 26); })
                             << QPoint(74, 14) << QPoint(14, 50);
    QTest::newRow("polygon")
        << make([](wmf::Writer &w) { w.polygon(QPolygon({QPoint(60, 5), QPoint(95, 5), QPoint(95, 25)})); })
        << QPoint(90, 10) << QPoint(10, 52);
    QTest::newRow("poly-polygon")
        << make([](wmf::Writer &w) {
               w.polyPolygon({QPolygon({QPoint(2, 40), QPoint(30, 40), QPoint(30, 58), QPoint(2, 58)}),
                              QPolygon({QPoint(60, 5), QPoint(95, 5), QPoint(95, 25), QPoint(60, 25)})});
           })
        << QPoint(80, 15) << QPoint(50, 30);
    QTest::newRow("poly-polygon, first ring")
        << make([](wmf::Writer &w) {
               w.polyPolygon({QPolygon({QPoint(2, 40), QPoint(30, 40), QPoint(30, 58), QPoint(2, 58)}),
                              QPolygon({QPoint(60, 5), QPoint(95, 5), QPoint(95, 25), QPoint(60, 25)})});
           })
        << QPoint(20, 50) << QPoint(50, 20);
    QTest::newRow("pie") << make([](wmf::Writer &w) { w.pie(QRect(50, 0, 48, 30), 98, 15, 74, 0); })
                         << QPoint(84, 8) << QPoint(8, 84 - 30);
    QTest::newRow("chord") << make([](wmf::Writer &w) { w.chord(QRect(50, 0, 48, 30), 98, 15, 50, 15); })
                           << QPoint(74, 6) << QPoint(74, 24);
}

void TestWmf::figuresKeepTheirPlace()
{
    QFETCH(QByteArray, data);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    const QImage img = wmf::render(data);
    QCOMPARE(img.size(), QSize(100, 60));
    QVERIFY2(sameColor(img, inside, kRed), qPrintable(describe(img, inside)));
    QVERIFY2(isEmptyAt(img, outside), qPrintable(describe(img, outside)));
}

void TestWmf::linesKeepTheirPlace_data()
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

void TestWmf::linesKeepTheirPlace()
{
    QFETCH(QByteArray, data);
    QFETCH(QPoint, on);
    QFETCH(QPoint, off);
    const QImage img = wmf::render(data);
    QVERIFY2(sameColor(img, on, kBlue), qPrintable(describe(img, on)));
    QVERIFY2(isEmptyAt(img, off), qPrintable(describe(img, off)));
}

void TestWmf::placeableOriginAndScale()
{
    // Bounds from (1000, 2000), 10 units to the pixel: the file's window
    // matches the bounds, so logical (1000 + 10x, 2000 + 10y) is pixel (x, y).
    wmf::Writer w;
    w.setPlaceable(QRect(1000, 2000, 800, 400), 960); // 80 x 40 pixels
    w.setWindowOrg(1000, 2000);
    w.setWindowExt(800, 400);
    solidFill(w, kRed);
    w.rectangle(1500, 2050, 1700, 2150); // pixels (50, 5) to (70, 15)
    const QImage img = wmf::render(w.data());
    QCOMPARE(img.size(), QSize(80, 40));
    QVERIFY(sameColor(img, QPoint(60, 10), kRed));
    QVERIFY(isEmptyAt(img, QPoint(10, 30)));
    QVERIFY(isEmptyAt(img, QPoint(45, 10)));
    QVERIFY(isEmptyAt(img, QPoint(60, 20)));

    // Without its own window the file draws in the bounds' frame.
    wmf::Writer bare;
    bare.setPlaceable(QRect(1000, 2000, 800, 400), 960);
    solidFill(bare, kGreen);
    bare.rectangle(1500, 2050, 1700, 2150);
    const QImage img2 = wmf::render(bare.data());
    QVERIFY(sameColor(img2, QPoint(60, 10), kGreen));
    QVERIFY(isEmptyAt(img2, QPoint(10, 30)));
}

void TestWmf::viewportAndMapModes_data()
{
    // A 100 x 100 picture and a figure drawn after the mapping below.
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");

    auto make = [](const std::function<void(wmf::Writer &)> &setup) {
        wmf::Writer w = plain(100, 100);
        solidFill(w, kRed);
        setup(w);
        return w.data();
    };
    QTest::newRow("viewport extent halves") << make([](wmf::Writer &w) {
        w.setViewportExt(50, 50);
        w.rectangle(0, 0, 100, 100);
    }) << QPoint(25, 25) << QPoint(75, 75);
    QTest::newRow("viewport origin moves") << make([](wmf::Writer &w) {
        w.setViewportOrg(60, 0);
        w.rectangle(0, 0, 30, 30);
    }) << QPoint(75, 15) << QPoint(15, 15);
    QTest::newRow("window origin moves the other way") << make([](wmf::Writer &w) {
        w.setWindowOrg(-60, 0);
        w.rectangle(0, 0, 30, 30);
    }) << QPoint(75, 15) << QPoint(15, 15);
    QTest::newRow("window extent y up") << make([](wmf::Writer &w) {
        w.setWindowOrg(0, 100);
        w.setWindowExt(100, -100);
        w.rectangle(60, 0, 90, 20); // near the bottom
    }) << QPoint(75, 90) << QPoint(75, 10);
    QTest::newRow("anisotropic stretches") << make([](wmf::Writer &w) {
        w.setWindowExt(10, 100);
        w.rectangle(5, 0, 10, 20); // x counts ten pixels a unit
    }) << QPoint(75, 10) << QPoint(25, 10);
    QTest::newRow("isotropic scales both ways alike") << make([](wmf::Writer &w) {
        w.setMapMode(wmf::MmIsotropic);
        w.setWindowExt(10, 100);
        w.rectangle(5, 0, 10, 20); // one pixel a unit both ways
    }) << QPoint(7, 10) << QPoint(75, 10);
    QTest::newRow("text mode is pixels") << make([](wmf::Writer &w) {
        w.setMapMode(wmf::MmText);
        w.setWindowExt(10, 10); // ignored in this mode
        w.rectangle(60, 60, 90, 90);
    }) << QPoint(75, 75) << QPoint(7, 7);
    QTest::newRow("low metric runs y up") << make([](wmf::Writer &w) {
        w.setMapMode(wmf::MmLoMetric); // 0.1 mm: 254 to the inch, 96 pixels
        w.setViewportOrg(0, 100);
        w.rectangle(132, 53, 238, 132); // about (50, 80) to (90, 50) pixels
    }) << QPoint(70, 65) << QPoint(70, 35);
    QTest::newRow("twips") << make([](wmf::Writer &w) {
        w.setMapMode(wmf::MmTwips);
        w.setViewportOrg(0, 100);
        w.rectangle(750, 300, 1350, 750); // pixels (50, 80) to (90, 50)
    }) << QPoint(70, 65) << QPoint(20, 65);
    QTest::newRow("zero extents are ignored") << make([](wmf::Writer &w) {
        w.setWindowExt(0, 0);
        w.setViewportExt(0, 5);
        w.rectangle(60, 60, 90, 90);
    }) << QPoint(75, 75) << QPoint(7, 7);
}

void TestWmf::viewportAndMapModes()
{
    QFETCH(QByteArray, data);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    const QImage img = wmf::render(data);
    QCOMPARE(img.size(), QSize(100, 100));
    QVERIFY2(sameColor(img, inside, kRed), qPrintable(describe(img, inside)));
    QVERIFY2(isEmptyAt(img, outside), qPrintable(describe(img, outside)));
}

void TestWmf::arcsRunCounterClockwise_data()
{
    // A pie in a circle of radius 40 around (50, 50): from the start ray
    // counter-clockwise (as seen on the screen) to the end ray.
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QList<QPoint>>("filled");
    QTest::addColumn<QList<QPoint>>("empty");

    const QPoint right(70, 50), up(50, 30), left(30, 50), down(50, 70);
    const QPoint upperRight(65, 35), upperLeft(35, 35), lowerLeft(35, 65), lowerRight(65, 65);
    QTest::newRow("right to up") << QPoint(100, 50) << QPoint(50, 0) << QList<QPoint>{upperRight}
                                 << QList<QPoint>{upperLeft, lowerLeft, lowerRight};
    QTest::newRow("up to right, the long way") << QPoint(50, 0) << QPoint(100, 50)
                                               << QList<QPoint>{upperLeft, lowerLeft, lowerRight}
                                               << QList<QPoint>{upperRight};
    QTest::newRow("left to right, lower half") << QPoint(0, 50) << QPoint(100, 50)
                                               << QList<QPoint>{lowerLeft, lowerRight, down}
                                               << QList<QPoint>{upperLeft, upperRight, up};
    QTest::newRow("same ray: whole ellipse") << QPoint(100, 50) << QPoint(100, 50)
                                             << QList<QPoint>{upperRight, upperLeft, lowerLeft, lowerRight}
                                             << QList<QPoint>{};
    QTest::newRow("rays far outside still aim") << QPoint(-1000, 50) << QPoint(50, -1000)
                                                << QList<QPoint>{lowerLeft, lowerRight, upperRight, right}
                                                << QList<QPoint>{upperLeft};
    Q_UNUSED(left);
}

void TestWmf::arcsRunCounterClockwise()
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

void TestWmf::polyFillMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("centreFilled");
    QTest::newRow("alternate") << int(wmf::Alternate) << false;
    QTest::newRow("winding") << int(wmf::Winding) << true;
    QTest::newRow("unknown value keeps alternate") << 7 << false;
}

void TestWmf::polyFillMode()
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

void TestWmf::lowestFreeSlot_data()
{
    // The test writes raw slot numbers, not what the writer says, so the
    // reader's table is checked on its own.
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QColor>("expected");

    // Slot 0 holds the pen without outline, selected; the rows begin at 1.
    const QByteArray start = header() + windowOf(20, 20)
                             + record(wmf::CreatePenIndirect, words({wmf::PsNull, 0, 0, 0, 0}))
                             + record(wmf::SelectObject, words({0}));
    auto brush = [](const QColor &c) {
        QByteArray p = words({wmf::BsSolid});
        p.append(char(c.red()));
        p.append(char(c.green()));
        p.append(char(c.blue()));
        p.append('\0');
        p += words({0});
        return record(wmf::CreateBrushIndirect, p);
    };
    auto select = [](int slot) { return record(wmf::SelectObject, words({slot})); };
    auto remove = [](int slot) { return record(wmf::DeleteObject, words({slot})); };
    const QByteArray draw = record(wmf::Rectangle, words({20, 20, 0, 0})) + eof();

    QTest::newRow("middle slot reused")
        << start + brush(kRed) + brush(kGreen) + brush(kBlue) + remove(2) + brush(kYellow) + select(2) + draw
        << kYellow;
    QTest::newRow("lowest of two free slots")
        << start + brush(kRed) + brush(kGreen) + brush(kBlue) + remove(3) + remove(1) + brush(kYellow)
               + select(1) + draw
        << kYellow;
    QTest::newRow("second new object takes the next free slot")
        << start + brush(kRed) + brush(kGreen) + remove(1) + remove(2) + brush(kBlue) + brush(kYellow)
               + select(2) + draw
        << kYellow;
    QTest::newRow("deleting twice frees once")
        << start + brush(kRed) + remove(1) + remove(1) + brush(kGreen) + brush(kBlue) + select(2) + draw
        << kBlue;
    QTest::newRow("palette takes a slot")
        << start + record(wmf::CreatePalette, words({0x300, 1, 0, 0})) + brush(kGreen) + select(2) + draw
        << kGreen;
    QTest::newRow("region takes a slot")
        << start + record(wmf::CreateRegion, words({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})) + brush(kBlue)
               + select(2) + draw
        << kBlue;
    QTest::newRow("pattern brush takes a slot")
        << start + record(wmf::CreatePatternBrush, words({0, 0, 0, 0, 0})) + brush(kRed) + select(2) + draw
        << kRed;
    QTest::newRow("unreadable DIB pattern brush takes a slot")
        << start + record(wmf::DibCreatePatternBrush, words({5, 0})) + brush(kGreen) + select(2) + draw
        << kGreen;
    QTest::newRow("slot of a deleted palette reused")
        << start + record(wmf::CreatePalette, words({0x300, 0})) + brush(kRed) + remove(1) + brush(kBlue)
               + select(1) + draw
        << kBlue;
    QTest::newRow("selecting a palette leaves the brush")
        << start + brush(kGreen) + select(1) + record(wmf::CreatePalette, words({0x300, 0})) + select(2)
               + draw
        << kGreen;
}

void TestWmf::lowestFreeSlot()
{
    QFETCH(QByteArray, data);
    QFETCH(QColor, expected);
    const QImage img = wmf::render(data);
    QCOMPARE(img.size(), QSize(20, 20));
    QVERIFY2(sameColor(img, QPoint(10, 10), expected), qPrintable(describe(img, QPoint(10, 10))));
}

void TestWmf::deletedObjectCannotBeSelected()
{
    wmf::Writer w = plain(20, 20);
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    const int red = w.createBrush(wmf::BsSolid, kRed);
    const int green = w.createBrush(wmf::BsSolid, kGreen);
    w.selectObject(red);
    w.deleteObject(green);
    w.selectObject(green); // empty slot: the red brush stays
    w.selectObject(999);   // beyond the table
    w.rectangle(0, 0, 20, 20);
    const QImage img = wmf::render(w.data());
    QVERIFY(sameColor(img, QPoint(10, 10), kRed));
}

void TestWmf::patternBrush_data()
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
    QTest::newRow("24 bits") << w.data() << QList<QPoint>{{4, 6}, {5, 6}, {4, 7}, {5, 7}}
                             << QList<QColor>{kRed, kGreen, kBlue, kYellow};

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
                              + record(wmf::CreatePenIndirect, words({wmf::PsNull, 0, 0, 0, 0}))
                              + record(wmf::SelectObject, words({0}))
                              + record(wmf::DibCreatePatternBrush, words({5, 0}) + dib)
                              + record(wmf::SelectObject, words({1}))
                              + record(wmf::Rectangle, words({20, 20, 0, 0})) + eof();
    QTest::newRow("1 bit") << oneBit << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {9, 1}, {10, 10}}
                           << QList<QColor>{kBlue, kRed, kRed, kBlue, kBlue};
}

void TestWmf::patternBrush()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<QColor>, colors);
    const QImage img = wmf::render(data);
    for (int i = 0; i < points.size(); ++i)
        QVERIFY2(sameColor(img, points[i], colors[i]), qPrintable(describe(img, points[i])));
}

void TestWmf::saveAndRestore_data()
{
    // Red is selected, saved (level 1); blue selected, saved (level 2);
    // green selected; then the restore below; then a rectangle.
    QTest::addColumn<QList<int>>("restores");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("no restore") << QList<int>{} << kGreen;
    QTest::newRow("-1") << QList<int>{-1} << kBlue;
    QTest::newRow("-2") << QList<int>{-2} << kRed;
    QTest::newRow("-1 twice") << QList<int>{-1, -1} << kRed;
    QTest::newRow("absolute 1") << QList<int>{1} << kRed;
    QTest::newRow("absolute 2") << QList<int>{2} << kBlue;
    QTest::newRow("-2 drops both levels") << QList<int>{-2, -1} << kRed;
    QTest::newRow("absolute 1 drops level 2") << QList<int>{1, 2} << kRed;
    QTest::newRow("too deep is ignored") << QList<int>{-3} << kGreen;
    QTest::newRow("absolute beyond depth is ignored") << QList<int>{3} << kGreen;
    QTest::newRow("zero is ignored") << QList<int>{0} << kGreen;
    QTest::newRow("empty stack after two pops") << QList<int>{-1, -1, -1} << kRed;
}

void TestWmf::saveAndRestore()
{
    QFETCH(QList<int>, restores);
    QFETCH(QColor, expected);
    wmf::Writer w = plain(20, 20);
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    const int red = w.createBrush(wmf::BsSolid, kRed);
    const int blue = w.createBrush(wmf::BsSolid, kBlue);
    const int green = w.createBrush(wmf::BsSolid, kGreen);
    w.selectObject(red);
    w.saveDc();
    w.selectObject(blue);
    w.saveDc();
    w.selectObject(green);
    for (int r : restores)
        w.restoreDc(r);
    w.rectangle(0, 0, 20, 20);
    const QImage img = wmf::render(w.data());
    QVERIFY2(sameColor(img, QPoint(10, 10), expected), qPrintable(describe(img, QPoint(10, 10))));
}

void TestWmf::savedStatesAreCapped_data()
{
    // Level i is saved with brush colour i selected; past the cap nothing
    // more is saved, so one restore brings back the last level that fitted.
    QTest::addColumn<int>("cap");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("restored");
    QTest::newRow("default cap, thousands of saves") << wmf::Limits().maxSavedStates << 5000
                                                     << wmf::Limits().maxSavedStates - 1;
    QTest::newRow("cap of 10") << 10 << 300 << 9;
    QTest::newRow("just past the cap") << 10 << 11 << 9;
    QTest::newRow("exactly the cap") << 10 << 10 << 9;
    QTest::newRow("below the cap") << 64 << 20 << 19;
}

void TestWmf::savedStatesAreCapped()
{
    QFETCH(int, cap);
    QFETCH(int, saves);
    QFETCH(int, restored);
    const auto level = [](int i) { return QColor(i % 256, (i / 256) % 256, 128); };
    wmf::Writer w = plain(20, 20);
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    for (int i = 0; i < saves; ++i) {
        const int brush = w.createBrush(wmf::BsSolid, level(i));
        w.selectObject(brush);
        w.saveDc();
        w.deleteObject(brush); // the selection stays; the slot is free again
    }
    w.restoreDc(-1);
    w.rectangle(0, 0, 20, 20);
    wmf::Limits limits;
    limits.maxSavedStates = cap;
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(w.data(), limits);
    QVERIFY2(timer.elapsed() < 1500, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QVERIFY2(sameColor(img, QPoint(10, 10), level(restored)), qPrintable(describe(img, QPoint(10, 10))));
}

void TestWmf::restoreBringsBackMapping()
{
    wmf::Writer w = plain(100, 100);
    solidFill(w, kRed);
    w.saveDc();
    w.setWindowOrg(-50, -50);
    w.setViewportExt(50, 50);
    w.restoreDc(-1);
    w.rectangle(0, 0, 20, 20);
    const QImage img = wmf::render(w.data());
    QVERIFY(sameColor(img, QPoint(10, 10), kRed));
    QVERIFY(isEmptyAt(img, QPoint(30, 30)));
}

void TestWmf::fontHeightSign()
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
    QVERIFY2(qAbs(ratio - expected) < 0.12,
             qPrintable(QStringLiteral("ratio %1, font %2").arg(ratio).arg(expected)));
}

void TestWmf::textAlignment_data()
{
    // "Hgy" at (100, 100) in a 200 x 200 picture; where does the ink lie?
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("leftOfPoint");  // ink ends left of x = 100
    QTest::addColumn<bool>("rightOfPoint"); // ink starts right of x = 100
    QTest::addColumn<bool>("abovePoint");   // ink ends above y = 100
    QTest::addColumn<bool>("belowPoint");   // ink starts below y = 100

    QTest::newRow("left top") << int(wmf::TaLeft | wmf::TaTop) << false << true << false << true;
    QTest::newRow("right top") << int(wmf::TaRight | wmf::TaTop) << true << false << false << true;
    QTest::newRow("left bottom") << int(wmf::TaLeft | wmf::TaBottom) << false << true << true << false;
    // Letters with descenders reach below the baseline.
    QTest::newRow("right baseline") << int(wmf::TaRight | wmf::TaBaseline) << true << false << false << false;
    QTest::newRow("centre top") << int(wmf::TaCenter | wmf::TaTop) << false << false << false << true;
}

void TestWmf::textAlignment()
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
    const QString where = QStringLiteral("ink %1,%2 %3x%4")
                              .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height());
    QVERIFY2((ink.right() < 100) == leftOfPoint, qPrintable(where));
    QVERIFY2((ink.left() > 100) == rightOfPoint, qPrintable(where));
    QVERIFY2((ink.bottom() < 100) == abovePoint, qPrintable(where));
    QVERIFY2((ink.top() > 100) == belowPoint, qPrintable(where));
    if (!leftOfPoint && !rightOfPoint) // centred: about as much on each side
        QVERIFY2(qAbs((100 - ink.left()) - (ink.right() - 100)) <= 4, qPrintable(where));
}

void TestWmf::textBackground_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("options");
    QTest::addColumn<bool>("backgroundShown");
    QTest::newRow("opaque by default") << 0 << 0 << true;
    QTest::newRow("opaque") << int(wmf::Opaque) << 0 << true;
    QTest::newRow("transparent") << int(wmf::Transparent) << 0 << false;
    QTest::newRow("transparent, opaque rectangle") << int(wmf::Transparent) << int(wmf::EtoOpaque) << true;
}

void TestWmf::textBackground()
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

void TestWmf::gbkTextAndFace()
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

void TestWmf::malformed_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("drawable"); // still has a size to draw at

    const QByteArray start = header() + windowOf(50, 50);
    const QByteArray select0 = record(wmf::SelectObject, words({0}));

    QTest::newRow("zero record size") << start + rawRecord(0, wmf::Rectangle, words({9, 9, 0, 0})) + eof()
                                      << true;
    QTest::newRow("record size below 3") << start + rawRecord(2, wmf::SaveDc) + eof() << true;
    QTest::newRow("huge record size") << start + rawRecord(0xFFFFFFFFu, wmf::Polygon, words({3})) << true;
    QTest::newRow("record size past the end") << start + rawRecord(1000, wmf::Polyline, words({2, 0, 0, 9, 9}))
                                              << true;
    QTest::newRow("truncated record header") << start + QByteArray("\x05\x00\x00", 3) << true;
    QTest::newRow("negative point count") << start + record(wmf::Polygon, words({-5, 0, 0, 10, 10})) + eof()
                                          << true;
    QTest::newRow("huge point count") << start + record(wmf::Polyline, words({32767, 0, 0, 10, 10})) + eof()
                                      << true;
    QTest::newRow("point count one past") << start + record(wmf::Polygon, words({3, 0, 0, 10, 10})) + eof()
                                          << true;
    QTest::newRow("poly-polygon counts past the data")
        << start + record(wmf::PolyPolygon, words({2, 65535, 65535, 0, 0})) + eof() << true;
    QTest::newRow("poly-polygon with 65535 rings")
        << start + record(wmf::PolyPolygon, words({65535, 1, 1})) + eof() << true;
    QTest::newRow("bad handles")
        << start + record(wmf::SelectObject, words({999})) + record(wmf::DeleteObject, words({65535}))
               + select0 + record(wmf::DeleteObject, words({0})) + record(wmf::Rectangle, words({9, 9, 0, 0}))
               + eof()
        << true;
    QTest::newRow("parameters missing")
        << start + record(wmf::SelectObject) + record(wmf::Rectangle) + record(wmf::Arc, words({1, 2}))
               + record(wmf::CreateFontIndirect, words({-12})) + select0 + record(wmf::TextOut, words({5}))
               + record(wmf::ExtTextOut, words({0, 0, 4, wmf::EtoOpaque, 1})) + record(wmf::RestoreDc)
               + record(wmf::SetBkColor) + record(wmf::MoveTo) + record(wmf::LineTo) + eof()
        << true;
    QTest::newRow("negative text length")
        << start + record(wmf::TextOut, words({-2, 0x4141, 0, 0})) + record(wmf::ExtTextOut, words({0, 0, -9, 0}))
               + eof()
        << true;
    QTest::newRow("text longer than its record")
        << start + record(wmf::TextOut, words({30000, 0x4141, 0, 0}))
               + record(wmf::ExtTextOut, words({0, 0, 30000, 0, 0x4141})) + eof()
        << true;
    QTest::newRow("no end record") << start + record(wmf::Rectangle, words({9, 9, 0, 0})) << true;
    QTest::newRow("nothing after the header") << start << true;
    QTest::newRow("zero extent") << header() + windowOf(0, 50) + eof() << false;
    QTest::newRow("truncated header") << header().left(10) << false;
    QTest::newRow("truncated placeable header") << placeable(0, 0, 10, 10, 96).left(12) << false;
    QTest::newRow("placeable key only") << QByteArray("\xD7\xCD\xC6\x9A", 4) << false;
    QTest::newRow("extent too large") << header() + windowOf(30000, 30000) + eof() << false;

    QByteArray saves = start;
    for (int i = 0; i < 10000; ++i)
        saves += record(wmf::SaveDc);
    for (int i = 0; i < 10000; ++i)
        saves += record(wmf::RestoreDc, words({-1}));
    QTest::newRow("ten thousand saves") << saves + eof() << true;

    QByteArray objects = start;
    for (int i = 0; i < 20000; ++i)
        objects += record(wmf::CreateBrushIndirect, words({0, 0xFF, 0, 0}));
    for (int i = 0; i < 20000; ++i)
        objects += record(wmf::DeleteObject, words({i % 5000})) + record(wmf::CreatePenIndirect, words({0, 1, 0, 0, 0}));
    QTest::newRow("object table overflow") << objects + eof() << true;

    QByteArray dib = start + record(wmf::DibCreatePatternBrush,
                                    words({5, 0, 40, 0, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 1, 8}));
    QTest::newRow("DIB pattern with huge size") << dib + select0 + record(wmf::Rectangle, words({9, 9, 0, 0})) + eof()
                                                << true;

    wmf::Writer huge = plain(64, 64);
    huge.setWindowExt(1, 1);
    huge.selectObject(huge.createPen(wmf::PsDot, 0, Qt::black));
    huge.moveTo(-32768, -32768);
    huge.lineTo(32767, 32767);
    huge.ellipse(-32768, -32768, 32767, 32767);
    huge.arc(QRect(-32768, -32768, 65535, 65535), 0, 0, 1, 1);
    wmf::LogFont big;
    big.height = -32768;
    big.width = 32767;
    big.escapement = 450;
    huge.selectObject(huge.createFont(big));
    huge.textOut(0, 0, QString(200, QLatin1Char('W')));
    QTest::newRow("coordinates scaled far outside") << huge.data() << true;
}

void TestWmf::malformed()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, drawable);
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(data);
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QCOMPARE(!img.isNull(), drawable);
}

void TestWmf::randomGarbage()
{
    // Random bytes, alone and behind a valid header; a fixed seed keeps the
    // run repeatable.
    QRandomGenerator random(20040101);
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(int(random.bounded(1, 600)), '\0');
        for (char &c : bytes)
            c = char(random.bounded(256));
        QByteArray framed = header() + windowOf(64, 48) + bytes;
        if (round % 3 == 0)
            framed = placeable(0, 0, 64, 48, 96) + framed;
        // Random records: sizes and functions from the real set.
        QByteArray records = header() + windowOf(64, 48);
        static const quint16 functions[] = {
            wmf::Polygon, wmf::Polyline, wmf::PolyPolygon, wmf::TextOut, wmf::ExtTextOut,
            wmf::CreateFontIndirect, wmf::CreatePenIndirect, wmf::CreateBrushIndirect,
            wmf::SelectObject, wmf::DeleteObject, wmf::RestoreDc, wmf::SaveDc, wmf::Arc,
            wmf::Pie, wmf::Chord, wmf::RoundRect, wmf::SetWindowExt, wmf::SetViewportExt,
            wmf::SetMapMode, wmf::DibCreatePatternBrush, wmf::SetTextAlign};
        for (int r = 0; r < 40; ++r) {
            QByteArray params(int(random.bounded(0, 40)) * 2, '\0');
            for (char &c : params)
                c = char(random.bounded(256));
            records += record(functions[random.bounded(int(sizeof functions / sizeof functions[0]))], params);
        }
        wmf::render(bytes);
        wmf::render(framed);
        const QImage img = wmf::render(records);
        QCOMPARE(img.size(), QSize(64, 48));
    }
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
}

void TestWmf::paintingWorkIsCapped()
{
    // A largest picture filled over and over: playback stops when the
    // painting work is spent, long before the last record.
    wmf::Writer w = plain(4096, 4096);
    solidFill(w, kRed);
    for (int i = 0; i < 20000; ++i) {
        w.setPolyFillMode(i % 2 ? wmf::Winding : wmf::Alternate);
        w.ellipse(0, 0, 4096, 4096);
    }
    const QByteArray data = w.data();
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(data);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QCOMPARE(img.size(), QSize(4096, 4096));
    QVERIFY(sameColor(img, QPoint(2048, 2048), kRed));

    // A tighter budget stops sooner: only the first figure is drawn. The
    // budget is what the picture up to the first square costs.
    wmf::Writer two = plain(200, 200);
    solidFill(two, kRed);
    two.rectangle(0, 0, 100, 100);
    wmf::Report firstOnly;
    wmf::render(two.data(), wmf::Limits(), &firstOnly);
    QVERIFY(firstOnly.work > 0);
    QVERIFY(!firstOnly.stoppedEarly);
    wmf::Limits limits;
    limits.paintBudget = firstOnly.work;
    solidFill(two, kBlue);
    two.rectangle(100, 100, 200, 200);
    const QImage first = wmf::render(two.data(), limits);
    QVERIFY(sameColor(first, QPoint(50, 50), kRed));
    QVERIFY(isEmptyAt(first, QPoint(150, 150)));
    const QImage both = wmf::render(two.data());
    QVERIFY(sameColor(both, QPoint(150, 150), kBlue));

    // And the number of records is capped as well.
    limits = wmf::Limits();
    limits.maxRecords = 6; // window origin and extent, pen, select, brush, select
    wmf::Writer capped = plain(20, 20);
    solidFill(capped, kRed);
    capped.rectangle(0, 0, 20, 20);
    QVERIFY(isEmptyAt(wmf::render(capped.data(), limits), QPoint(10, 10)));
    limits.maxRecords = 7;
    QVERIFY(sameColor(wmf::render(capped.data(), limits), QPoint(10, 10), kRed));
}

QTEST_MAIN(TestWmf)
#include "test_wmf.moc"
