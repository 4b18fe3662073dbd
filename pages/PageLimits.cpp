#include "PageLimits.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <cstring>

namespace pagelimits {

namespace {

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool oneOf(const QByteArray &tag, std::initializer_list<const char *> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char *n) { return tag == n; });
}

bool isVoid(const QByteArray &tag)
{
    return oneOf(tag,
                 {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
                  "track", "wbr", "basefont", "frame", "isindex", "keygen"});
}

// Elements a new one of the same kind ends.
bool closesItsKind(const QByteArray &tag)
{
    return oneOf(tag, {"li", "dt", "dd", "p", "td", "th", "tr", "option", "thead", "tbody", "tfoot"});
}

} // namespace

int nestingDepth(const QByteArray &html, int limit)
{
    QList<QByteArray> open;
    int deepest = 0;
    const char *at = html.constData();
    const char *const end = at + html.size();
    while (at < end && deepest <= limit) {
        at = static_cast<const char *>(std::memchr(at, '<', size_t(end - at)));
        if (!at)
            break;
        ++at;
        if (end - at >= 3 && std::memcmp(at, "!--", 3) == 0) {
            static const char kEnd[] = "-->";
            const char *close = std::search(at + 3, end, kEnd, kEnd + 3);
            at = close == end ? end : close + 3;
            continue;
        }
        const bool closing = at < end && *at == '/';
        if (closing)
            ++at;
        const char *name = at;
        while (at < end && isNameCharacter(*at))
            ++at;
        if (at == name)
            continue; // "<" that starts no tag, "<!DOCTYPE", "<?..."
        const QByteArray tag = QByteArray(name, at - name).toLower();
        // The rest of the tag, quoted values and all.
        char quote = 0;
        bool selfClosed = false;
        for (; at < end; ++at) {
            if (quote) {
                quote = *at == quote ? 0 : quote;
            } else if (*at == '"' || *at == '\'') {
                quote = *at;
            } else if (*at == '>') {
                selfClosed = at[-1] == '/';
                ++at;
                break;
            }
        }
        if (isVoid(tag) || (selfClosed && !closing))
            continue;
        if (closing) {
            for (qsizetype i = open.size() - 1; i >= 0; --i) {
                if (open[i] == tag) {
                    open.resize(i);
                    break;
                }
            }
            continue;
        }
        if (closesItsKind(tag) && !open.isEmpty() && open.last() == tag)
            open.removeLast();
        open.append(tag);
        deepest = std::max(deepest, int(open.size()));
    }
    return deepest;
}

bool isInside(const QString &path, const QString &folder)
{
    const QString root = QDir::cleanPath(QDir(folder).absolutePath());
    const QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    if (!cleaned.startsWith(prefix))
        return false;
    // Inside by name; links inside may still lead out.
    const QString realRoot = QFileInfo(root).canonicalFilePath();
    const QString real = QFileInfo(cleaned).canonicalFilePath();
    if (realRoot.isEmpty() || real.isEmpty())
        return false;
    const QString realPrefix = realRoot.endsWith(QLatin1Char('/')) ? realRoot : realRoot + QLatin1Char('/');
    return real.startsWith(realPrefix);
}

} // namespace pagelimits
