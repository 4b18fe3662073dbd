#pragma once
#include "Errors.h"

#include <QByteArray>
#include <QString>

namespace platform {

// An ordinary file: exists, is not a folder and is not hidden (on Linux a
// name starting with a dot counts as hidden).
bool ordinaryFileExists(const QString &path);

// True when the mode bits let someone write the file. Unlike an access
// check this does not call every file writable for root.
bool hasWriteBits(const QString &path);

// Writes a whole file by writing a new file beside it and moving it into
// place, so a link planted under the file's name is replaced, never
// followed. A read-only file is not replaced.
bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure);

} // namespace platform
