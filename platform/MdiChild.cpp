#include "MdiChild.h"

#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace platform {

QMdiSubWindow *showMaximizedChild(QMdiArea *area, QWidget *widget)
{
    QMdiSubWindow *sub = area->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(widget->windowIcon());
    sub->showMaximized();
    area->setActiveSubWindow(sub);
    sub->raise();
    return sub;
}

} // namespace platform
