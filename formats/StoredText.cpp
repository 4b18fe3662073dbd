#include "StoredText.h"

#include "Gbk.h"
#include "platform/Files.h"

namespace storedtext {

Codes gather(const QByteArray &fileBytes)
{
    Codes codes;
    const char *data = fileBytes.constData();
    const qsizetype size = fileBytes.size();
    qsizetype pos = 0;
    // The length test comes before every line, so the line that crosses the
    // limit is kept whole and only the lines after it are dropped.
    while (pos < size && codes.size() <= kCharacterLimit) {
        qsizetype end = pos;
        while (end < size && data[end] != '\r')
            ++end;
        gbk::appendCodes(data + pos, end - pos, &codes);
        pos = end;
        if (pos < size) { // consume CR, or CR LF
            ++pos;
            if (pos < size && data[pos] == '\n')
                ++pos;
        }
    }
    return codes;
}

bool readFile(const QString &path, Codes *codes, errors::Failure *failure)
{
    codes->clear();
    QByteArray bytes;
    if (!platform::readRegularFile(path, kMaxFileBytes, &bytes, failure))
        return false;
    *codes = gather(bytes);
    return true;
}

Codes unshift(const Codes &stored, int shift)
{
    Codes out;
    out.reserve(stored.size());
    for (quint32 c : stored)
        out.append(c + quint32(shift));
    return out;
}

QByteArray toGbk(const Codes &codes)
{
    return gbk::bytes(codes);
}

QString decodeToDisplay(const QByteArray &fileBytes, int shift)
{
    return gbk::toText(unshift(gather(fileBytes), shift));
}

EncodeResult encode(const QString &input, int shift, bool convertNewlines)
{
    QString text = input;
    if (convertNewlines) {
        QString converted;
        converted.reserve(text.size() + text.size() / 16);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('\n') && (i == 0 || text.at(i - 1) != QLatin1Char('\r')))
                converted.append(QLatin1Char('\r'));
            converted.append(text.at(i));
        }
        text = converted;
    }

    EncodeResult result;
    int line = 1;
    int column = 0;
    for (const gbk::Encoded &ch : gbk::encode(text)) {
        ++column;
        auto refuse = [&](const QString &why) {
            result.ok = false;
            result.bytes.clear();
            result.line = line;
            result.column = column;
            result.problem = why;
            return result;
        };
        if (ch.code < 0)
            return refuse(ch.unicode > 0xFFFF || QChar::isSurrogate(ch.unicode)
                              ? QStringLiteral("character outside GBK")
                              : QStringLiteral("character U+%1 is not in GBK")
                                    .arg(uint(ch.unicode), 4, 16, QLatin1Char('0'))
                                    .toUpper());
        const int lowered = ch.code - shift;
        if (lowered < 0)
            return refuse(QStringLiteral("character code %1 is below the shift").arg(ch.code));
        if (ch.code > 0xFF) {
            // A double-byte character keeps a lead byte of 0x81 or more
            // after lowering, since trail bytes start at 0x40.
            const int lead = lowered >> 8;
            const int trail = lowered & 0xFF;
            if (lead < 0x81 || trail == '\r')
                return refuse(QStringLiteral("character cannot be stored with this shift"));
        } else if (lowered == '\r') {
            return refuse(QStringLiteral("character would be stored as a line end"));
        }
        // A single-byte code (at most 0x80) lowered stays below the lead
        // bytes, so it is never read back as half of a double-byte one.
        gbk::appendBytes(quint32(lowered), &result.bytes);
        if (ch.unicode == '\n') {
            ++line;
            column = 0;
        }
    }
    result.ok = true;
    return result;
}

bool gbkAvailable()
{
    return GbkTable::instance().available();
}

} // namespace storedtext
