#include "PageScript.h"

#include "formats/StoredText.h"
#include "platform/Script.h"

namespace pagescript {
namespace {
// Where the element whose text is not for reading (a style sheet, a
// script) that starts at `tag` ends, or -1 when the tag starts none.
qsizetype endOfRawElement(const QString &html, qsizetype tag, qsizetype tagEnd)
{
    for (const QLatin1String name : {QLatin1String("style"), QLatin1String("script")}) {
        const qsizetype after = tag + 1 + name.size();
        if (html.mid(tag + 1, name.size()).compare(name, Qt::CaseInsensitive) != 0 || after > tagEnd)
            continue;
        const QChar next = html.at(after);
        if (next != QLatin1Char('>') && !next.isSpace() && next != QLatin1Char('/'))
            continue;
        const qsizetype close = html.indexOf(QLatin1String("</") + name, tagEnd, Qt::CaseInsensitive);
        return close < 0 ? html.size() : close;
    }
    return -1;
}
} // namespace

QString displayPage(const QString &html)
{
    QString out;
    out.reserve(html.size());
    qsizetype pos = 0;
    while (pos < html.size()) {
        const qsizetype tag = html.indexOf(QLatin1Char('<'), pos);
        out += script::display(html.mid(pos, (tag < 0 ? html.size() : tag) - pos), script::TextKind::Instructions);
        if (tag < 0)
            break;
        qsizetype end;
        if (html.mid(tag, 4) == QLatin1String("<!--")) {
            end = html.indexOf(QLatin1String("-->"), tag + 4);
            end = end < 0 ? html.size() : end + 3;
        } else {
            end = html.indexOf(QLatin1Char('>'), tag);
            end = end < 0 ? html.size() : end + 1;
            const qsizetype raw = endOfRawElement(html, tag, end - 1);
            if (raw >= 0)
                end = raw;
        }
        out += html.mid(tag, end - tag);
        pos = end;
    }
    return out;
}

QByteArray toGbkHtml(const QString &html)
{
    QByteArray bytes;
    bytes.reserve(html.size() * 2);
    for (const gbk::Encoded &c : gbk::encode(html)) {
        if (c.code >= 0)
            gbk::appendBytes(quint32(c.code), &bytes);
        else
            bytes.append("&#" + QByteArray::number(uint(c.unicode)) + ';');
    }
    return bytes;
}

QByteArray pageBytes(const gbk::Codes &page)
{
    if (script::current() == script::Script::Simplified)
        return storedtext::toGbk(page);
    return toGbkHtml(displayPage(gbk::toText(page)));
}

} // namespace pagescript
