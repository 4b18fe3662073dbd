#include "MdiBackground.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace platform {
namespace {

class BackgroundKeeper : public QObject
{
public:
    BackgroundKeeper(QMdiSubWindow *background, QMdiArea *area) : QObject(background), background_(background), area_(area)
    {
        connect(area_, &QMdiArea::subWindowActivated, this, [this] {
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
        if (watched == qApp || !watched->isWidgetType() || watched == background_.data() || !area_)
            return false;
        switch (event->type()) {
        case QEvent::WindowStateChange:
        case QEvent::Show:
        case QEvent::Hide:
            if (auto *sub = qobject_cast<QMdiSubWindow *>(watched); sub && sub->mdiArea() == area_)
                update();
            break;
        case QEvent::KeyPress:
            return cycle(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QMdiSubWindow *> others() const
    {
        QList<QMdiSubWindow *> list;
        for (QMdiSubWindow *sub : area_->subWindowList(area_->activationOrder()))
            if (sub != background_ && !sub->isHidden())
                list.append(sub);
        return list;
    }

    // Hidden exactly while a maximized child covers the whole area.
    void update()
    {
        if (!background_ || !area_)
            return;
        bool covered = false;
        for (QMdiSubWindow *sub : others())
            covered = covered || (sub->isMaximized() && !sub->isMinimized());
        if (covered && !background_->isHidden()) {
            background_->hide();
        } else if (!covered && background_->isHidden()) {
            background_->show();
            QMdiSubWindow *active = area_->activeSubWindow();
            if (!active || active->isHidden())
                area_->setActiveSubWindow(background_);
        }
    }

    // Ctrl+Tab and Ctrl+Shift+Tab inside the area go round the other
    // children only, in the area's order.
    bool cycle(QWidget *receiver, QKeyEvent *key)
    {
        if (!(key->modifiers() & Qt::ControlModifier) || (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        if (receiver != QApplication::focusWidget() || !area_->isAncestorOf(receiver))
            return false;
        const QList<QMdiSubWindow *> list = others();
        if (list.isEmpty())
            return false;
        const int step = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier) ? 1 : -1;
        const int at = list.indexOf(area_->activeSubWindow());
        const int n = int(list.size());
        QMdiSubWindow *next = at < 0 ? list.first() : list.at((at + step + n) % n);
        area_->setActiveSubWindow(next);
        return true;
    }

    QPointer<QMdiSubWindow> background_;
    QPointer<QMdiArea> area_;
};

} // namespace

void keepAsBackground(QMdiSubWindow *background)
{
    if (QMdiArea *area = background ? background->mdiArea() : nullptr)
        new BackgroundKeeper(background, area);
}

} // namespace platform
