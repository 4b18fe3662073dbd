#pragma once
#include <QString>

// The program's title and version. This is the one place they are set: the
// application object, the About box and every message box read them from here.
namespace appinfo {

inline QString title() { return QStringLiteral("衍枰占卜"); }

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 1;

inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace appinfo
