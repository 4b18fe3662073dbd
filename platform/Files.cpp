#include "Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include <algorithm>
#include <atomic>
#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

bool mayCreateFilesIn(const QString &folder)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(folder);
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::access(name.constData(), W_OK | X_OK) == 0;
#else
    return QFileInfo(folder).isWritable();
#endif
}

namespace {

bool fail(errors::Kind kind, errors::Failure *failure)
{
    *failure = errors::Failure::of(kind);
    return false;
}

#ifndef Q_OS_WIN
// What an errno from creating, writing or moving the new file means for the
// user: a full disk and a file past the size limit both leave no room.
errors::Kind writeFailureKind(int e)
{
    switch (e) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return errors::Kind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS: return errors::Kind::PermissionDenied;
    case ENOENT:
    case ENOTDIR: return errors::Kind::PathNotFound;
    default: return errors::Kind::PathFileAccess;
    }
}

// A file past the user's size limit would otherwise end the program with
// SIGXFSZ instead of failing the write.
class FileSizeSignalIgnored
{
public:
    FileSizeSignalIgnored()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, &previous_);
    }
    ~FileSizeSignalIgnored() { ::sigaction(SIGXFSZ, &previous_, nullptr); }

private:
    struct sigaction previous_ = {};
};

// Writes the data to a new file in the folder under a hidden name of its
// own, with that mode (0: the usual mode less the umask); 0 and that name,
// or the errno of the failure (the file is gone).
int writeNewFile(const QString &folder, const QByteArray &data, mode_t mode, bool sync, QByteArray *name)
{
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        *name = QFile::encodeName(folder + QStringLiteral("/.tem-")
                                  + QString::number(QRandomGenerator::global()->generate(), 36));
        fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode ? mode : 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    const FileSizeSignalIgnored sizeSignal;
    int error = 0;
    if (mode && ::fchmod(fd, mode) != 0) // the mode as asked, whatever the umask
        error = errno;
    for (qsizetype done = 0; !error && done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            error = n < 0 ? errno : ENOSPC;
        else
            done += n;
    }
    if (!error && sync && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error && errno != EINTR)
        error = errno;
    if (error)
        ::unlink(name->constData());
    return error;
}
#endif

} // namespace

bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure, Target target)
{
    QString finalPath = path;
    QFileInfo fi(path);
    if (target == Target::UserFile && fi.isSymLink()) {
        finalPath = fi.canonicalFilePath(); // every link on the way resolved
        if (finalPath.isEmpty())
            return fail(errors::Kind::FileNotFound, failure); // dangling, or a loop
        fi = QFileInfo(finalPath);
    }
    if (fi.isDir())
        return fail(errors::Kind::PathFileAccess, failure);
    const bool exists = fi.exists() && !(target == Target::ProgramFile && fi.isSymLink());
    if (exists && target == Target::UserFile && !fi.isFile())
        return fail(errors::Kind::PathFileAccess, failure);
    if (exists && !hasWriteBits(finalPath))
        return fail(errors::Kind::PermissionDenied, failure);
    const QString folder = fi.absolutePath();
    if (!QFileInfo(folder).isDir())
        return fail(errors::Kind::PathNotFound, failure);
    if (!mayCreateFilesIn(folder))
        return fail(errors::Kind::PermissionDenied, failure);
#ifdef Q_OS_WIN
    QTemporaryFile temp(folder + QStringLiteral("/.tem-XXXXXX"));
    if (!temp.open())
        return fail(errors::Kind::PermissionDenied, failure);
    if (temp.write(data) != data.size() || !temp.flush()
        || (target == Target::UserFile && !FlushFileBuffers(HANDLE(_get_osfhandle(temp.handle()))))) {
        const bool full = GetLastError() == ERROR_DISK_FULL || GetLastError() == ERROR_HANDLE_DISK_FULL;
        return fail(full ? errors::Kind::DiskFull : errors::Kind::PathFileAccess, failure);
    }
    temp.close();
    if (!MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(temp.fileName()).utf16()),
                     reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(finalPath).utf16()),
                     MOVEFILE_REPLACE_EXISTING))
        return fail(errors::Kind::PathFileAccess, failure);
    temp.setAutoRemove(false);
    if (target == Target::ProgramFile)
        QFile::setPermissions(finalPath,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                  | QFileDevice::ReadOther);
