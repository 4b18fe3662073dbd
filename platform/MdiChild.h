#pragma once

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace platform {

// Adds `widget` to the area as a child window that is deleted when it is
// closed, shows it maximized with the widget's icon and puts it in front.
QMdiSubWindow *showMaximizedChild(QMdiArea *area, QWidget *widget);

} // namespace platform
