// The metafile reader against damaged and costly files: broken records,
// random bytes and pictures that would take ages to paint are read safely
// and in time.
#include "formats/wmf/Wmf.h"
#include "tools/wmfwriter/WmfWriter.h"
#include "wmftest.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

#include <limits>

using namespace wmftest;

class TestWmfHostile : public QObject
{
    Q_OBJECT
private slots:
    void malformed_data();
    void malformed();
    void randomGarbage();
    void paintingWorkIsCapped();
};

void TestWmfHostile::malformed_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("drawable"); // still has a size to draw at

    const QByteArray start = header() + windowOf(50, 50);
    const QByteArray select0 = record(wmf::SelectObject, words({0}));

    QTest::newRow("zero record size") << start + rawRecord(0, wmf::Rectangle, words({9, 9, 0, 0})) + eof() << true;
    QTest::newRow("record size below 3") << start + rawRecord(2, wmf::SaveDc) + eof() << true;
    QTest::newRow("huge record size") << start + rawRecord(0xFFFFFFFFu, wmf::Polygon, words({3})) << true;
    QTest::newRow("record size past the end") << start + rawRecord(1000, wmf::Polyline, words({2, 0, 0, 9, 9})) << true;
    QTest::newRow("truncated record header") << start + QByteArray("\x05\x00\x00", 3) << true;
    QTest::newRow("negative point count") << start + record(wmf::Polygon, words({-5, 0, 0, 10, 10})) + eof() << true;
    QTest::newRow("huge point count") << start + record(wmf::Polyline, words({32767, 0, 0, 10, 10})) + eof() << true;
    QTest::newRow("point count one past") << start + record(wmf::Polygon, words({3, 0, 0, 10, 10})) + eof() << true;
    QTest::newRow("poly-polygon counts past the data")
        << start + record(wmf::PolyPolygon, words({2, 65535, 65535, 0, 0})) + eof() << true;
    QTest::newRow("poly-polygon with 65535 rings")
        << start + record(wmf::PolyPolygon, words({65535, 1, 1})) + eof() << true;
    QTest::newRow("bad handles") << start + record(wmf::SelectObject, words({999}))
            + record(wmf::DeleteObject, words({65535})) + select0 + record(wmf::DeleteObject, words({0}))
            + record(wmf::Rectangle, words({9, 9, 0, 0}))
            + eof() << true;
    QTest::newRow("parameters missing") << start + record(wmf::SelectObject) + record(wmf::Rectangle)
            + record(wmf::Arc, words({1, 2})) + record(wmf::CreateFontIndirect, words({-12})) + select0
            + record(wmf::TextOut, words({5})) + record(wmf::ExtTextOut, words({0, 0, 4, wmf::EtoOpaque, 1}))
            + record(wmf::RestoreDc) + record(wmf::SetBkColor) + record(wmf::MoveTo) + record(wmf::LineTo)
            + eof() << true;
    QTest::newRow("negative text length") << start + record(wmf::TextOut, words({-2, 0x4141, 0, 0}))
            + record(wmf::ExtTextOut, words({0, 0, -9, 0}))
            + eof() << true;
    QTest::newRow("text longer than its record") << start + record(wmf::TextOut, words({30000, 0x4141, 0, 0}))
            + record(wmf::ExtTextOut, words({0, 0, 30000, 0, 0x4141}))
            + eof() << true;
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
        objects
            += record(wmf::DeleteObject, words({i % 5000})) + record(wmf::CreatePenIndirect, words({0, 1, 0, 0, 0}));
    QTest::newRow("object table overflow") << objects + eof() << true;

    QByteArray dib
        = start + record(wmf::DibCreatePatternBrush, words({5, 0, 40, 0, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 1, 8}));
    QTest::newRow("DIB pattern with huge size")
        << dib + select0 + record(wmf::Rectangle, words({9, 9, 0, 0})) + eof() << true;

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

void TestWmfHostile::malformed()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, drawable);
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(data);
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QCOMPARE(!img.isNull(), drawable);
}

void TestWmfHostile::randomGarbage()
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
        static const quint16 functions[] = {wmf::Polygon,
                                            wmf::Polyline,
                                            wmf::PolyPolygon,
                                            wmf::TextOut,
                                            wmf::ExtTextOut,
                                            wmf::CreateFontIndirect,
                                            wmf::CreatePenIndirect,
                                            wmf::CreateBrushIndirect,
                                            wmf::SelectObject,
                                            wmf::DeleteObject,
                                            wmf::RestoreDc,
                                            wmf::SaveDc,
                                            wmf::Arc,
                                            wmf::Pie,
                                            wmf::Chord,
                                            wmf::RoundRect,
                                            wmf::SetWindowExt,
                                            wmf::SetViewportExt,
                                            wmf::SetMapMode,
                                            wmf::DibCreatePatternBrush,
                                            wmf::SetTextAlign};
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

void TestWmfHostile::paintingWorkIsCapped()
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

    // Whatever the estimates say, the clock stops a picture after a while.
    wmf::Limits unlimited;
    unlimited.paintBudget = std::numeric_limits<qint64>::max() / 2;
    wmf::Report timed;
    timer.restart();
    wmf::render(data, unlimited, &timed);
    QVERIFY(timed.stoppedEarly && timed.outOfTime);
    QVERIFY2(timer.elapsed() < unlimited.paintMilliseconds + 700,
             qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));

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

QTEST_MAIN(TestWmfHostile)
#include "test_wmfhostile.moc"
