#include "Gbk.h"

#include <QStringDecoder>

const GbkTable &GbkTable::instance()
{
    static const GbkTable table;
    return table;
}

GbkTable::GbkTable() : forward_(0x10000, 0), valid_(0x10000, false), reverse_(0x10000, 0)
{
    auto set = [this](quint32 code, char16_t ch) {
        forward_[code] = ch;
        valid_[code] = true;
        if (reverse_[ch] == 0 && ch != 0)
            reverse_[ch] = int(code);
    };
    for (quint32 b = 0; b < 0x80; ++b)
        set(b, char16_t(b));

    QStringDecoder probe("GBK", QStringDecoder::Flag::Stateless);
    available_ = probe.isValid();
    if (!available_)
        return;

    auto decodeOne = [](const QByteArray &bytes) -> char16_t {
        QStringDecoder d("GBK", QStringDecoder::Flag::Stateless);
        const QString s = d.decode(bytes);
        if (d.hasError() || s.size() != 1 || s.at(0) == QChar::ReplacementCharacter)
            return 0;
        return s.at(0).unicode();
    };

    // The single byte 0x80 (the euro sign in code page 936).
    if (const char16_t c = decodeOne(QByteArray(1, char(0x80))))
        set(0x80, c);

    // Double-byte characters: decode one lead byte's row at a time; if the
    // row does not come back one character per pair, decode pair by pair.
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        QByteArray row;
        std::vector<int> trails;
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            row.append(char(lead));
            row.append(char(trail));
            trails.push_back(trail);
        }
        QStringDecoder d("GBK", QStringDecoder::Flag::Stateless);
        const QString s = d.decode(row);
        const bool aligned = s.size() == int(trails.size());
        for (size_t i = 0; i < trails.size(); ++i) {
            const quint32 code = quint32(lead) << 8 | quint32(trails[i]);
            char16_t c = 0;
            if (aligned) {
                c = s.at(int(i)).unicode();
                if (c == QChar::ReplacementCharacter || QChar::isSurrogate(c))
                    c = 0;
            } else {
                c = decodeOne(row.mid(int(i) * 2, 2));
            }
            if (c)
                set(code, c);
        }
    }
}

namespace gbk {

void appendCodes(const char *bytes, qsizetype size, Codes *codes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes);
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = data[i];
        if (b >= 0x81 && b <= 0xFE && i + 1 < size) {
            codes->append(quint32(b) << 8 | data[i + 1]);
            ++i;
        } else {
            codes->append(b);
        }
    }
}

Codes codes(const QByteArray &bytes)
{
    Codes out;
    out.reserve(bytes.size());
    appendCodes(bytes.constData(), bytes.size(), &out);
    return out;
}

QVector<Encoded> encode(const QString &text)
{
    const GbkTable &table = GbkTable::instance();
    QVector<Encoded> out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            out.append({QChar::surrogateToUcs4(c, text.at(++i)), -1});
        else
            out.append({c.unicode(), c.isSurrogate() ? -1 : table.encode(c)});
    }
    return out;
}

void appendBytes(quint32 code, QByteArray *bytes)
{
    if (code > 0xFF)
        bytes->append(char(code >> 8));
    bytes->append(char(code & 0xFF));
}

QByteArray bytes(const Codes &codes)
{
    const GbkTable &table = GbkTable::instance();
    QByteArray out;
    out.reserve(codes.size() * 2);
    for (quint32 c : codes) {
        if (table.isValid(c))
            appendBytes(c, &out);
        else
            out.append('?');
    }
    return out;
}

QString toText(const Codes &codes)
{
    const GbkTable &table = GbkTable::instance();
    QString text;
    text.reserve(codes.size());
    for (quint32 c : codes)
        text.append(table.isValid(c) ? table.decode(c) : QChar(QChar::ReplacementCharacter));
    return text;
}

QString decode(const QByteArray &bytes)
{
    return toText(codes(bytes));
}

} // namespace gbk
