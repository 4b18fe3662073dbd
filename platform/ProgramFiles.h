#pragma once
#include <QString>

// The files beside the program, each named once here: paths relative to the
// program folder, for platform::programPath().
namespace platform::files {

// The reading of a key ("203") and its detailed explanation.
inline QString reading(const QString &key)
{
    return QStringLiteral("/god/xwk/") + key + QStringLiteral(".god");
}
inline QString detail(const QString &key)
{
    return QStringLiteral("/god/xwk/") + key + QStringLiteral("1.god");
}
inline QString instructions()
{
    return QStringLiteral("/god/衍枰说明.god");
}
// The page the web page view is given, written and deleted again.
inline QString pageFile()
{
    return QStringLiteral("/tem.htm");
}

// Behind the home panel, the divination window and the About box.
inline QString globe()
{
    return QStringLiteral("/picture/globe.wmf");
}
// The emblem at rest and its four turning pictures (0 to 3).
inline QString restingEmblem()
{
    return QStringLiteral("/picture/kvnda.gif");
}
inline QString emblemFrame(int frame)
{
    return QStringLiteral("/picture/xwpt") + QChar(u'a' + frame) + QStringLiteral(".gif");
}
// A piece's blank face and its marked faces, 上 (0), 中 (1) and 下 (2).
inline QString blankPiece()
{
    return QStringLiteral("/picture/wu.jpg");
}
inline QString markedPiece(int kind)
{
    const char *const names[3] = {"shang", "zhong", "xia"};
    return QStringLiteral("/picture/") + QLatin1String(names[kind]) + QStringLiteral(".jpg");
}

} // namespace platform::files
