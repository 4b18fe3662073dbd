#pragma once
#include <QList>

class QWidget;

// The program's loaded windows in the order they were loaded. A window is
// dropped from the list when it is destroyed. A window's caption is its
// windowTitle().
namespace loaded {
void add(QWidget *window);
QList<QWidget *> windows();
// Brings a window to the front: an MDI child becomes the active child.
void bringToFront(QWidget *window);
} // namespace loaded
