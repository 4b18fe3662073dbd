// The picture tool's own file writers (GIF, ICO) read back through Qt's
// readers, and the committed picture set has the shapes the program expects.

#include "GifWriter.h"
#include "IconFile.h"

#include "formats/Pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtTest>

namespace {

QImage readWith(const QByteArray &data, const char *format, int index = 0)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    if (index > 0)
        reader.jumpToImage(index);
    return reader.read();
}

// What the indexed image says each pixel is, as Qt should read it back.
QRgb expectedPixel(const gif::IndexedImage &img, int x, int y)
{
    const int i = quint8(img.indices[y * img.width + x]);
    if (i == img.transparentIndex)
        return 0;
    return img.palette[i] | 0xff000000u;
}

int countMismatches(const gif::IndexedImage &img, const QImage &read)
{
    const QImage back = read.convertToFormat(QImage::Format_ARGB32);
    int bad = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const QRgb want = expectedPixel(img, x, y);
            const QRgb got = back.pixel(x, y);
            if (want == 0 ? qAlpha(got) != 0 : got != want)
                ++bad;
        }
    return bad;
}

quint32 lcg(quint32 &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

QString sourcePath(const QString &relative)
{
    return QDir(QStringLiteral(SOURCE_DIR)).filePath(relative);
}

} // namespace

class TestPictureFormats : public QObject
{
    Q_OBJECT

private slots:
    void gifRoundTrip_data();
    void gifRoundTrip();
    void gifKeepsFewColoursExactly();
    void gifReducesManyColours();
    void gifTransparency();
    void gifHeader();
    void iconHoldsEverySize();
    void shippedPictures_data();
    void shippedPictures();
    void shippedJpegsAreBaselineJfif_data();
    void shippedJpegsAreBaselineJfif();
    void builtInPictures_data();
    void builtInPictures();
};

void TestPictureFormats::gifRoundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours"); // how many distinct indices the noise uses
    QTest::addColumn<int>("runLength"); // how long each index repeats

    QTest::newRow("one pixel") << 1 << 1 << 1 << 1;
    QTest::newRow("one colour, long runs") << 600 << 400 << 1 << 1;
    QTest::newRow("two colours") << 37 << 29 << 2 << 1;
    // Full-range noise fills the string table again and again, so the code
    // size climbs through every width and the table is cleared many times.
    QTest::newRow("256-colour noise") << 240 << 240 << 256 << 1;
    QTest::newRow("256-colour noise, odd size") << 333 << 77 << 256 << 1;
    QTest::newRow("16 colours in short runs") << 240 << 240 << 16 << 3;
    QTest::newRow("64 colours in long runs") << 500 << 300 << 64 << 40;
}

void TestPictureFormats::gifRoundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);
    QFETCH(int, runLength);

    gif::IndexedImage img;
    img.width = width;
    img.height = height;
    for (int i = 0; i < 256; ++i)
        img.palette.append(qRgb(i, (i * 7) & 0xff, 255 - i));
    img.indices.resize(qsizetype(width) * height);
    quint32 state = 12345u + quint32(colours);
    int current = 0;
    for (qsizetype i = 0; i < img.indices.size(); ++i) {
        if (i % runLength == 0)
            current = int(lcg(state) % quint32(colours));
        img.indices[i] = char(current);
    }
    const QByteArray file = gif::encode(img);
    const QImage read = readWith(file, "gif");
    QVERIFY(!read.isNull());
    QCOMPARE(read.size(), QSize(width, height));
    QCOMPARE(countMismatches(img, read), 0);
}

void TestPictureFormats::gifKeepsFewColoursExactly()
{
    // 200 colours: 40 columns of 5 shades.
    QImage art(64, 48, QImage::Format_ARGB32);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            art.setPixel(x, y, qRgb((x % 40) * 6, (y % 5) * 50, 17));
    const gif::IndexedImage img = gif::quantize(art, qRgb(0, 255, 255));
    QCOMPARE(img.transparentIndex, -1);
    QCOMPARE(img.palette.size(), 200);
    const QImage read = readWith(gif::encode(img), "gif").convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            QCOMPARE(read.pixel(x, y) | 0xff000000u, art.pixel(x, y) | 0xff000000u);
}

void TestPictureFormats::gifReducesManyColours()
{
    // A smooth two-way gradient with thousands of colours.
    QImage art(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            art.setPixel(x, y, qRgb(x * 255 / 199, y * 255 / 199, (x + y) * 255 / 398));
    const gif::IndexedImage img = gif::quantize(art, qRgb(0, 0, 0));
    QVERIFY(img.palette.size() <= 256);
    QVERIFY(img.palette.size() > 200);
    const QImage read = readWith(gif::encode(img), "gif").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(countMismatches(img, read), 0);
    double worst = 0, total = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb a = art.pixel(x, y), b = read.pixel(x, y);
            const double d = qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            worst = qMax(worst, d);
            total += d;
        }
    QVERIFY2(total / (200 * 200) < 12, qPrintable(QString::number(total / (200 * 200))));
    QVERIFY2(worst < 60, qPrintable(QString::number(worst)));
}

