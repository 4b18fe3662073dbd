// libFuzzer target: decodes arbitrary bytes as a stored text file.
#include "formats/StoredText.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString document = storedtext::decodeToDisplay(bytes, storedtext::kDocumentShift);
    const QString reading = storedtext::decodeToDisplay(bytes, storedtext::kReadingShift);
    const storedtext::Codes codes = storedtext::gather(bytes);
    const storedtext::Codes raised = storedtext::unshift(codes, storedtext::kReadingShift);
    const QByteArray gbk = storedtext::toGbk(raised);

    // One character on the screen for every code, one or two bytes in GBK.
    if (codes.size() > qsizetype(size))
        std::abort();
    if (document.size() != codes.size() || reading.size() != codes.size())
        std::abort();
    if (gbk.size() < codes.size() || gbk.size() > 2 * codes.size())
        std::abort();
    // The GBK bytes read back as the same text, '?' standing where a code
    // named no character.
    QString expected = gbk::toText(raised);
    expected.replace(QChar(QChar::ReplacementCharacter), QLatin1Char('?'));
    if (gbk::decode(gbk) != expected)
        std::abort();
    return 0;
}
