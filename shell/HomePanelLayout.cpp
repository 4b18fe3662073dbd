#include "HomePanelLayout.h"

namespace homepanellayout {

Layout compute(float width, float height, const Layout &current, const Reported &reported)
{
    Layout l = current;
    auto report = [&reported](float v) { return reported ? reported(v) : v; };
    auto setPosition = [&](float &field, float v) { field = report(v); };
    auto setSize = [&](float &field, float v) {
        if (v > 0)
            field = report(v);
    };

    setSize(l.emblem.width, width / 3.0f);
    setPosition(l.emblem.left, width / 3.0f);
    setSize(l.emblem.height, height / 5.0f * 2.0f);
    setPosition(l.emblem.top, height / 5.0f);
    setSize(l.instructionsButton.width, l.emblem.width / 11.0f * 5.0f);
    setSize(l.divinationButton.width, l.emblem.width / 11.0f * 5.0f);
    setSize(l.instructionsButton.height, l.instructionsButton.width / 3.0f);
    // Both buttons take their height from the first button's width.
    setSize(l.divinationButton.height, l.instructionsButton.width / 3.0f);
    setPosition(l.instructionsButton.left, l.emblem.left);
    setPosition(l.divinationButton.left, l.emblem.width / 11.0f * 6.0f + l.emblem.left);
    constexpr float kButtonGap = 50; // twips between the emblem and the buttons
    setPosition(l.instructionsButton.top, l.emblem.top + l.emblem.height + kButtonGap);
    setPosition(l.divinationButton.top, l.emblem.top + l.emblem.height + kButtonGap);
    return l;
}

} // namespace homepanellayout
