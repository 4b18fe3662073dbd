// Writes the starting corpora for the fuzz targets: a few small metafiles
// that use every record the reader draws, stored text files and, when a
// third folder is given, metafiles made to be slow to play (the ones in
// fuzz/corpus/wmf-slow were written by this program).
#include "formats/StoredText.h"
#include "tools/wmfwriter/WmfWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QRandomGenerator>

#include <cstdio>

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray shapes(bool placeable)
{
    wmf::Writer w;
    if (placeable)
        w.setPlaceable(QRect(0, 0, 200, 120), 96);
    w.setMapMode(wmf::MmAnisotropic);
    w.setWindowOrg(0, 0);
    w.setWindowExt(200, 120);
    w.setBkMode(wmf::Transparent);
    w.setPolyFillMode(wmf::Winding);
    const int pen = w.createPen(wmf::PsSolid, 2, QColor(20, 60, 120));
    const int dash = w.createPen(wmf::PsDash, 0, QColor(200, 0, 0));
    const int brush = w.createBrush(wmf::BsSolid, QColor(250, 220, 120));
    const int hatch = w.createBrush(wmf::BsHatched, QColor(0, 120, 0), wmf::HsDiagCross);
    w.selectObject(pen);
    w.selectObject(brush);
    w.rectangle(5, 5, 60, 40);
    w.roundRect(70, 5, 130, 40, 12, 12);
    w.ellipse(140, 5, 195, 40);
    w.selectObject(hatch);
    w.pie(QRect(5, 50, 50, 50), 50, 50, 5, 75);
    w.chord(QRect(60, 50, 50, 50), 110, 60, 60, 90);
    w.selectObject(dash);
    w.arc(QRect(120, 50, 70, 60), 190, 80, 120, 80);
    w.saveDc();
    w.polyline(QPolygon({QPoint(0, 119), QPoint(100, 60), QPoint(199, 119)}));
    w.polygon(QPolygon({QPoint(80, 100), QPoint(100, 80), QPoint(120, 100)}));
    w.polyPolygon({QPolygon({QPoint(10, 10), QPoint(30, 10), QPoint(20, 30)}),
                   QPolygon({QPoint(12, 12), QPoint(28, 12), QPoint(20, 25)})});
    w.restoreDc(-1);
    w.moveTo(0, 0);
    w.lineTo(199, 119);
    w.deleteObject(dash);
    w.deleteObject(hatch);
    w.createPalette({qRgb(1, 2, 3), qRgb(4, 5, 6)});
    QImage pattern(4, 4, QImage::Format_RGB32);
    pattern.fill(QColor(90, 40, 10));
    pattern.setPixel(1, 1, qRgb(255, 255, 255));
    w.selectObject(w.createDibPatternBrush(pattern));
    w.rectangle(150, 90, 190, 115);
    return w.data();
}

QByteArray text()
{
    wmf::Writer w;
    w.setPlaceable(QRect(0, 0, 1440, 720), 1440);
    w.setWindowExt(1440, 720);
    w.setTextColor(QColor(0, 0, 128));
    w.setBkColor(QColor(255, 255, 0));
    wmf::LogFont f;
    f.height = -200;
    f.faceName = QStringLiteral("宋体");
    w.selectObject(w.createFont(f));
    w.setTextAlign(wmf::TaBaseline | wmf::TaCenter);
    w.textOut(720, 300, QStringLiteral("衍枰 Yan"));
    f.height = 180;
    f.escapement = 900;
    f.italic = true;
    w.selectObject(w.createFont(f));
    w.setTextAlign(wmf::TaUpdateCp);
    w.moveTo(100, 700);
    w.extTextOut(0, 0, wmf::EtoOpaque | wmf::EtoClipped, QRect(50, 400, 600, 300), QStringLiteral("上中下"),
                 {120, 0, 120, 0, 120, 0});
    w.setMapMode(wmf::MmTwips);
    w.textOut(10, -10, QStringLiteral("twips"));
    return w.data();
}

