#pragma once
#include <QString>

class QFont;

namespace platform {

// Maps the classic Chinese Windows font faces used in the layouts to the
// free CJK faces of the host, so that the layouts keep their face names.
void installFontSubstitutes();

// In a Traditional session, puts the Taiwan or Hong Kong variants of the
// free faces first for each design face (installFontSubstitutes() does this).
void preferRegionalFaces();

// A font of the given face and point size, normal weight.
QFont designFont(const QString &face, double points);

} // namespace platform
