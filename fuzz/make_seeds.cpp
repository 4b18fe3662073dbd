// Writes the starting corpora for the fuzz targets: a few small metafiles
// that use every record the reader draws, and stored text files.
#include "formats/StoredText.h"
#include "tools/wmfwriter/WmfWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

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
    w.extTextOut(0, 0, wmf::EtoOpaque | wmf::EtoClipped, QRect(50, 400, 600, 300),
                 QStringLiteral("上中下"), {120, 0, 120, 0, 120, 0});
    w.setMapMode(wmf::MmTwips);
    w.textOut(10, -10, QStringLiteral("twips"));
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds WMF-DIR STOREDTEXT-DIR\n");
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
              && write(wmfDir + QStringLiteral("mappings.wmf"), mappings());

    const auto stored = [](const QString &s, int shift) {
        return storedtext::encode(s, shift, true).bytes;
    };
    ok = ok
         && write(textDir + QStringLiteral("reading.god"),
                  stored(QStringLiteral("上上签\n天地人和，所求皆遂。\n"), storedtext::kReadingShift))
         && write(textDir + QStringLiteral("document.god"),
                  stored(QStringLiteral("<html><head><title>衍枰说明</title></head>\n<body>说明</body></html>\n"),
                         storedtext::kDocumentShift))
         && write(textDir + QStringLiteral("lines.god"), QByteArray("ab\r\ncd\rX\x81\r\xFE\xFE\r\n"))
         && write(textDir + QStringLiteral("long.god"), longText());
    return ok ? 0 : 1;
}
