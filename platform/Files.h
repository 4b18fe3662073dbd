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

// Whose file writeFileReplacing() writes, which decides what happens to a
// link or a special file standing under the name.
enum class Target {
    // The program's own file (the page file): whatever stands under the
    // name, a planted link included, is replaced, never written through,
    // and the new file may be read by everyone.
    ProgramFile,
    // A file the user named and confirmed (a saved reading): a link leads
    // to the file it names, which keeps its permissions; a dangling link
    // or a special file (FIFO, device, socket) is refused, and the data
    // reach the disk before the file takes the name.
    UserFile,
};

// Writes a whole file or leaves the one under the name exactly as it was:
// the data go to a new file beside it, every byte checked, and only then
// does that file take the name. A read-only file, or one in a folder the
// user may not write, is not replaced. Failures: PathFileAccess for a
// folder or special file, PermissionDenied, PathNotFound for a missing
// folder, FileNotFound for a dangling link, DiskFull when the disk (or the
// user's file size limit) leaves no room.
bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure,
                        Target target = Target::ProgramFile);

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
