// The metafile reader: headers and picture size, files it refuses, the
// mapping from logical units to pixels, the object table and saved states.
// Figures and text are in test_wmfdrawing, damaged and costly files in
// test_wmfhostile.
#include "formats/Pictures.h"
#include "formats/wmf/Wmf.h"
#include "tools/wmfwriter/WmfWriter.h"
#include "wmftest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

using namespace wmftest;

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
    void pictureLoader();
    void placeableOriginAndScale();
    void viewportAndMapModes_data();
    void viewportAndMapModes();
    void lowestFreeSlot_data();
    void lowestFreeSlot();
    void deletedObjectCannotBeSelected();
    void saveAndRestore_data();
    void saveAndRestore();
    void savedStatesAreCapped_data();
    void savedStatesAreCapped();
    void restoreBringsBackMapping();
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

void TestWmf::pictureLoader()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    wmf::Writer w = plain(40, 30);
    solidFill(w, kGreen);
    w.rectangle(0, 0, 40, 30);
    const QString path = dir.filePath(QStringLiteral("globe.wmf"));
    QVERIFY(w.save(path));

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
    QCOMPARE(failure.kind, errors::Kind::InvalidPicture);

    // A shared picture is decoded once: a later change of the file is not
    // read again by loadShared(), while load() reads the file as it is now.
    QVERIFY(pictures::loadShared(path, &pixmap));
    wmf::Writer wider = plain(60, 30);
    solidFill(wider, kGreen);
    wider.rectangle(0, 0, 60, 30);
    QVERIFY(wider.save(path));
    QVERIFY(pictures::loadShared(path, &pixmap));
    QCOMPARE(pixmap.size(), QSize(40, 30));
    QVERIFY(pictures::load(path, &pixmap));
    QCOMPARE(pixmap.size(), QSize(60, 30));
    // A failure is not kept: once the file is good, it is shared.
    QVERIFY(!pictures::loadShared(broken, &pixmap, &failure));
    QCOMPARE(failure.kind, errors::Kind::InvalidPicture);
    QVERIFY(w.save(broken));
    QVERIFY(pictures::loadShared(broken, &pixmap));
    QCOMPARE(pixmap.size(), QSize(40, 30));
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

void TestWmf::lowestFreeSlot_data()
{
    // The test writes raw slot numbers, not what the writer says, so the
    // reader's table is checked on its own.
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QColor>("expected");

    // Slot 0 holds the pen without outline, selected; the rows begin at 1.
    const QByteArray start = header() + windowOf(20, 20)
        + record(wmf::CreatePenIndirect, words({wmf::PsNull, 0, 0, 0, 0})) + record(wmf::SelectObject, words({0}));
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

    QTest::newRow("middle slot reused") << start + brush(kRed) + brush(kGreen) + brush(kBlue) + remove(2)
            + brush(kYellow) + select(2)
            + draw << kYellow;
    QTest::newRow("lowest of two free slots") << start + brush(kRed) + brush(kGreen) + brush(kBlue) + remove(3)
            + remove(1) + brush(kYellow) + select(1)
            + draw << kYellow;
    QTest::newRow("second new object takes the next free slot") << start + brush(kRed) + brush(kGreen) + remove(1)
            + remove(2) + brush(kBlue) + brush(kYellow) + select(2)
            + draw << kYellow;
    QTest::newRow("deleting twice frees once")
        << start + brush(kRed) + remove(1) + remove(1) + brush(kGreen) + brush(kBlue) + select(2) + draw << kBlue;
    QTest::newRow("palette takes a slot")
        << start + record(wmf::CreatePalette, words({0x300, 1, 0, 0})) + brush(kGreen) + select(2) + draw << kGreen;
    QTest::newRow("region takes a slot") << start + record(wmf::CreateRegion, words({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}))
            + brush(kBlue) + select(2)
            + draw << kBlue;
    QTest::newRow("pattern brush takes a slot")
        << start + record(wmf::CreatePatternBrush, words({0, 0, 0, 0, 0})) + brush(kRed) + select(2) + draw << kRed;
    QTest::newRow("unreadable DIB pattern brush takes a slot")
        << start + record(wmf::DibCreatePatternBrush, words({5, 0})) + brush(kGreen) + select(2) + draw << kGreen;
    QTest::newRow("slot of a deleted palette reused") << start + record(wmf::CreatePalette, words({0x300, 0}))
            + brush(kRed) + remove(1) + brush(kBlue) + select(1)
            + draw << kBlue;
    QTest::newRow("selecting a palette leaves the brush")
        << start + brush(kGreen) + select(1) + record(wmf::CreatePalette, words({0x300, 0})) + select(2) + draw
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
    w.selectObject(999); // beyond the table
    w.rectangle(0, 0, 20, 20);
    const QImage img = wmf::render(w.data());
    QVERIFY(sameColor(img, QPoint(10, 10), kRed));
}

void TestWmf::saveAndRestore_data()
{
    // Red is selected, saved (level 1); blue selected, saved (level 2);
    // green selected; then the restore below; then a rectangle.
    QTest::addColumn<QList<int>>("restores");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("no restore") << QList<int> {} << kGreen;
    QTest::newRow("-1") << QList<int> {-1} << kBlue;
    QTest::newRow("-2") << QList<int> {-2} << kRed;
    QTest::newRow("-1 twice") << QList<int> {-1, -1} << kRed;
    QTest::newRow("absolute 1") << QList<int> {1} << kRed;
    QTest::newRow("absolute 2") << QList<int> {2} << kBlue;
    QTest::newRow("-2 drops both levels") << QList<int> {-2, -1} << kRed;
    QTest::newRow("absolute 1 drops level 2") << QList<int> {1, 2} << kRed;
    QTest::newRow("too deep is ignored") << QList<int> {-3} << kGreen;
    QTest::newRow("absolute beyond depth is ignored") << QList<int> {3} << kGreen;
    QTest::newRow("zero is ignored") << QList<int> {0} << kGreen;
    QTest::newRow("empty stack after two pops") << QList<int> {-1, -1, -1} << kRed;
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
    QTest::newRow("default cap, thousands of saves")
        << wmf::Limits().maxSavedStates << 5000 << wmf::Limits().maxSavedStates - 1;
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
    // Neighbouring levels 16 apart, twice what sameColor() lets pass.
    const auto level = [](int i) { return QColor(i % 16 * 16, i / 16 % 16 * 16, i / 256 % 16 * 16); };
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

QTEST_MAIN(TestWmf)
#include "test_wmf.moc"
