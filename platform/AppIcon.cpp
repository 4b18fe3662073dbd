#include "AppIcon.h"

#include <QCoreApplication>
#include <QIcon>

namespace platform {
namespace {
QIcon *sharedIcon = nullptr; // a process-wide cache: one icon for every window

void dropIcon()
{
    delete sharedIcon;
    sharedIcon = nullptr;
}
} // namespace

const QIcon &appIcon()
{
    // Made once; it goes with the application object, before the platform
    // that its pixmaps belong to.
    if (!sharedIcon) {
        sharedIcon = new QIcon;
        sharedIcon->addFile(QStringLiteral(":/yanping/icon.png"));
        sharedIcon->addFile(QStringLiteral(":/yanping/icon256.png"));
        qAddPostRoutine(dropIcon);
    }
    return *sharedIcon;
}

} // namespace platform
