#include "Launcher.h"

#include <QDir>
#include <QProcess>
#include <QStringList>

namespace launcher {
namespace {
Handler &handler()
{
    static Handler h;
    return h;
}
} // namespace

Override::Override(Handler h) : ScopedOverride(handler(), std::move(h)) { }

bool start(const QString &path)
{
    if (handler())
        return handler()(path);
    if (path.isEmpty())
        return false;
    // A detached process has a normal window of its own; nothing here
    // waits for it or keeps track of it.
    return QProcess::startDetached(QDir::toNativeSeparators(path), QStringList());
}

} // namespace launcher
