#include "ProgramFolder.h"

#include <QDir>

namespace platform {

QString programFolder()
{
    return ProgramFolderSeam::value();
}

void setProgramFolder(const QString &folder)
{
    ProgramFolderSeam::set(folder);
}

QString programFolderFrom(const QString &executableFolder)
{
    QString folder = executableFolder;
    const QChar separator = QDir::separator();
    auto isRoot = [&folder, separator] {
        return folder.size() == 1
            || (folder.size() == 3 && folder.at(1) == QLatin1Char(':') && separator == QLatin1Char('\\'));
    };
    while (folder.endsWith(separator) && !isRoot())
        folder.chop(1);
    return folder;
}

QString joinPath(const QString &folder, const QString &literal)
{
    QString tail = literal;
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + tail;
}

QString programPath(const QString &literal)
{
    return joinPath(programFolder(), literal);
}

} // namespace platform
