#pragma once
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <vector>

// The GBK (code page 936) character table, built once from Qt's ICU codec.
class GbkTable
{
public:
    static const GbkTable &instance();

    bool available() const { return available_; }
    // The character a code names, or a null QChar when it names none.
    // Codes up to 0xFF are single-byte, larger ones lead * 256 + trail.
    QChar decode(quint32 code) const { return code < forward_.size() ? QChar(forward_[code]) : QChar(); }
    bool isValid(quint32 code) const { return code < valid_.size() && valid_[code]; }
    // The GBK code of a character, or -1 when GBK has none for it.
    int encode(QChar c) const
    {
        const int v = reverse_[c.unicode()];
        return v == 0 && c.unicode() != 0 ? -1 : v;
    }

private:
    GbkTable();
    bool available_ = false;
    std::vector<char16_t> forward_;
    std::vector<bool> valid_;
    std::vector<int> reverse_;
};

// GBK bytes and character codes. A code is the byte of a single-byte
// character or lead * 256 + trail for a double-byte one.
namespace gbk {

using Codes = QVector<quint32>;

// The one place GBK bytes are split into characters: a lead byte
// 0x81-0xFE takes the byte after it as its trail, whatever that byte is
// (stored texts lower every code, so their trails fall below 0x40 too);
// every other byte stands alone. A lead byte at the very end stands alone.
void appendCodes(const char *bytes, qsizetype size, Codes *codes);
Codes codes(const QByteArray &bytes);

// The one GBK encoder, for the stored form and the page file: every
// character of the text in turn with its GBK code, or -1 when GBK has none
// (a surrogate pair is one character, and GBK has none of those).
struct Encoded {
    char32_t unicode;
    int code;
};
QVector<Encoded> encode(const QString &text);
// Appends a code's single byte, or its lead and trail bytes.
void appendBytes(quint32 code, QByteArray *bytes);
// GBK bytes for a file: a code that names no GBK character is written as '?'.
QByteArray bytes(const Codes &codes);

// Text for the screen: a code that names no GBK character shows as U+FFFD.
QString toText(const Codes &codes);
// Plain GBK bytes to text.
QString decode(const QByteArray &bytes);

} // namespace gbk
