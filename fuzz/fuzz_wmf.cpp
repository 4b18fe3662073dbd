// libFuzzer target: plays arbitrary bytes as a Windows metafile.
#include "formats/wmf/Wmf.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Text records need a GUI application for fonts; no display is used.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const QImage image = wmf::render(bytes);
    if (!image.isNull()) {
        // The picture's size always stays within the limits.
        const wmf::Limits limits;
        if (image.width() > limits.maxWidth || image.height() > limits.maxHeight)
            std::abort();
        if (image.size() != wmf::naturalSize(bytes))
            std::abort();
    }
    return 0;
}
