#include "LoadedWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

namespace loaded {
namespace {
QList<QPointer<QWidget>> &list()
{
    static QList<QPointer<QWidget>> l;
    return l;
}
} // namespace

void add(QWidget *window)
{
    list().removeAll(nullptr);
    if (!list().contains(window))
        list().append(window);
}

QList<QWidget *> windows()
{
    list().removeAll(nullptr);
    QList<QWidget *> out;
    for (const auto &w : list())
        out.append(w.data());
    return out;
}

void bringToFront(QWidget *window)
{
    if (!window)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget())) {
        if (QMdiArea *area = sub->mdiArea())
            area->setActiveSubWindow(sub);
        sub->raise();
        return;
    }
    window->raise();
    window->activateWindow();
}
} // namespace loaded
