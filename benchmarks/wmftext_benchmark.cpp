// Times the metafile reader on text made to be slow: long runs of large,
// turned glyphs in the program's Chinese faces and a Latin one, piled on
// one spot or spread along a run, on small and large pictures.
//
//   wmftext_benchmark [FOLDER]
//
// Prints one line per picture: its description, the milliseconds it took,
// whether the estimates or the clock stopped it, and the slowest of all at
// the end. With FOLDER, every picture is also written there.
#include "formats/wmf/Wmf.h"
#include "platform/Fonts.h"
#include "tools/wmfwriter/WmfWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstdio>

namespace {

QByteArray textPicture(int side, const QString &face, int pixels, int tenths, bool pile, bool cjk)
{
    wmf::Writer w;
    w.setWindowOrg(0, 0);
    w.setWindowExt(side, side);
    wmf::LogFont f;
    f.height = -pixels;
    f.escapement = tenths;
    f.faceName = face;
    w.selectObject(w.createFont(f));
    w.setBkMode(wmf::Transparent);
    w.setTextAlign(wmf::TaBaseline);
    QString text;
    const int count = pile ? 400 : 2000;
    for (int i = 0; i < count; ++i)
        text += cjk ? QChar(0x9F98 - (i * 37) % 5000) : QChar('A' + i % 26);
    if (pile) {
        // Every advance zero but the last: the glyphs pile up on one spot
        // while the run's box grows huge.
        QVector<int> advances(int(wmf::Writer::toGbk(text).size()), 0);
        advances.last() = 32000;
        for (int k = 0; k < 4; ++k)
            w.extTextOut(side / 2, side / 2, 0, QRect(), text, advances);
    } else {
        for (int k = 0; k < 4; ++k)
            w.textOut(side / 4, side / 2, text);
    }
    return w.data();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutes();
    QFontMetricsF(QFont()).horizontalAdvance(QStringLiteral("衍枰 W"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!folder.isEmpty())
        QDir().mkpath(folder);

    const QStringList faces
        = {QStringLiteral("宋体"),        QStringLiteral("SimSun"), QStringLiteral("楷体"),
           QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi"),  QStringLiteral("Microsoft YaHei"),
           QStringLiteral("Arial")};
    qint64 slowest = 0;
    QString slowestName;
    int count = 0;
    for (const int side : {256, 4096}) {
        for (const QString &face : faces) {
            for (const int pixels : {64, 256, 1024, 8192}) {
                for (const int tenths : {0, 300, 450}) {
                    for (const bool pile : {true, false}) {
                        const bool cjk = face != QLatin1String("Arial") || pile;
                        const QByteArray data = textPicture(side, face, pixels, tenths, pile, cjk);
                        wmf::Report report;
                        QElapsedTimer timer;
                        timer.start();
                        const QImage image = wmf::render(data, wmf::Limits(), &report);
                        const qint64 ms = timer.elapsed();
                        const QString name = QStringLiteral("%1-%2-%3px-%4deg-%5%6")
                                                 .arg(side)
                                                 .arg(face)
                                                 .arg(pixels)
                                                 .arg(tenths / 10)
                                                 .arg(pile ? QStringLiteral("pile") : QStringLiteral("run"))
                                                 .arg(cjk ? QStringLiteral("-cjk") : QString());
                        std::printf("%-48s %5lld ms %s%s\n", qPrintable(name), static_cast<long long>(ms),
                                    report.stoppedEarly ? "stopped" : "whole", report.outOfTime ? " by the clock" : "");
                        if (image.isNull())
                            std::printf("  (not drawn)\n");
                        if (ms > slowest) {
                            slowest = ms;
                            slowestName = name;
                        }
                        if (!folder.isEmpty()) {
                            QFile f(folder + QLatin1Char('/') + name + QStringLiteral(".wmf"));
                            if (f.open(QIODevice::WriteOnly))
                                f.write(data);
                        }
                        ++count;
                    }
                }
            }
        }
    }
    std::printf("%d pictures; slowest %lld ms: %s\n", count, static_cast<long long>(slowest), qPrintable(slowestName));
    return 0;
}
