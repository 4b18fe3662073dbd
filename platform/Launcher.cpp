#include "Launcher.h"

#include <QDir>
#include <QProcess>
#include <QStringList>

namespace launcher {
namespace {
Hook &hook()
{
    static Hook h;
    return h;
}
} // namespace

void setHook(Hook h) { hook() = std::move(h); }

bool start(const QString &path)
{
    if (hook())
        return hook()(path);
    if (path.isEmpty())
        return false;
    // A detached process has a normal window of its own; nothing here
    // waits for it or keeps track of it.
    return QProcess::startDetached(QDir::toNativeSeparators(path), QStringList());
}

} // namespace launcher
