#include "FontConfiguration.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace platform {

bool useProgramFontConfiguration(const QString &programFolder)
{
#if defined(Q_OS_LINUX)
    if (programFolder.isEmpty() || qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
        return false;
    const QFileInfo file(QDir(programFolder).filePath(QStringLiteral("fonts.conf")));
    if (!file.isFile())
        return false;
    return qputenv("FONTCONFIG_FILE", QFile::encodeName(file.absoluteFilePath()));
#else
    Q_UNUSED(programFolder);
    return false;
#endif
}

QString executableFolder()
{
#if defined(Q_OS_LINUX)
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.exists() ? QFileInfo(self.canonicalFilePath()).absolutePath() : QString();
#else
    return QString();
#endif
}

} // namespace platform
