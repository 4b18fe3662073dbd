#pragma once
#include <QWidget>

// A notice for screen readers: an invisible object that assistive
// technology knows as a notification and that a screen reader reads out
// as soon as it appears, wherever the keyboard focus is: what has just
// appeared on the screen (a reading's name and verdict, the part of a page
// a link led to) while the focus stays on the control the user pressed.
// Sighted users see nothing of it.
class SpokenNotice : public QWidget
{
    Q_OBJECT
public:
    explicit SpokenNotice(QWidget *parent = nullptr);

    // Says `text`: the notice takes it as its name and appears afresh.
    void say(const QString &text);
    // What the notice said last.
    QString text() const { return accessibleName(); }
};
