#pragma once
#include <array>

// Where the divination window's controls go for a given inner size. The
// window was designed in twips (1/1440 inch, 15 to the pixel at 96 dpi), so
// all values are twips, computed in single precision and not rounded, so that
// every control lands on the pixel the design puts it on.
namespace divinationlayout {

struct Sizes {
    float textWidth = 6000; // the reading pane
    float textHeight = 5800;
    float comboWidth = 2800; // the count selector; the piece zone is as wide
    float buttonWidth = 2500; // the mode buttons
    float buttonHeight = 600;
    float detailHeight = 600; // the detailed-explanation button
    float pieceWidth = 600;
    float pieceHeight = 600;
};

struct Point {
    float x = 0;
    float y = 0;
};

struct Result {
    float columnGap = 0; // the margin between the columns across the window
    float rowGap = 0; // the margin between the rows of controls
    float pieceGap = 0; // the spacing unit between the rows of pieces
    Point woodenButton, computerButton, detailButton, readingPane, countSelector;
    // pieces[group][index - 1]: group 0 is the 上 pieces, 1 the 中, 2 the 下.
    std::array<std::array<Point, 4>, 3> pieces {};
};

Result compute(float innerWidth, float innerHeight, const Sizes &sizes = Sizes());

struct Extent {
    float width = 0;
    float height = 0;
};

// The smallest inner size at which the rule places every control without
// overlap and cuts nothing off: the three columns side by side with no gaps,
// the two button rows above the reading pane, and the nine rows of pieces.
Extent minimumInnerSize(const Sizes &sizes = Sizes());

} // namespace divinationlayout
