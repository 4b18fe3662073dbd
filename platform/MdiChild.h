#pragma once

#include <QRect>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace platform {

// Adds `widget` to the area as a child window that is deleted when it is
// closed, shows it maximized with the widget's icon and puts it in front.
// Restored, it has the geometry of restoredGeometry(). Ctrl+F4 closes it,
// as Ctrl+W does.
QMdiSubWindow *showMaximizedChild(QMdiArea *area, QWidget *widget);

// Keeps a child window's frame out of the keyboard's way: Tab never stops
// on the frame itself, only on the controls inside.
void keepFrameOutOfFocus(QMdiSubWindow *sub);

// From now on assistive technology hears of a child window's frame as
// focused only while the frame itself has the focus, never while one of
// its controls has it. Called before the first child window is made.
void describeMdiFrames();

// Shows a child window of an area maximized, active and in front (an open
// window brought back).
void showMaximizedInFront(QMdiSubWindow *sub);

// Where a child window goes when it is restored from maximized, within a
// client area of the size `area`: two thirds of the area each way, at least
// the widget's size hint plus the window frame, no larger than the area,
// centred.
QRect restoredGeometry(const QSize &area, const QSize &frame, const QSize &contentHint);

} // namespace platform
