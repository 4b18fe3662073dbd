#include "Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

bool ordinaryFileExists(const QString &path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile() && !fi.isHidden();
}

bool hasWriteBits(const QString &path)
{
    const auto writable = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return QFileInfo(path).permissions() & writable;
}

bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *failure = errors::Failure::of(errors::PathFileAccess);
        return false;
    }
    if (target.exists() && !target.isSymLink() && !hasWriteBits(path)) {
        *failure = errors::Failure::of(errors::PermissionDenied);
        return false;
    }
    if (!target.absoluteDir().exists()) {
        *failure = errors::Failure::of(errors::PathNotFound);
        return false;
    }
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.tem-XXXXXX"));
    if (!temp.open()) {
        *failure = errors::Failure::of(errors::PermissionDenied);
        return false;
    }
    if (temp.write(data) != data.size() || !temp.flush()) {
        *failure = errors::Failure::of(errors::PathFileAccess);
        return false;
    }
    temp.close();
    const QString tempPath = temp.fileName();
#ifdef Q_OS_WIN
    const bool moved = MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(tempPath).utf16()),
                                   reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                   MOVEFILE_REPLACE_EXISTING)
                       != 0;
#else
    // rename() replaces a link of that name itself; it never writes through it.
    const bool moved = std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) == 0;
#endif
    if (!moved) {
        *failure = errors::Failure::of(errors::PathFileAccess);
        return false;
    }
    temp.setAutoRemove(false);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther);
    return true;
}

} // namespace platform
