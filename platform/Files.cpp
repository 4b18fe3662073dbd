#include "Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <atomic>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
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

bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *failure = errors::Failure::of(errors::Kind::PathFileAccess);
        return false;
    }
    if (target.exists() && !target.isSymLink() && !hasWriteBits(path)) {
        *failure = errors::Failure::of(errors::Kind::PermissionDenied);
        return false;
    }
    if (!target.absoluteDir().exists()) {
        *failure = errors::Failure::of(errors::Kind::PathNotFound);
        return false;
    }
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.tem-XXXXXX"));
    if (!temp.open()) {
        *failure = errors::Failure::of(errors::Kind::PermissionDenied);
        return false;
    }
    if (temp.write(data) != data.size() || !temp.flush()) {
        *failure = errors::Failure::of(errors::Kind::PathFileAccess);
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
        *failure = errors::Failure::of(errors::Kind::PathFileAccess);
        return false;
    }
    temp.setAutoRemove(false);
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                              | QFileDevice::ReadOther);
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