// Text the way pictures really use it and the ways they could abuse it, on
// a picture small enough for the fuzz target's limits: runs with and without
// advances, turned, large, stretched, clipped, in GBK and in Latin-1.
QByteArray textRuns()
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(256, 256);
    w.setBkMode(wmf::Transparent);
    const QStringList faces = {QStringLiteral("宋体"), QStringLiteral("楷体_GB2312"), QStringLiteral("Arial")};
    for (int i = 0; i < 6; ++i) {
        wmf::LogFont f;
        f.height = i % 2 ? -(20 + 40 * i) : 12 + 30 * i;
        f.width = i == 4 ? 60 : 0;
        f.escapement = 300 * i;
        f.weight = 400 + 100 * i;
        f.italic = i == 3;
        f.underline = i == 5;
        f.faceName = faces[i % faces.size()];
        const int font = w.createFont(f);
        w.selectObject(font);
        w.setTextAlign(i % 2 ? wmf::TaBaseline | wmf::TaCenter : wmf::TaUpdateCp);
        const QString text = i % 3 == 2 ? QStringLiteral("Metafile text") : QStringLiteral("衍枰占卜上中下");
        QVector<int> advances(int(wmf::Writer::toGbk(text).size()), i == 1 ? 0 : 9);
        advances.last() = 200;
        w.extTextOut(20 * i, 40 * i, i == 2 ? wmf::EtoClipped : 0, QRect(10, 10, 200, 200), text, advances);
        w.textOut(128, 20 + 40 * i, text);
        w.deleteObject(font);
    }
    QByteArray latin1("Caf\xE9 \xC0 la carte");
    w.record(wmf::TextOut,
             QByteArray(1, char(latin1.size())) + QByteArray(1, '\0') + latin1 + QByteArray("\x10\0\x10\0", 4));
    return w.data();
}

// A large picture and every mapping mode, for the paths that scale far.
QByteArray mappings()
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(4000, -3000);
    const int pen = w.createPen(wmf::PsDashDot, 0, QColor(0, 0, 0));
    const int wide = w.createPen(wmf::PsInsideFrame | 0x2200, 40, QColor(0, 90, 0));
    w.selectObject(pen);
    w.selectObject(w.createBrush(wmf::BsHatched, QColor(0, 0, 200), wmf::HsCross));
    w.setBkMode(wmf::Opaque);
    w.setBkColor(QColor(255, 255, 200));
    for (int mode = wmf::MmText; mode <= wmf::MmAnisotropic; ++mode) {
        w.saveDc();
        w.setMapMode(mode);
        w.setViewportOrg(100 * mode, 3000 - 100 * mode);
        w.setViewportExt(2000, 1000);
        w.ellipse(-3000, -3000, 3000, 3000);
        w.selectObject(wide);
        w.roundRect(-500, -500, 1500, 900, 300, 200);
        w.polyline(QPolygon({QPoint(-32000, 0), QPoint(32000, 10), QPoint(0, 32000)}));
        w.restoreDc(-1);
    }
    wmf::LogFont f;
    f.height = 400;
    f.width = 100;
    f.weight = 700;
    f.underline = true;
    f.strikeOut = true;
    w.selectObject(w.createFont(f));
    w.setTextAlign(wmf::TaRight | wmf::TaBottom);
    w.textOut(3900, 2900, QStringLiteral("Large"));
    return w.data();
}

// ---- pictures made to be slow: each stays small, within every count the
// reader has, and would take seconds or minutes to paint without the work
// budget; the reader must stop them within about a second.

wmf::Writer largest()
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(4096, 4096);
    return w;
}

void solid(wmf::Writer &w)
{
    w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
    w.selectObject(w.createBrush(wmf::BsSolid, QColor(200, 0, 0)));
}

// From one side of the picture to the other and back, `points` times.
QPolygon zigzag(int points, int step)
{
    QPolygon p;
    for (int i = 0; i < points; ++i)
        p << QPoint(i % 2 ? 4095 : 0, (i * step) % 4096);
    return p;
}

