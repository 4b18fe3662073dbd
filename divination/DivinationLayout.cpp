#include "DivinationLayout.h"

#include <cstddef>

namespace divinationlayout {

Result compute(float innerWidth, float innerHeight, const Sizes &s)
{
    Result r;

    // Across: a gap, the piece zone (as wide as the list), a gap, the text
    // column, a gap, the list, a gap. A window too narrow for the gaps gets none.
    float columnGap = (innerWidth - s.textWidth - 2 * s.comboWidth) / 4;
    if (columnGap < 0)
        columnGap = 0;
    r.detailButton.x = 2 * columnGap + s.comboWidth;
    r.woodenButton.x = r.detailButton.x;
    r.computerButton.x = s.textWidth + r.woodenButton.x - s.buttonWidth;
    r.readingPane.x = r.woodenButton.x;
    r.countSelector.x = columnGap + s.textWidth + r.woodenButton.x;

    // Three pieces side by side in the piece zone, with equal room around them.
    const float pieceMargin = (s.comboWidth - 3 * s.pieceWidth) / 4;
    const float left = columnGap + pieceMargin;
    const float middle = columnGap + s.pieceWidth + (s.comboWidth - 3 * s.pieceWidth) / 2;
    const float right = columnGap + s.comboWidth - s.pieceWidth - pieceMargin;
    for (auto &group : r.pieces) {
        group[0].x = middle; // index 1: top
        group[1].x = left; // index 2: left
        group[2].x = right; // index 3: right
        group[3].x = middle; // index 4: bottom
    }

    // Down: a gap, the detail button, a gap, the mode buttons, a gap, the
    // reading pane and the selector, three gaps.
    float rowGap = (innerHeight - s.textHeight - 2 * s.buttonHeight) / 6;
    if (rowGap < 0)
        rowGap = 0;
    r.detailButton.y = rowGap;
    r.woodenButton.y = 2 * rowGap + s.detailHeight;
    r.computerButton.y = r.woodenButton.y;
    r.readingPane.y = 3 * rowGap + 2 * s.buttonHeight;
    r.countSelector.y = r.readingPane.y;

    // Nine rows of pieces in three diamonds, twenty spacing units in all.
    float pieceGap = (innerHeight - 9 * s.pieceHeight) / 20;
    if (pieceGap < 0)
        pieceGap = 0;
    for (int group = 0; group < 3; ++group) {
        for (int index = 1; index <= 4; ++index) {
            const int rowInDiamond = index == 1 ? 0 : (index == 4 ? 2 : 1);
            const int gapsAbove = 6 + 4 * group + rowInDiamond;
            const int rowsAbove = 3 * group + rowInDiamond;
            r.pieces[std::size_t(group)][std::size_t(index - 1)].y
                = float(gapsAbove) * pieceGap + float(rowsAbove) * s.pieceHeight;
        }
    }
    r.columnGap = columnGap;
    r.rowGap = rowGap;
    r.pieceGap = pieceGap;
    return r;
}

Extent minimumInnerSize(const Sizes &s)
{
    Extent e;
    e.width = s.comboWidth + s.textWidth + s.comboWidth;
    const float column = s.detailHeight + s.buttonHeight + s.textHeight;
    const float pieces = 9 * s.pieceHeight;
    e.height = column > pieces ? column : pieces;
    return e;
}

} // namespace divinationlayout
