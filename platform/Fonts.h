#pragma once
#include "Script.h"

#include <QString>

class QFont;

namespace platform {

// Maps the classic Chinese Windows font faces used in the layouts to the
// free CJK faces of the host, so that the layouts keep their face names,
// for the script the session's language asks for (useFacesFor()). A session
// that turns Simplified later (its converter failed) calls
// useFacesFor(script::Script::Simplified).
void installFontSubstitutes();

// Sets the free faces that stand for each design face (宋体, 楷体 ...) for
// texts in `shown`. Simplified text keeps the AR PL faces. Traditional text
// is drawn in faces that have every character the region writes, in that
// region's standard forms: a Ming face and a Kai face, with no sans face
// filling in among them; the program's own texts in the desktop's font
// take their Chinese from the region's sans face. Calling it again with
// another script replaces the earlier choice.
void useFacesFor(script::Script shown);

// A font of the given face and point size, normal weight.
QFont designFont(const QString &face, double points);

} // namespace platform
