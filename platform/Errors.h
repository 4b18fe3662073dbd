#pragma once
#include <QObject>
#include <QString>

// What can go wrong at run time, by kind, and how the program words it.
namespace errors {
Q_NAMESPACE

enum class Kind {
    None,
    OutOfMemory,
    FileNotFound,
    PermissionDenied,
    PathFileAccess, // a folder or special file where a file belongs, or a read error
    PathNotFound,
    DiskFull, // no room left on the disk, or the file would pass the user's size limit
    InvalidPicture,
    Unexpected, // anything else; its description comes with the failure
};
Q_ENUM_NS(Kind)

// The kind's description for the user in the session's language, e.g.
// "文件未找到".
QString description(Kind kind);

struct Failure {
    Kind kind = Kind::None;
    QString description;
    static Failure of(Kind kind) { return {kind, errors::description(kind)}; }
};

// "Error:53 文件未找到": the message boxes that report a failure show the
// classic BASIC run-time error number of its kind, the way users of such
// programs know them.
QString errorMessage(const Failure &f);
} // namespace errors
