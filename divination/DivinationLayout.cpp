#include "DivinationLayout.h"

#include <cstddef>

namespace divinationlayout {

Result compute(float W, float H, const Sizes &s)
{
    Result r;
    const float T = s.textWidth, E = s.textHeight, C = s.comboWidth, K = s.buttonWidth;
    const float B = s.buttonHeight, D = s.detailHeight, w = s.pieceWidth, h = s.pieceHeight;

    // Across: margin G, piece zone (as wide as the list), G, text column, G, list, G.
    float G = (W - T - 2 * C) / 4;
    if (G < 0)
        G = 0;
    r.detailButton.x = 2 * G + C;
    r.woodenButton.x = r.detailButton.x;
    r.computerButton.x = T + r.woodenButton.x - K;
    r.readingPane.x = r.woodenButton.x;
    r.countSelector.x = G + T + r.woodenButton.x;

    const float P = (C - 3 * w) / 4;
    const float left = G + P;
    const float middle = G + w + (C - 3 * w) / 2;
    const float right = G + C - w - P;
    for (auto &group : r.pieces) {
        group[0].x = middle; // index 1: top
        group[1].x = left;   // index 2: left
        group[2].x = right;  // index 3: right
        group[3].x = middle; // index 4: bottom
    }

    // Down: V, the detail button, V, the mode buttons, V, the reading pane and the selector, 3V.
    float V = (H - E - 2 * B) / 6;
    if (V < 0)
        V = 0;
    r.detailButton.y = V;
    r.woodenButton.y = 2 * V + D;
    r.computerButton.y = r.woodenButton.y;
    r.readingPane.y = 3 * V + 2 * B;
    r.countSelector.y = r.readingPane.y;

    // Nine rows of pieces in three diamonds, twenty R of spacing in all.
    float R = (H - 9 * h) / 20;
    if (R < 0)
        R = 0;
    for (int g = 0; g < 3; ++g) {
        for (int index = 1; index <= 4; ++index) {
            const int j = index == 1 ? 0 : (index == 4 ? 2 : 1);
            const int k = 6 + 4 * g + j;
            const int row = 3 * g + j;
            r.pieces[std::size_t(g)][std::size_t(index - 1)].y = float(k) * R + float(row) * h;
        }
    }
    r.G = G;
    r.V = V;
    r.R = R;
    return r;
}

} // namespace divinationlayout
