#include "PageFile.h"

#include "platform/Files.h"
#include "platform/ProgramFiles.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pagefile {
namespace {
int pending = 0;

} // namespace

QString privateFolder(Use use)
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        return QString();
    const QString folder = QDir(base).filePath(QStringLiteral("yanping"));
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(folder);
    if (use == Use::Write) {
        QDir().mkpath(base);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return QString();
    }
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return use == Use::Write ? QString() : folder; // not made yet: nothing in it to find
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return QString(); // a link or someone else's folder: not ours to use
    if (use == Use::Write && (st.st_mode & 0777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        return QString();
#else
    if (use == Use::Write && !QDir().mkpath(folder))
        return QString();
#endif
    return folder;
}

QString path(Use use)
{
    const QString programFolder = platform::programFolder();
    if (platform::mayCreateFilesIn(programFolder))
        return platform::programPath(platform::files::pageFile());
    const QString folder = privateFolder(use);
    if (folder.isEmpty())
        return platform::programPath(platform::files::pageFile()); // the write fails and says why
    return platform::joinPath(folder, platform::files::pageFile());
}

void loadStarted()
{
    ++pending;
}

void loadFinished()
{
    if (pending > 0)
        --pending;
}

bool loadPending()
{
    return pending > 0;
}

bool deleteIfPresent(const QString &path)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile() || fi.isHidden())
        return false;
    if (!fi.isSymLink() && !platform::hasWriteBits(path))
        return false; // read-only: left alone
    return QFile::remove(path);
}

} // namespace pagefile

PageFileSweeper::PageFileSweeper(QObject *parent) : QObject(parent)
{
    timer_.setObjectName(QStringLiteral("pageFileTimer"));
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &PageFileSweeper::sweep);
    timer_.start();
}

void PageFileSweeper::sweep()
{
    if (pagefile::loadPending())
        return; // a viewer has yet to read it; the next tick removes it
    pagefile::deleteIfPresent(pagefile::path());
}
