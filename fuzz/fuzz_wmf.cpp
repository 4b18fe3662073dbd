// libFuzzer target: plays arbitrary bytes as a Windows metafile.
#include "formats/Gbk.h"
#include "formats/wmf/Wmf.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Pictures up to 512 x 512 and a twenty-fifth of the reader's budget: the
// limits are the reader's own, so every check it makes is still made, but a
// mutant that declares the largest picture is refused at once and the rest
// play in milliseconds, which keeps the target at hundreds of inputs a
// second. The reader's clock is off: the estimates alone must stop a slow
// input, and an input that takes over 25 times its budget (sanitizers,
// a new font's set-up and all) has found work they do not see.
wmf::Limits fuzzLimits()
{
    wmf::Limits limits;
    limits.maxWidth = 512;
    limits.maxHeight = 512;
    limits.paintBudget = 20000000;
    limits.paintMilliseconds = 0;
    return limits;
}

// WMF_FUZZ_MAX_MS changes the bound (a slower machine, a debugger).
qint64 slowestAllowedMs()
{
    const int ms = qEnvironmentVariableIntValue("WMF_FUZZ_MAX_MS");
    return ms > 0 ? ms : 500;
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
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    static const wmf::Limits limits = fuzzLimits();
    wmf::Report report;
    QElapsedTimer timer;
    timer.start();
    const QImage image = wmf::render(bytes, limits, &report);
    const qint64 ms = timer.elapsed();
    if (ms > slowest) {
        std::fprintf(stderr, "metafile took %lld ms (work %lld of %lld, %d records)\n", static_cast<long long>(ms),
                     static_cast<long long>(report.work), static_cast<long long>(limits.paintBudget), report.records);
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