QMap<QString, QByteArray> slowPictures()
{
    QMap<QString, QByteArray> out;
    {
        wmf::Writer w = largest();
        solid(w);
        QRandomGenerator random(1);
        for (int k = 0; k < 15; ++k) {
            QPolygon p;
            for (int i = 0; i < 100; ++i)
                p << QPoint(random.bounded(4096), random.bounded(4096));
            w.polygon(p);
        }
        out.insert(QStringLiteral("polygons-random"), w.data());
    }
    {
        wmf::Writer w = largest();
        solid(w);
        w.polygon(zigzag(1000, 4));
        w.polygon(zigzag(1000, 4095));
        out.insert(QStringLiteral("polygons-zigzag"), w.data());
    }
    {
        wmf::Writer w = largest();
        w.selectObject(w.createPen(wmf::PsSolid, 16000, Qt::blue));
        w.polyline(zigzag(1000, 4));
        w.selectObject(w.createPen(wmf::PsSolid, 3, Qt::blue));
        w.polyline(zigzag(1000, 4095));
        out.insert(QStringLiteral("polyline-thick-zigzag"), w.data());
    }
    {
        wmf::Writer w = largest();
        w.selectObject(w.createPen(wmf::PsDot, 0, Qt::blue));
        w.polyline(zigzag(3000, 4095));
        out.insert(QStringLiteral("polyline-thin-zigzag"), w.data());
    }
    {
        wmf::Writer w = largest();
        wmf::LogFont f;
        f.height = -8192;
        f.escapement = 1800;
        w.selectObject(w.createFont(f));
        w.setBkMode(wmf::Transparent);
        for (int i = 0; i < 2000; ++i)
            w.textOut(4095, 4095, QStringLiteral("W"));
        out.insert(QStringLiteral("glyphs-rotated"), w.data());
    }
    {
        wmf::Writer w = largest();
        w.setBkMode(wmf::Transparent);
        for (int i = 0; i < 400; ++i) {
            wmf::LogFont f;
            f.height = -10 - i % 50;
            f.faceName = QStringLiteral("F%1").arg(i);
            const int font = w.createFont(f);
            w.selectObject(font);
            w.textOut(i * 10, i * 10, QStringLiteral("x"));
            w.deleteObject(font);
        }
        out.insert(QStringLiteral("fonts-many"), w.data());
    }
    {
        wmf::Writer w = largest();
        w.selectObject(w.createPen(wmf::PsNull, 0, Qt::black));
        w.selectObject(w.createBrush(wmf::BsHatched, Qt::red, wmf::HsDiagCross));
        for (int i = 0; i < 1000; ++i)
            w.ellipse(0, 0, 4096, 4096);
        QImage tile(16, 16, QImage::Format_RGB32);
        tile.fill(QColor(0, 120, 0));
        w.selectObject(w.createDibPatternBrush(tile));
        for (int i = 0; i < 1000; ++i)
            w.ellipse(0, 0, 4096, 4096);
        out.insert(QStringLiteral("brushes-full"), w.data());
    }
    {
        wmf::Writer w = largest();
        wmf::LogFont f;
        f.height = -12;
        w.selectObject(w.createFont(f));
        for (int i = 0; i < 120; ++i) {
            QString line;
            for (int k = 0; k < 100; ++k)
                line += QChar(0x4E00 + i * 100 + k);
            w.textOut(0, i * 13, line);
        }
        out.insert(QStringLiteral("text-cjk"), w.data());
    }
    {
        wmf::Writer w = largest();
        w.setWindowExt(14, 14); // one logical unit is about 300 pixels
        wmf::LogFont f;
        f.height = -1;
        f.escapement = 450;
        f.underline = true;
        w.selectObject(w.createFont(f));
        w.setBkMode(wmf::Opaque);
        for (int i = 0; i < 1000; ++i)
            w.extTextOut(7, 7, 0, QRect(), QStringLiteral("i"), {32767});
        out.insert(QStringLiteral("text-rotated-wide"), w.data());
    }
    {
        wmf::Writer w = largest();
        w.setWindowExt(1, 1);
        w.selectObject(w.createPen(wmf::PsSolid, 0, Qt::blue));
        w.selectObject(w.createBrush(wmf::BsSolid, Qt::red));
        for (int i = 0; i < 1000; ++i)
            w.pie(QRect(-30000, -30000, 60000, 60000), 1, 0, 0, 1);
        w.selectObject(w.createPen(wmf::PsSolid, 16000, Qt::blue));
        for (int i = 0; i < 1000; ++i)
            w.arc(QRect(-30000, -30000, 60000, 60000), 0, 1, 1, 0);
        out.insert(QStringLiteral("arcs-huge"), w.data());
    }
    {
        wmf::Writer w = largest();
        for (int i = 0; i < 4000; ++i)
            w.saveDc();
        w.selectObject(w.createPen(wmf::PsSolid, 3, Qt::blue));
        for (int i = 0; i < 2000; ++i)
            w.lineTo(i % 2 ? 4095 : 0, (i * 37) % 4096);
        const QByteArray skipped(8000, '\x55');
        for (int i = 0; i < 2; ++i) {
            w.record(wmf::IntersectClipRect, QByteArray(8, '\x01'));
            w.record(wmf::StretchDib, skipped);
        }
        out.insert(QStringLiteral("records-many"), w.data());
    }
    {
        // Runs of large Chinese glyphs that advance by nothing but the
        // last: all of them pile up on one spot while the run's box grows
        // huge, turned by 30 degrees.
        wmf::Writer w = largest();
        w.setBkMode(wmf::Transparent);
        const QStringList faces
            = {QStringLiteral("宋体"), QStringLiteral("楷体_GB2312"), QStringLiteral("Microsoft YaHei")};
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QChar(0x9F98 - i * 37);
        QVector<int> advances(int(wmf::Writer::toGbk(text).size()), 0);
        advances.last() = 32000;
        for (int k = 0; k < 6; ++k) {
            wmf::LogFont f;
            f.height = k % 2 ? -1024 : -256;
            f.escapement = 300;
            f.faceName = faces[k % faces.size()];
            w.selectObject(w.createFont(f));
            w.extTextOut(2048, 2048, 0, QRect(), text, advances);
        }
        out.insert(QStringLiteral("text-pile-cjk"), w.data());
    }
    {
        // Long runs of huge Latin glyphs turned by 45 degrees across a
        // small picture: nearly all of them land outside it.
        wmf::Writer w;
        w.setWindowOrg(0, 0);
        w.setWindowExt(256, 256);
        w.setBkMode(wmf::Transparent);
        QString text;
        for (int i = 0; i < 2000; ++i)
            text += QChar('A' + i % 26);
        for (const int pixels : {1024, 8192, 4096, 2048}) {
            wmf::LogFont f;
            f.height = -pixels;
            f.escapement = 450;
            f.faceName = QStringLiteral("Arial");
            w.selectObject(w.createFont(f));
            w.textOut(0, 128, text);
        }
        out.insert(QStringLiteral("text-latin-huge"), w.data());
    }
    {
        wmf::Writer w = largest();
        solid(w);
        QVector<QPolygon> rings;
        for (int i = 0; i < 2500; ++i)
            rings << QPolygon({QPoint(0, i), QPoint(4095, i + 1), QPoint(0, 4095 - i)});
        w.polyPolygon(rings);
        out.insert(QStringLiteral("rings-many"), w.data());
    }
    return out;
}

