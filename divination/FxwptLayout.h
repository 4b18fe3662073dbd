#pragma once
#include <array>

// Where the divination window's controls go for a given inner size. All
// values are twips, computed in single precision and not rounded.
namespace fxwptlayout {

struct Sizes {
    float textWidth = 6000;    // T
    float textHeight = 5800;   // E
    float comboWidth = 2800;   // C
    float buttonWidth = 2500;  // K, the width of Command1
    float buttonHeight = 600;  // B, the height of Command1
    float detailHeight = 600;  // D, the height of Command3
    float pieceWidth = 600;    // w
    float pieceHeight = 600;   // h
};

struct Point {
    float x = 0;
    float y = 0;
};

struct Result {
    float G = 0, V = 0, R = 0;
    Point command1, command2, command3, text1, combo1;
    // pieces[group][index - 1]: group 0 is Image1 (上), 1 Image2 (中), 2 Image3 (下).
    std::array<std::array<Point, 4>, 3> pieces{};
};

Result compute(float innerWidth, float innerHeight, const Sizes &sizes = Sizes());

} // namespace fxwptlayout
