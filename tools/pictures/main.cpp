// drawpictures: draws the program's picture set and writes it out.
//
//   drawpictures --out-data DIR --out-resources DIR [--out-icons DIR] [--preview DIR]
//
// DIR for --out-data receives globe.wmf, the emblem GIFs and the piece
// JPEGs (data/picture in the source tree); DIR for --out-resources receives
// the pictures built into the program (resources/); DIR for --out-icons
// receives the icon as PNGs for desktop menus (data/icons). Every file is
// read back and checked after it is written.

#include "Drawings.h"
#include "GifWriter.h"
#include "IconFile.h"
#include "Preview.h"

#include "formats/wmf/Wmf.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
}

[[noreturn]] void fail(const QString &text)
{
    std::fprintf(stderr, "drawpictures: %s\n", qPrintable(text));
    std::exit(1);
}

void save(const QString &folder, const QString &name, const QByteArray &data)
{
    const QString path = QDir(folder).filePath(name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    say(QStringLiteral("  %1  %2 bytes").arg(path).arg(data.size()));
}

QImage readBack(const QByteArray &data, const char *format, const QString &name)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QImage img = reader.read();
    if (img.isNull())
        fail(QStringLiteral("%1 does not read back: %2").arg(name, reader.errorString()));
    return img;
}

// ---- GIF ---------------------------------------------------------------------

QByteArray gifFile(const QImage &art, const QString &name, QImage *decoded)
{
    const gif::IndexedImage indexed = gif::quantize(art, qRgb(0, 255, 255));
    const QByteArray data = gif::encode(indexed);
    // Qt's own reader must give back exactly the indexed pixels.
    const QImage back = readBack(data, "gif", name).convertToFormat(QImage::Format_ARGB32);
    if (back.size() != QSize(indexed.width, indexed.height))
        fail(QStringLiteral("%1 reads back at the wrong size").arg(name));
    for (int y = 0; y < indexed.height; ++y) {
        for (int x = 0; x < indexed.width; ++x) {
            const int i = quint8(indexed.indices[y * indexed.width + x]);
            const QRgb got = back.pixel(x, y);
            const bool ok = i == indexed.transparentIndex
                ? qAlpha(got) == 0
                : (got | 0xff000000u) == (indexed.palette[i] | 0xff000000u) && qAlpha(got) == 255;
            if (!ok)
                fail(QStringLiteral("%1 reads back differently at %2,%3").arg(name).arg(x).arg(y));
        }
    }
    *decoded = back;
    return data;
}

// ---- JPEG --------------------------------------------------------------------

// A baseline JFIF 1.01 file: APP0 "JFIF" first and a SOF0 frame header.
void checkBaselineJfif(const QByteArray &d, const QString &name)
{
    auto byte = [&d](qsizetype i) { return i < d.size() ? quint8(d[i]) : 0; };
    if (byte(0) != 0xFF || byte(1) != 0xD8 || byte(2) != 0xFF || byte(3) != 0xE0
        || d.mid(6, 5) != QByteArray("JFIF\0", 5) || byte(11) != 1 || byte(12) != 1)
        fail(QStringLiteral("%1 does not start with a JFIF 1.01 header").arg(name));
    qsizetype at = 2;
    while (at + 4 <= d.size() && byte(at) == 0xFF) {
        const int marker = byte(at + 1);
        const int length = (byte(at + 2) << 8) | byte(at + 3);
        if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            fail(QStringLiteral("%1 is not baseline (frame marker FF%2)").arg(name).arg(marker, 2, 16));
        if (marker == 0xC0)
            return;
        at += 2 + length;
    }
    fail(QStringLiteral("%1 has no baseline frame header").arg(name));
}

QByteArray jpegFile(const QImage &art, int quality, const QString &name, QImage *decoded)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(false);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(art))
        fail(QStringLiteral("cannot encode %1: %2").arg(name, writer.errorString()));
    checkBaselineJfif(data, name);
    *decoded = readBack(data, "jpeg", name);
    if (decoded->size() != art.size())
        fail(QStringLiteral("%1 reads back at the wrong size").arg(name));
    return data;
}

// ---- PNG and ICO -------------------------------------------------------------

