#include "SpokenNotice.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {
QAccessibleInterface *noticeFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("SpokenNotice") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}
} // namespace

SpokenNotice::SpokenNotice(QWidget *parent) : QWidget(parent)
{
    QAccessible::installFactory(noticeFactory); // Qt keeps each factory once
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
    hide();
}

void SpokenNotice::say(const QString &text)
{
    // A screen reader reads a notification when it starts showing.
    hide();
    setAccessibleName(text);
    show();
}
