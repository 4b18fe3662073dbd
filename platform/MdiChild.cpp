#include "MdiChild.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace platform {
namespace {

// A child window's frame as assistive technology sees it: a window named by
// its caption, focused only while it has the focus itself. Qt's own
// description calls the frame focused whenever a control inside has the
// focus, and a screen reader that asks for the focus after a window
// activation (a list closing, a dialog closing) then announces the frame
// instead of the control.
class AccessibleMdiFrame : public QAccessibleWidget
{
public:
    explicit AccessibleMdiFrame(QMdiSubWindow *sub) : QAccessibleWidget(sub, QAccessible::Window) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QMdiSubWindow *>(widget())->windowTitle().remove(QLatin1String("[*]"));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = widget()->hasFocus();
        return s;
    }
};

// A plain container that hands its focus on to a control (its focus proxy,
// as a child window's content does): Qt calls it focused whenever that
// control is, and a screen reader that keeps such a state finds the
// container, even a hidden one, when it looks for the focus.
class AccessibleProxyContainer : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = QApplication::focusWidget() == widget();
        return s;
    }
};

QAccessibleInterface *mdiFrameFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("QMdiSubWindow"))
        return new AccessibleMdiFrame(static_cast<QMdiSubWindow *>(object));
    // Decided by the class alone, not by whether a proxy is set yet or the
    // widget is in a child window yet: the description is made once, often
    // while the widget is still being built.
    if (className == QLatin1String("QWidget"))
        return new AccessibleProxyContainer(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void describeMdiFrames()
{
    QAccessible::installFactory(mdiFrameFactory); // Qt keeps each factory once
}

void keepFrameOutOfFocus(QMdiSubWindow *sub)
{
    describeMdiFrames();
    // Tab from the last control of a window goes round to its first one;
    // a click on the frame still activates the window.
    sub->setFocusPolicy(Qt::ClickFocus);
}

QRect restoredGeometry(const QSize &area, const QSize &frame, const QSize &contentHint)
{
    // Two thirds of the client area, or more when the content asks for more,
    // but never beyond the area; centred in it.
    QSize size(area.width() * 2 / 3, area.height() * 2 / 3);
    if (contentHint.isValid())
        size = size.expandedTo(contentHint + frame);
    size = size.boundedTo(area);
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
}

QMdiSubWindow *showMaximizedChild(QMdiArea *area, QWidget *widget)
{
    QMdiSubWindow *sub = area->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    keepFrameOutOfFocus(sub);
    // Ctrl+F4 closes the child window, as in other programs with child
    // windows; Qt's own key (Ctrl+W here) stays.
    if (QMenu *menu = sub->systemMenu()) {
        const auto actions = menu->actions();
        for (QAction *a : actions) {
            if (a->shortcuts().contains(QKeySequence(QKeySequence::Close))) {
                QList<QKeySequence> keys = a->shortcuts();
                if (!keys.contains(QKeySequence(Qt::CTRL | Qt::Key_F4)))
                    keys.append(QKeySequence(Qt::CTRL | Qt::Key_F4));
                a->setShortcuts(keys);
            }
        }
    }
    sub->setWindowIcon(widget->windowIcon());
    // The geometry the window gets back when the user restores it.
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    const int titleHeight = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
    const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    const QSize frame(2 * border, titleHeight + border);
    sub->setGeometry(restoredGeometry(area->viewport()->size(), frame, widget->sizeHint()));
    showMaximizedInFront(sub);
    return sub;
}

void showMaximizedInFront(QMdiSubWindow *sub)
{
    sub->showMaximized();
    if (QMdiArea *area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    sub->raise();
}

} // namespace platform
