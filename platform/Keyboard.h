#pragma once

class QMenuBar;

namespace platform {

// The keyboard habits of desktop programs that Qt's own widgets leave to the
// program, for the whole application: Enter or Return on a focused push
// button clicks it, as Space does; F10 puts the focus on the window's menu
// bar. Installing twice installs once.
void installKeyboardConventions();

// Lets the menu bar take the keyboard focus by a lone Alt (and F10), move
// along its items with the arrow keys, choose one with Enter and give the
// focus back with Esc, under every style.
void enableMenuBarKeys(QMenuBar *bar);

} // namespace platform
