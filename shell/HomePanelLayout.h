#pragma once
#include <functional>

// Where the home panel puts its emblem and its two buttons for a given
// client size. Everything is in twips and single precision, as the panel
// computes it; nothing here knows about widgets.
namespace homepanellayout {

struct Box {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct Layout {
    Box emblem; // the turning emblem
    Box instructionsButton; // "衍枰说明"
    Box divinationButton; // "衍枰占卜"
};

// What a control reports back after a value is assigned to it (a widget
// holds whole pixels, so it rounds). Without one, values are kept exactly.
using Reported = std::function<float(float)>;

// Runs the twelve assignments in order on a copy of `current`, each one
// computed from the values the earlier ones left behind. A size that is not
// above zero is refused and the control keeps its previous size.
Layout compute(float width, float height, const Layout &current, const Reported &reported = {});

} // namespace homepanellayout
