#pragma once
#include "Script.h"

#include <QString>

class QApplication;

// The program's own texts (menu, captions, buttons, etiquettes, messages)
// are written in Simplified Chinese and translated by hand for Taiwan and
// for Hong Kong and Macau: translations/yanping_zh_TW.qm and
// yanping_zh_HK.qm beside the executable. Qt's own texts (file and print
// dialogs, context menus) come from Qt's translation: Simplified Chinese, or
// Taiwan's for both Traditional regions, as Qt has no other.
namespace platform {

// The session's translations, for the script its language asks for, from
// the program folder's translations/. Called once at start-up, before the
// first window.
void installTranslations(QApplication &app);

// Replaces the installed translations by those for `script`, the program's
// from `folder`. A Traditional script whose translation cannot be loaded
// gets Simplified texts throughout, Qt's among them. Returns whether the
// session shows `script`.
bool installTranslations(script::Script script, const QString &folder);

// Turns the session's texts back to Simplified as a whole: removes the
// program's translation and Qt's Traditional one and puts Qt's Simplified
// one in its place. Open windows get a LanguageChange event and set their
// texts again.
void removeTranslations();

} // namespace platform
