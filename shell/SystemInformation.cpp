#include "SystemInformation.h"

#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

#include <QStandardPaths>

namespace {
// Where the system-information tool registers itself: first its full path,
// then, failing that, the folder that holds it.
const QString kToolPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolPathValue = QStringLiteral("PATH");
const QString kToolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kToolFolderValue = QStringLiteral("MSINFO");
const QString kToolFile = QStringLiteral("\\MSINFO32.EXE");

#ifndef Q_OS_WIN
// The desktops' own tools for the same job, in order of preference.
QString desktopTool()
{
    for (const char *name : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}
#endif
} // namespace

std::optional<QString> systemInformationTool()
{
    // A full path is taken as it is, unchecked; one that names nothing
    // fails to start.
    QString tool;
    if (registry::readValueText(registry::kLocalMachine, kToolPathKey, kToolPathValue, tool))
        return tool;
    // No full path: the folder it was installed in, and the tool there.
    QString folder;
    if (registry::readValueText(registry::kLocalMachine, kToolFolderKey, kToolFolderValue, folder)) {
        const QString path = platform::joinPath(folder, kToolFile);
        if (platform::ordinaryFileExists(path))
            return path;
        return std::nullopt;
    }
#ifndef Q_OS_WIN
    if (const QString desktop = desktopTool(); !desktop.isEmpty())
        return desktop;
#endif
    return std::nullopt;
}
