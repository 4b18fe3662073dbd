#pragma once
#include <array>

// Where the divination window's controls go for a given inner size. All
// values are twips, computed in single precision and not rounded.
namespace divinationlayout {

struct Sizes {
    float textWidth = 6000;    // T
    float textHeight = 5800;   // E
    float comboWidth = 2800;   // C
    float buttonWidth = 2500;  // K, the width of the mode buttons
    float buttonHeight = 600;  // B, the height of the mode buttons
    float detailHeight = 600;  // D, the height of the detail button
    float pieceWidth = 600;    // w
    float pieceHeight = 600;   // h
};

struct Point {
    float x = 0;
    float y = 0;
};

struct Result {
    float G = 0, V = 0, R = 0;
    Point woodenButton, computerButton, detailButton, readingPane, countSelector;
    // pieces[group][index - 1]: group 0 is the 上 pieces, 1 the 中, 2 the 下.
    std::array<std::array<Point, 4>, 3> pieces{};
};

Result compute(float innerWidth, float innerHeight, const Sizes &sizes = Sizes());

} // namespace divinationlayout
