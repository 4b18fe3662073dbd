#pragma once
#include "platform/Version.h"

#include <QString>

// The program's title and version. The title is set here; the version comes
// from the build (project(VERSION) in CMakeLists.txt). The application object
// takes both at start-up, and the windows read them from it or from here.
namespace appinfo {

inline QString title()
{
    return QStringLiteral("衍枰占卜");
}
inline QString version()
{
    return QStringLiteral(YANPING_VERSION);
}

} // namespace appinfo
