#include "MdiChild.h"

#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace platform {

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
