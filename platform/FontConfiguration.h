#pragma once
#include <QString>

namespace platform {

// On Linux, before the application object exists: has fontconfig read the
// program's own configuration, fonts.conf in `programFolder` (which takes in
// the system's and draws the AR PL faces from their outlines at every size).
// A configuration the user chose (FONTCONFIG_FILE) is left alone, as is a
// folder without the file. Returns whether the program's file is in use.
bool useProgramFontConfiguration(const QString &programFolder);

// The folder of the running executable, known before the application object
// exists; empty where the system does not tell.
QString executableFolder();

} // namespace platform
