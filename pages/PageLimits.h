#pragma once
#include <QByteArray>
#include <QString>

// What a page may ask of the page view. Qt lays out nested blocks by
// recursion and in time that grows fast with their depth, so a page nested
// deeper than kMaxNesting is refused before it reaches Qt; the pictures a
// page shows are capped together at kMaxPagePixels once decoded.
namespace pagelimits {

constexpr int kMaxNesting = 64;
constexpr qint64 kMaxPagePixels = qint64(4096) * 4096;

// How deeply the page's elements nest, counted up to `limit` + 1 at most.
// Tags are read from the raw bytes (any ASCII-compatible encoding, GBK
// included): elements that close themselves (<li>, <td>, <p> ...) end at
// the next of their kind, elements without content (<br>, <img> ...) do not
// nest, and comments are skipped.
int nestingDepth(const QByteArray &html, int limit = kMaxNesting);

inline bool nestingAllowed(const QByteArray &html)
{
    return nestingDepth(html) <= kMaxNesting;
}

// Whether `path` lies inside `folder`: by its name first, so that nothing
// outside is even looked at, then with every link followed. Both must
// exist; a path naming the folder itself is not inside it.
bool isInside(const QString &path, const QString &folder);

} // namespace pagelimits
