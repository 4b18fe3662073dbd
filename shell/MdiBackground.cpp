#include "MdiBackground.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

class BackgroundKeeper : public QObject
{
public:
    BackgroundKeeper(QMdiSubWindow *background, QMdiArea *area)
        : QObject(background), background_(background), area_(area)
    {
        connect(area, &QMdiArea::subWindowActivated, this, [this] {
            // The area's own window cycling may filter the application's key
            // events too; this filter goes back in front of it.
            qApp->installEventFilter(this);
            update();
        });
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp || !watched->isWidgetType() || watched == background_.data() || !area())
            return false;
        switch (event->type()) {
        case QEvent::WindowStateChange:
        case QEvent::Show:
        case QEvent::Hide:
            if (auto *sub = qobject_cast<QMdiSubWindow *>(watched); sub && sub->mdiArea() == area())
                update();
            break;
        case QEvent::KeyPress: return cycle(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
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

    // Ctrl+Tab and Ctrl+Shift+Tab inside the area go round the other
    // children only, in the area's order.
    bool cycle(QWidget *receiver, QKeyEvent *key)
    {
        if (!(key->modifiers() & Qt::ControlModifier) || (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        QMdiArea *area = this->area();
        if (receiver != QApplication::focusWidget() || !area->isAncestorOf(receiver))
            return false;
        const QList<QMdiSubWindow *> list = others();
        if (list.isEmpty())
            return false;
        const int step = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier) ? 1 : -1;
        const int at = list.indexOf(area->activeSubWindow());
        const int n = int(list.size());
        QMdiSubWindow *next = at < 0 ? list.first() : list.at((at + step + n) % n);
        area->setActiveSubWindow(next);
        return true;
    }

    QPointer<QObject> background_;
    QPointer<QObject> area_;
};

} // namespace

void keepAsBackground(QMdiSubWindow *background)
{
    if (QMdiArea *area = background ? background->mdiArea() : nullptr)
        new BackgroundKeeper(background, area);
}