void TestPictureFormats::gifTransparency()
{
    QImage art(10, 4, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    art.setPixel(1, 1, qRgba(255, 0, 0, 255)); // opaque red stays red
    art.setPixel(2, 1, qRgba(200, 0, 0, 127)); // below half: transparent
    art.setPixel(3, 1, qRgba(255, 255, 255, 128)); // over the matte, opaque
    const QRgb matte = qRgb(0, 0, 100);
    const gif::IndexedImage img = gif::quantize(art, matte);
    QVERIFY(img.transparentIndex >= 0);
    QCOMPARE(img.palette[img.transparentIndex] | 0xff000000u, matte | 0xff000000u);
    const QImage read = readWith(gif::encode(img), "gif").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(read.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(read.pixel(2, 1)), 0);
    QCOMPARE(read.pixel(1, 1), qRgba(255, 0, 0, 255));
    const QRgb blended = read.pixel(3, 1);
    QCOMPARE(qAlpha(blended), 255);
    QCOMPARE(qRed(blended), 128);
    QCOMPARE(qBlue(blended), (255 * 128 + 100 * 127 + 127) / 255);
}

void TestPictureFormats::gifHeader()
{
    gif::IndexedImage img;
    img.width = 300;
    img.height = 2;
    img.palette = {qRgb(1, 2, 3), qRgb(4, 5, 6)};
    img.indices = QByteArray(600, '\1');
    img.transparentIndex = 0;
    const QByteArray f = gif::encode(img);
    QCOMPARE(f.left(6), QByteArray("GIF89a"));
    QCOMPARE(quint8(f[6]) | (quint8(f[7]) << 8), 300);
    QCOMPARE(quint8(f[8]) | (quint8(f[9]) << 8), 2);
    QCOMPARE(quint8(f[10]), quint8(0xF7));
    QCOMPARE(f.mid(13, 6), QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    // Graphic control extension right after the colour table.
    QCOMPARE(f.mid(13 + 768, 3), QByteArray("\x21\xF9\x04", 3));
    QCOMPARE(quint8(f[13 + 768 + 3]) & 1, 1);
    QCOMPARE(quint8(f[13 + 768 + 6]), quint8(0));
    QCOMPARE(quint8(f[f.size() - 1]), quint8(0x3B));
}

void TestPictureFormats::iconHoldsEverySize()
{
    QList<QImage> images;
    for (int s : {16, 32, 48, 256}) {
        QImage img(s, s, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.fillRect(0, 0, s / 2, s / 4, QColor(200, 10, 10)); // top-left, to catch upside-down rows
        p.end();
        images.append(img);
    }
    const QByteArray ico = iconfile::encode(images);
    QBuffer buffer;
    buffer.setData(ico);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QCOMPARE(reader.imageCount(), 4);
    QList<int> sizes;
    for (int i = 0; i < 4; ++i) {
        const QImage img = readWith(ico, "ico", i).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!img.isNull());
        sizes.append(img.width());
        QCOMPARE(img.height(), img.width());
        QCOMPARE(img.pixel(1, 1), qRgba(200, 10, 10, 255));
        QCOMPARE(qAlpha(img.pixel(img.width() - 1, img.height() - 1)), 0);
    }
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, QList<int>({16, 32, 48, 256}));
}

void TestPictureFormats::shippedPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("globe") << "globe.wmf" << QSize(480, 480);
    for (const char *n : {"kvnda.gif", "xwpta.gif", "xwptb.gif", "xwptc.gif", "xwptd.gif"})
        QTest::newRow(n) << QString::fromLatin1(n) << QSize(240, 240);
    for (const char *n : {"wu.jpg", "shang.jpg", "zhong.jpg", "xia.jpg"})
        QTest::newRow(n) << QString::fromLatin1(n) << QSize(75, 76);
}

void TestPictureFormats::shippedPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QPixmap pixmap;
    errors::Failure failure;
    QVERIFY2(pictures::load(sourcePath(QStringLiteral("data/picture/") + name), &pixmap, &failure), qPrintable(name));
    QCOMPARE(pixmap.size(), size);
    // Each picture has something drawn in its middle.
    const QImage img = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(qAlpha(img.pixel(size.width() / 2, size.height() / 2)) == 255);
    if (name.endsWith(QLatin1String(".gif")))
        QCOMPARE(qAlpha(img.pixel(0, 0)), 0); // the emblem stands free on the panel
}

void TestPictureFormats::shippedJpegsAreBaselineJfif_data()
{
    QTest::addColumn<QString>("path");
    for (const char *n : {"data/picture/wu.jpg", "data/picture/shang.jpg", "data/picture/zhong.jpg",
                          "data/picture/xia.jpg", "resources/blank.jpg"})
        QTest::newRow(n) << QString::fromLatin1(n);
}

void TestPictureFormats::shippedJpegsAreBaselineJfif()
{
    QFETCH(QString, path);
    QFile f(sourcePath(path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray d = f.readAll();
    QCOMPARE(d.left(4), QByteArray("\xFF\xD8\xFF\xE0", 4));
    QCOMPARE(d.mid(6, 7), QByteArray("JFIF\0\x01\x01", 7));
    QVERIFY(d.contains(QByteArray("\xFF\xC0", 2)));
    QVERIFY(!d.contains(QByteArray("\xFF\xC2", 2)));
    QVERIFY(d.size() < 4096);
}

void TestPictureFormats::builtInPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("clearCorner");
    QTest::newRow("icon") << "icon.png" << QSize(32, 32) << true;
    QTest::newRow("large icon") << "icon256.png" << QSize(256, 256) << true;
    QTest::newRow("blank piece") << "blank.jpg" << QSize(75, 76) << false;
    QTest::newRow("pointer") << "pointer.png" << QSize(32, 32) << true;
}

void TestPictureFormats::builtInPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, clearCorner);
    const QImage img = QImage(QStringLiteral(":/yanping/") + name).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!img.isNull(), qPrintable(name));
    QCOMPARE(img.size(), size);
    QCOMPARE(qAlpha(img.pixel(size.width() - 1, 0)) == 0, clearCorner);
}

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    TestPictureFormats t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_pictureformats.moc"
