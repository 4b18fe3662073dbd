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

namespace {
// Where the private folder may go, in order: "yanping" in the session's
// runtime folder (or, without one, in the user's cache folder), then a
// folder of the user's own in the temporary folder, for a session with
// neither HOME nor XDG_RUNTIME_DIR.
QStringList candidateFolders()
{
    QStringList folders;
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!base.isEmpty() && QDir::isAbsolutePath(base))
        folders << QDir(base).filePath(QStringLiteral("yanping"));
    const QString temp = QDir::tempPath(); // empty when TMPDIR names no folder
#ifdef Q_OS_UNIX
    if (QDir::isAbsolutePath(temp))
        folders << QDir(temp).filePath(QStringLiteral("yanping-") + QString::number(::geteuid()));
#else
    if (QDir::isAbsolutePath(temp))
        folders << QDir(temp).filePath(QStringLiteral("yanping"));
#endif
    return folders;
}

enum class State { Missing, Ours, NotOurs };

// Whether the folder is the user's own plain folder; for writing it is
// made first, with mode 0700.
State prepare(const QString &folder, Use use)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(folder);
    if (use == Use::Write) {
        QDir().mkpath(QFileInfo(folder).path());
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return State::Missing;
    }
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return State::Missing;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return State::NotOurs; // a link or someone else's folder: not ours to use
    if (use == Use::Write && (st.st_mode & 0777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        return State::NotOurs;
    return State::Ours;
#else
    if (use == Use::Write)
        QDir().mkpath(folder);
    return QFileInfo(folder).isDir() ? State::Ours : State::Missing;
#endif
}
} // namespace

QString privateFolder(Use use)
{
    QString firstMissing;
    for (const QString &folder : candidateFolders()) {
        const State state = prepare(folder, use);
        if (state == State::Ours)
            return folder;
        if (state == State::Missing && firstMissing.isEmpty())
            firstMissing = folder;
    }
    // Looking: a folder not made yet has nothing in it to find.
    return use == Use::Find ? firstMissing : QString();
}

QString path(Use use)
{
    const QString programFolder = platform::programFolder();
    if (platform::mayCreateFilesIn(programFolder))
        return platform::programPath(platform::files::pageFile());
    const QString folder = privateFolder(use);
    if (!folder.isEmpty())
        return platform::joinPath(folder, platform::files::pageFile());
    return use == Use::Write ? QString() : platform::programPath(platform::files::pageFile());
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
