#pragma once

class QMdiSubWindow;

// Makes `background`, a frameless child window that fills its area beneath
// the others, keep out of their way: while another child window is open it
// is no stop of the area's window cycling (Ctrl+Tab, Ctrl+Shift+Tab), and
// while a maximized child covers it, it is hidden, so that neither the
// keyboard nor assistive technology finds it there. When the last covering
// child goes, it shows again and, if no other child is active, becomes the
// active one.
void keepAsBackground(QMdiSubWindow *background);
