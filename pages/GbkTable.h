#pragma once
#include <QChar>
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
    QChar decode(quint32 code) const
    {
        return code < forward_.size() ? QChar(forward_[code]) : QChar();
    }
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