QByteArray pngFile(const QImage &art, const QString &name)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!art.save(&buffer, "PNG"))
        fail(QStringLiteral("cannot encode %1").arg(name));
    const QImage back = readBack(data, "png", name);
    if (back.size() != art.size() || back.hasAlphaChannel() != art.hasAlphaChannel())
        fail(QStringLiteral("%1 reads back differently").arg(name));
    return data;
}

// ---- metafile ----------------------------------------------------------------

void checkMetafile(const QByteArray &data, const QImage &drawing)
{
    auto word = [&data](int at) { return quint16(quint8(data[at]) | (quint8(data[at + 1]) << 8)); };
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= word(i);
    if (data.size() < 40 || sum != word(20))
        fail(QStringLiteral("globe.wmf has a bad placeable header"));
    const quint32 words = word(22 + 6) | (quint32(word(22 + 8)) << 16);
    if (qsizetype(words) * 2 != data.size() - 22)
        fail(QStringLiteral("globe.wmf: the size in its header is wrong"));

    const QImage read = wmf::render(data);
    if (read.isNull()) {
        say(QStringLiteral("  note: the metafile reader of this build draws nothing yet; "
                           "globe.wmf was checked against its header only"));
        return;
    }
    if (read.size() != drawing.size())
        fail(QStringLiteral("globe.wmf reads back at %1 x %2, not %3 x %4")
                 .arg(read.width())
                 .arg(read.height())
                 .arg(drawing.width())
                 .arg(drawing.height()));
    // Compare with the same shapes drawn directly.
    const QImage a = read.convertToFormat(QImage::Format_ARGB32);
    const QImage b = drawing.convertToFormat(QImage::Format_ARGB32);
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            total += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q))
                + qAbs(qAlpha(p) - qAlpha(q));
        }
    const double mean = total / (4.0 * a.width() * a.height());
    say(QStringLiteral("  globe.wmf read back by the program's reader: mean difference %1 of 255 per channel")
            .arg(mean, 0, 'f', 2));
    if (mean > 8.0)
        fail(QStringLiteral("globe.wmf reads back too differently from the drawing"));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("drawpictures"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the program's pictures."));
    parser.addHelpOption();
    const QCommandLineOption dataOption(QStringLiteral("out-data"),
                                        QStringLiteral("Folder for globe.wmf, the emblem GIFs and the piece JPEGs."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption resourcesOption(QStringLiteral("out-resources"),
                                             QStringLiteral("Folder for the pictures built into the program."),
                                             QStringLiteral("DIR"));
    const QCommandLineOption previewOption(QStringLiteral("preview"),
                                           QStringLiteral("Folder for PNG previews and mock-ups of the windows."),
                                           QStringLiteral("DIR"));
    const QCommandLineOption iconsOption(QStringLiteral("out-icons"),
                                         QStringLiteral(
                                             "Folder for the icon as yanping-<size>.png, for desktop menus."),
                                         QStringLiteral("DIR"));
    parser.addOptions({dataOption, resourcesOption, iconsOption, previewOption});
    parser.process(app);
    if (!parser.isSet(dataOption) && !parser.isSet(resourcesOption) && !parser.isSet(iconsOption)
        && !parser.isSet(previewOption))
        parser.showHelp(2);

    // The marks are drawn from an installed CJK face; a stand-in face would
    // give different pictures on every machine.
    const QString family = drawings::markFamily();
    if (!QFontDatabase::families().contains(family) || QFontInfo(QFont(family)).family() != family) {
        std::fprintf(stderr,
                     "drawpictures: the font \"%s\" is not installed (Debian: fonts-arphic-ukai); "
                     "nothing was drawn.\n",
                     qPrintable(family));
        return 3;
    }

    const QString dataDir = parser.value(dataOption);
    const QString resourceDir = parser.value(resourcesOption);
    const QString iconDir = parser.value(iconsOption);
    for (const QString &dir : {dataDir, resourceDir, iconDir})
        if (!dir.isEmpty() && !QDir().mkpath(dir))
            fail(QStringLiteral("cannot create %1").arg(dir));

    preview::Set set;

    // Globe: a metafile, 480 x 480 pixels at 96 dots per inch.
    const drawings::VectorPicture globe = drawings::globe();
    const QByteArray globeData = drawings::toMetafile(globe);
    const QImage globeDrawing = drawings::renderPreview(globe);
    say(QStringLiteral("globe.wmf: %1 shapes").arg(globe.shapes.size()));
    checkMetafile(globeData, globeDrawing);
    const QImage globeRead = wmf::render(globeData);
    set.globe = globeRead.isNull() ? globeDrawing : globeRead;
    if (!dataDir.isEmpty())
        save(dataDir, QStringLiteral("globe.wmf"), globeData);

    // Emblem: at rest, then turning clockwise a quarter at a time.
    const QByteArray kvnda = gifFile(drawings::emblem(0, false), QStringLiteral("kvnda.gif"), &set.emblem);
    const char *frameNames[4] = {"xwpta.gif", "xwptb.gif", "xwptc.gif", "xwptd.gif"};
    const double frameAngles[4] = {90, 180, 270, 360};
    QByteArray frames[4];
    for (int i = 0; i < 4; ++i)
        frames[i] = gifFile(drawings::emblem(frameAngles[i], true), QString::fromLatin1(frameNames[i]), &set.frames[i]);
    if (!dataDir.isEmpty()) {
        save(dataDir, QStringLiteral("kvnda.gif"), kvnda);
        for (int i = 0; i < 4; ++i)
            save(dataDir, QString::fromLatin1(frameNames[i]), frames[i]);
    }

    // Pieces: the blank face and the three marked faces.
    const int quality = 80;
    const QByteArray wu = jpegFile(drawings::piece(QString()), quality, QStringLiteral("wu.jpg"), &set.blank);
    const QByteArray shang
        = jpegFile(drawings::piece(QStringLiteral("上")), quality, QStringLiteral("shang.jpg"), &set.upper);
    const QByteArray zhong
        = jpegFile(drawings::piece(QStringLiteral("中")), quality, QStringLiteral("zhong.jpg"), &set.middle);
    const QByteArray xia
        = jpegFile(drawings::piece(QStringLiteral("下")), quality, QStringLiteral("xia.jpg"), &set.lower);
    if (!dataDir.isEmpty()) {
        save(dataDir, QStringLiteral("wu.jpg"), wu);
        save(dataDir, QStringLiteral("shang.jpg"), shang);
        save(dataDir, QStringLiteral("zhong.jpg"), zhong);
        save(dataDir, QStringLiteral("xia.jpg"), xia);
    }

    // Built-in pictures: the icon, the blank face (the same file as wu.jpg)
    // and the pointer.
    set.icon32 = drawings::icon(32);
    set.icon256 = drawings::icon(256);
    set.pointer = drawings::pointer();
    if (!resourceDir.isEmpty()) {
        save(resourceDir, QStringLiteral("icon.png"), pngFile(set.icon32, QStringLiteral("icon.png")));
        save(resourceDir, QStringLiteral("icon256.png"), pngFile(set.icon256, QStringLiteral("icon256.png")));
        save(resourceDir, QStringLiteral("blank.jpg"), wu);
        save(resourceDir, QStringLiteral("pointer.png"), pngFile(set.pointer, QStringLiteral("pointer.png")));
        QList<QImage> sizes;
        for (int s : {16, 24, 32, 48})
            sizes.append(drawings::icon(s));
        sizes.append(set.icon256);
        const QByteArray ico = iconfile::encode(sizes);
        const QImage icoBack = readBack(ico, "ico", QStringLiteral("yanping.ico"));
        if (icoBack.width() < 16)
            fail(QStringLiteral("yanping.ico reads back wrongly"));
        save(resourceDir, QStringLiteral("yanping.ico"), ico);
        const QPoint hot = drawings::pointerHotSpot();
        say(QStringLiteral("pointer.png: hot spot at %1,%2 (the brush tip)").arg(hot.x()).arg(hot.y()));
    }

    // The icon at the sizes desktop menus and launchers look for, from the
    // same drawing as the window icon.
    if (!iconDir.isEmpty()) {
        for (int s : {16, 24, 32, 48, 64, 128, 256}) {
            const QString name = QStringLiteral("yanping-%1.png").arg(s);
            save(iconDir, name, pngFile(drawings::icon(s), name));
        }
    }

    if (parser.isSet(previewOption)) {
        QString message;
        if (!preview::write(set, parser.value(previewOption), &message))
            fail(message);
        say(QStringLiteral("previews in %1").arg(parser.value(previewOption)));
    }
    return 0;
}
