#pragma once
#include <QString>

class QApplication;
class QFont;

namespace platform {

// Joins a folder and a program literal such as "\god\xwk\000.god". The
// literals always use '\' as separator; this maps it to the host's form.
QString joinPath(const QString &folder, const QString &literal);

// An ordinary file: exists, is not a folder and is not hidden (on Linux a
// name starting with a dot counts as hidden).
bool ordinaryFileExists(const QString &path);

// Qt's own texts (context menus, window menus) in Chinese, where installed.
void installTranslations(QApplication &app);

// Maps the classic Chinese Windows font faces used in the layouts to the
// free CJK faces of the host, so that the layouts keep their face names.
void installFontSubstitutes();

// A font of the given face and point size, normal weight.
QFont designFont(const QString &face, double points);

} // namespace platform

#include "Errors.h"
#include <QByteArray>

namespace platform {
// Writes a whole file by writing a new file beside it and moving it into
// place, so a link planted under the file's name is replaced, never
// followed. A read-only file is not replaced.
bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure);
} // namespace platform
