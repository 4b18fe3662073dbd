#pragma once
#include "platform/Version.h"

#include <QCoreApplication>
#include <QString>

// The program's title and version. The title is set here; the version comes
// from the build (project(VERSION) in CMakeLists.txt). The application object
// takes both at start-up, and the windows read them from it or from here.
namespace appinfo {

inline constexpr char kTitle[] = QT_TRANSLATE_NOOP("appinfo", "衍枰占卜");

// The title as written: the application's name, file names, a PDF's creator.
inline QString title()
{
    return QString::fromUtf8(kTitle);
}
// The title as the session shows it in captions and on the reading slip.
inline QString shownTitle()
{
    return QCoreApplication::translate("appinfo", kTitle);
}
inline QString version()
{
    return QStringLiteral(YANPING_VERSION);
}

} // namespace appinfo
