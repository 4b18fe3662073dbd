// libFuzzer target: plays arbitrary bytes as a Windows metafile.
#include "formats/Gbk.h"
#include "formats/wmf/Wmf.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// The reader's budget is about half a second of painting; an input that
// takes three times that has found work the budget does not see.
// WMF_FUZZ_MAX_MS changes the bound (a slower machine, a debugger).
qint64 slowestAllowedMs()
{
    const int ms = qEnvironmentVariableIntValue("WMF_FUZZ_MAX_MS");
    return ms > 0 ? ms : 1500;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Text records need a GUI application for fonts; no display is used.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    // What the first text costs once a process (the GBK table, the font
    // system) is paid here, outside the timed plays.
    GbkTable::instance();
    QFontMetricsF(QFont()).horizontalAdvance(QStringLiteral("衍枰 W"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const qint64 slowest = slowestAllowedMs();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const wmf::Limits limits;
    wmf::Report report;
    QElapsedTimer timer;
    timer.start();
    const QImage image = wmf::render(bytes, limits, &report);
    const qint64 ms = timer.elapsed();
    if (ms > slowest) {
        std::fprintf(stderr, "metafile took %lld ms (work %lld of %lld, %d records)\n",
                     static_cast<long long>(ms), static_cast<long long>(report.work),
                     static_cast<long long>(limits.paintBudget), report.records);
        std::abort();
    }
    if (report.work > limits.paintBudget)
        std::abort();
    if (!image.isNull()) {
        // The picture's size always stays within the limits.
        if (image.width() > limits.maxWidth || image.height() > limits.maxHeight)
            std::abort();
        if (image.size() != wmf::naturalSize(bytes))
            std::abort();
    }
    return 0;
}