// Past the 32767 characters at which reading stops, in lines of mixed
// single- and double-byte characters.
QByteArray longText()
{
    QByteArray line;
    for (int i = 0; i < 20; ++i)
        line += QByteArray("ab\xB0\xA1");
    line += "\r\n";
    QByteArray text;
    while (text.size() < 48000)
        text += line;
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_seeds WMF-DIR STOREDTEXT-DIR [SLOW-WMF-DIR]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(QString::fromLocal8Bit(argv[2]));
    const QString wmfDir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QString textDir = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    bool ok = write(wmfDir + QStringLiteral("shapes-placeable.wmf"), shapes(true))
        && write(wmfDir + QStringLiteral("shapes-plain.wmf"), shapes(false))
        && write(wmfDir + QStringLiteral("text.wmf"), text())
        && write(wmfDir + QStringLiteral("mappings.wmf"), mappings())
        && write(wmfDir + QStringLiteral("text-runs.wmf"), textRuns());

    const auto stored = [](const QString &s, int shift) { return storedtext::encode(s, shift, true).bytes; };
    ok = ok
        && write(textDir + QStringLiteral("reading.god"),
                 stored(QStringLiteral("上上签\n天地人和，所求皆遂。\n"), storedtext::kReadingShift))
        && write(textDir + QStringLiteral("document.god"),
                 stored(QStringLiteral("<html><head><title>衍枰说明</title></head>\n<body>说明</body></html>\n"),
                        storedtext::kDocumentShift))
        && write(textDir + QStringLiteral("lines.god"), QByteArray("ab\r\ncd\rX\x81\r\xFE\xFE\r\n"))
        && write(textDir + QStringLiteral("long.god"), longText());

    if (argc == 4) {
        QDir().mkpath(QString::fromLocal8Bit(argv[3]));
        const QString slowDir = QString::fromLocal8Bit(argv[3]) + QLatin1Char('/');
        const QMap<QString, QByteArray> slow = slowPictures();
        for (auto it = slow.begin(); it != slow.end(); ++it)
            ok = ok && write(slowDir + it.key() + QStringLiteral(".wmf"), it.value());
    }
    return ok ? 0 : 1;
}
