#include "FmuluLayout.h"

namespace fmululayout {

Layout compute(float W, float H, const Layout &current, const Reported &reported)
{
    Layout l = current;
    auto report = [&reported](float v) { return reported ? reported(v) : v; };
    auto setPosition = [&](float &field, float v) { field = report(v); };
    auto setSize = [&](float &field, float v) {
        if (v > 0)
            field = report(v);
    };

    setSize(l.image.width, W / 3.0f);
    setPosition(l.image.left, W / 3.0f);
    setSize(l.image.height, H / 5.0f * 2.0f);
    setPosition(l.image.top, H / 5.0f);
    setSize(l.command1.width, l.image.width / 11.0f * 5.0f);
    setSize(l.command2.width, l.image.width / 11.0f * 5.0f);
    setSize(l.command1.height, l.command1.width / 3.0f);
    // Both buttons take their height from Command1's width.
    setSize(l.command2.height, l.command1.width / 3.0f);
    setPosition(l.command1.left, l.image.left);
    setPosition(l.command2.left, l.image.width / 11.0f * 6.0f + l.image.left);
    setPosition(l.command1.top, l.image.top + l.image.height + 50.0f);
    setPosition(l.command2.top, l.image.top + l.image.height + 50.0f);
    return l;
}

} // namespace fmululayout
