#pragma once
#include "Errors.h"

#include <QByteArray>
#include <QString>

namespace platform {

// An ordinary file: exists, is not a folder and is not hidden (on Linux a
// name starting with a dot counts as hidden).
bool ordinaryFileExists(const QString &path);

// Whether this user may create files in the folder. For root, whom the
// system lets write anywhere, the folder's write bits decide: a folder
// nobody may write (an installed program's, mounted read-only or marked so)
// is not written.
bool mayCreateFilesIn(const QString &folder);

// True when the mode bits let someone write the file. Unlike an access
// check this does not call every file writable for root.
bool hasWriteBits(const QString &path);

// Writes a whole file by writing a new file beside it and moving it into
// place, so a link planted under the file's name is replaced, never
// followed. A read-only file is not replaced.
bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure);

// Reads a whole regular file of at most maxBytes bytes: the way every data
// file and picture is read. A link to a regular file is followed; anything
// that is not a regular file (FIFO, device, socket, folder) is refused
// without ever waiting on it, and no more than maxBytes + 1 bytes are read
// whatever the file claims. Failures are FileNotFound when it is missing,
// PermissionDenied, PathFileAccess for a folder or special file (or a read
// error), and OutOfMemory when it is larger than maxBytes.
bool readRegularFile(const QString &path, qint64 maxBytes, QByteArray *out, errors::Failure *failure);

// Enough of a file's identity to notice that it was replaced or changed:
// what stat() says of it (following links), or nothing when it is missing.
struct FileStamp {
    bool exists = false;
    quint32 mode = 0;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp &o) const
    {
        return exists == o.exists && mode == o.mode && device == o.device && inode == o.inode && size == o.size
            && modifiedNs == o.modifiedNs && changedNs == o.changedNs;
    }
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};
FileStamp fileStamp(const QString &path);

} // namespace platform
