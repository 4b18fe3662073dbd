#include "MdiBackground.h"

#include <QChildEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QShortcut>

namespace {

class BackgroundKeeper : public QObject
{
public:
    BackgroundKeeper(QMdiSubWindow *background, QMdiArea *area)
        : QObject(background), background_(background), area_(area)
    {
        // The child windows are children of the area's viewport: each one,
        // there now or added later, is watched.
        area->viewport()->installEventFilter(this);
        for (QObject *child : area->viewport()->children())
            watch(child);
        connect(area, &QMdiArea::subWindowActivated, this, [this] { update(); });
        // Shortcuts come before the area's own handling of the keys.
        const auto cycleBy = [this, area](const QKeySequence &keys, int step) {
            shortcuts_.append(new QShortcut(
                keys, area, this, [this, step] { cycle(step); }, Qt::WidgetWithChildrenShortcut));
        };
        cycleBy(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
        cycleBy(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    }
    ~BackgroundKeeper() override { qDeleteAll(shortcuts_); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == background_.data() || !area())
            return false;
        switch (event->type()) {
        case QEvent::ChildAdded: watch(static_cast<QChildEvent *>(event)->child()); break;
        case QEvent::WindowStateChange:
        case QEvent::Show:
        case QEvent::Hide:
            if (auto *sub = qobject_cast<QMdiSubWindow *>(watched); sub && sub->mdiArea() == area())
                update();
            break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The area and the background while they are what they were: while the
    // main window is torn down they may already be plain widgets or objects
    // on their way out, and are left alone then.
    QMdiArea *area() const { return qobject_cast<QMdiArea *>(area_.data()); }
    QMdiSubWindow *background() const { return qobject_cast<QMdiSubWindow *>(background_.data()); }

    QList<QMdiSubWindow *> others() const
    {
        QList<QMdiSubWindow *> list;
        QMdiArea *area = this->area();
        for (QMdiSubWindow *sub : area->subWindowList(area->activationOrder()))
            if (sub != background_.data() && !sub->isHidden())
                list.append(sub);
        return list;
    }

    // Hidden exactly while a maximized child covers the whole area.
    void update()
    {
        QMdiSubWindow *background = this->background();
        QMdiArea *area = this->area();
        if (!background || !area)
            return;
        bool covered = false;
        for (QMdiSubWindow *sub : others())
            covered = covered || (sub->isMaximized() && !sub->isMinimized());
        if (covered && !background->isHidden()) {
            background->hide();
        } else if (!covered && background->isHidden()) {
            background->show();
            QMdiSubWindow *active = area->activeSubWindow();
            if (!active || active->isHidden())
                area->setActiveSubWindow(background);
        }
    }

    // A widget put into the viewport: a child window (it is not one yet
    // while it is being made, so its events are told apart as they come).
    void watch(QObject *child)
    {
        if (child->isWidgetType() && child != background_.data())
            child->installEventFilter(this);
    }

    // Ctrl+Tab and Ctrl+Shift+Tab inside the area go round the other
    // children only, in the area's order.
    void cycle(int step)
    {
        QMdiArea *area = this->area();
        const QList<QMdiSubWindow *> list = area ? others() : QList<QMdiSubWindow *>();
        if (list.isEmpty())
            return;
        const int at = list.indexOf(area->activeSubWindow());
        const int n = int(list.size());
        QMdiSubWindow *next = at < 0 ? list.first() : list.at((at + step + n) % n);
        area->setActiveSubWindow(next);
    }

    QPointer<QObject> background_;
    QPointer<QObject> area_;
    QList<QPointer<QShortcut>> shortcuts_;
};

} // namespace

void keepAsBackground(QMdiSubWindow *background)
{
    if (QMdiArea *area = background ? background->mdiArea() : nullptr)
        new BackgroundKeeper(background, area);
}
