#pragma once
#include <QWidget>

// A notice for screen readers: an invisible object that assistive
// technology knows as a notification and that a screen reader reads out
// as soon as it appears, wherever the keyboard focus is. The divination
// window uses it to say what has just appeared in its reading pane (an
// etiquette, or a reading's name and verdict) while the focus stays on the
// control the user pressed. Sighted users see nothing of it.
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
