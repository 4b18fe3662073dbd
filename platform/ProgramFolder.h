#pragma once
#include "Seam.h"

#include <QString>

// The program folder: the folder that holds the executable, with god/ and
// picture/ beside it. Everything the program reads is found through it.
namespace platform {

// The folder, without a trailing separator; empty until start-up sets it.
// While a ProgramFolderOverride lives, it is the folder given to that.
using ProgramFolderSeam = Seam<QString, struct ProgramFolderTag>;
using ProgramFolderOverride = ProgramFolderSeam::Override;
QString programFolder();
void setProgramFolder(const QString &folder);

// The program folder for an executable folder in the host's path form: the
// host's own trailing separators are dropped, except the one a root folder
// ("/" or "C:\") needs. Any other character, a backslash on Linux among
// them, belongs to the name and stays.
QString programFolderFrom(const QString &executableFolder);

// Joins a folder and a program path such as "/god/xwk/000.god" (files are
// named in ProgramFiles.h). A '\' in the path, as the Windows form writes
// it, is taken as a separator too.
QString joinPath(const QString &folder, const QString &literal);

// programFolder() followed by a program literal.
QString programPath(const QString &literal);

} // namespace platform