#else
    // The page file may be read by everyone; a new file the user names gets
    // the usual mode less the umask, a replaced one keeps its own.
    mode_t mode = 0644;
    if (target == Target::UserFile) {
        struct stat st;
        mode = exists && ::stat(QFile::encodeName(finalPath).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    QByteArray tempName;
    if (const int error = writeNewFile(folder, data, mode, target == Target::UserFile, &tempName))
        return fail(writeFailureKind(error), failure);
    // rename() replaces a link of that name itself; it never writes through it.
    if (::rename(tempName.constData(), QFile::encodeName(finalPath).constData()) != 0) {
        const int error = errno;
        ::unlink(tempName.constData());
        return fail(writeFailureKind(error), failure);
    }
#endif
    return true;
}

namespace {

// Why a file could not be read.
enum class ReadProblem {
    None,
    Missing, // no such file
    NoPermission, // the user may not read it
    Folder, // a folder
    NotRegular, // a FIFO, device, socket or other special file
    TooLarge, // larger than the caller's cap
    ReadFailed, // opened, but reading failed
};

errors::Kind failureKind(ReadProblem problem)
{
    switch (problem) {
    case ReadProblem::Missing: return errors::Kind::FileNotFound;
    case ReadProblem::NoPermission: return errors::Kind::PermissionDenied;
    case ReadProblem::TooLarge: return errors::Kind::OutOfMemory;
    default: return errors::Kind::PathFileAccess;
    }
}

bool refuse(ReadProblem why, errors::Failure *failure)
{
    if (failure)
        *failure = errors::Failure::of(failureKind(why));
    return false;
}

#ifndef Q_OS_WIN
// What an errno from stat() or open() means for the reader. A dangling or
// looping link and an over-long name count as missing, as QFileInfo sees them.
ReadProblem problemFromErrno(int e)
{
    switch (e) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG: return ReadProblem::Missing;
    case EACCES:
    case EPERM: return ReadProblem::NoPermission;
    case EISDIR: return ReadProblem::Folder;
    case ENXIO:
    case ENODEV: return ReadProblem::NotRegular;
    default: return ReadProblem::ReadFailed;
    }
}

ReadProblem problemFromMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return ReadProblem::Folder;
    if (!S_ISREG(mode))
        return ReadProblem::NotRegular;
    return ReadProblem::None;
}

struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
#endif

} // namespace

FileStamp fileStamp(const QString &path)
{
    FileStamp stamp;
#ifdef Q_OS_WIN
    const QFileInfo fi(path);
    if (!fi.exists())
        return stamp;
    stamp.exists = true;
    stamp.mode = fi.isDir() ? 1u : fi.isFile() ? 2u : 3u;
    stamp.size = fi.size();
    stamp.modifiedNs = fi.lastModified().toMSecsSinceEpoch() * 1000000;
    stamp.changedNs = fi.metadataChangeTime().toMSecsSinceEpoch() * 1000000;
#else
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.mode = quint32(st.st_mode);
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
#endif
    return stamp;
}

bool readRegularFile(const QString &path, qint64 maxBytes, QByteArray *out, errors::Failure *failure)
{
    maxBytes = std::max<qint64>(maxBytes, 0);
    if (path.isEmpty())
        return refuse(ReadProblem::Missing, failure);
#ifdef Q_OS_WIN
    const QFileInfo fi(path);
    if (!fi.exists())
        return refuse(ReadProblem::Missing, failure);
    if (fi.isDir())
        return refuse(ReadProblem::Folder, failure);
    if (!fi.isFile())
        return refuse(ReadProblem::NotRegular, failure);
    if (fi.size() > maxBytes)
        return refuse(ReadProblem::TooLarge, failure);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError || !fi.isReadable();
        return refuse(denied ? ReadProblem::NoPermission : ReadProblem::ReadFailed, failure);
    }
    if (file.isSequential())
        return refuse(ReadProblem::NotRegular, failure);
    if (file.size() > maxBytes)
        return refuse(ReadProblem::TooLarge, failure);
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(ReadProblem::ReadFailed, failure);
    if (bytes.size() > maxBytes)
        return refuse(ReadProblem::TooLarge, failure);
#else
    const QByteArray name = QFile::encodeName(path);
    // A look before opening spares devices the open itself; the checks on
    // the opened descriptor below are the ones that count.
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return refuse(problemFromErrno(errno), failure);
    if (const ReadProblem p = problemFromMode(st.st_mode); p != ReadProblem::None)
        return refuse(p, failure);
    Descriptor d;
    // Non-blocking, so a FIFO put in place meanwhile cannot hold the open.
    do {
        d.fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (d.fd < 0 && errno == EINTR);
    if (d.fd < 0)
        return refuse(problemFromErrno(errno), failure);
    if (::fstat(d.fd, &st) != 0)
        return refuse(ReadProblem::ReadFailed, failure);
    if (const ReadProblem p = problemFromMode(st.st_mode); p != ReadProblem::None)
        return refuse(p, failure);
    if (st.st_size > maxBytes)
        return refuse(ReadProblem::TooLarge, failure);
    // Read up to one byte past the cap: the size said can be wrong (a file
    // that grows, or one of those that report no size at all).
    QByteArray bytes;
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes)
                break;
            const qint64 wanted = std::max<qint64>({total * 2, qint64(st.st_size) + 1, 64 * 1024});
            bytes.resize(qsizetype(std::min(wanted, maxBytes + 1)));
        }
        const ssize_t n = ::read(d.fd, bytes.data() + total, size_t(bytes.size() - total));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return refuse(errno == EISDIR ? ReadProblem::Folder : ReadProblem::ReadFailed, failure);
        }
        total += n;
    }
    if (total > maxBytes)
        return refuse(ReadProblem::TooLarge, failure);
    bytes.resize(qsizetype(total));
#endif
    *out = bytes;
    return true;
}

} // namespace platform
