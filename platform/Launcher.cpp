#include "Launcher.h"

#include <QDir>
#include <QProcess>
#include <QStringList>

namespace launcher {

bool start(const QString &path)
{
    if (const Handler &handler = platform::Seam<Handler, HandlerTag>::value())
        return handler(path);
    if (path.isEmpty())
        return false;
    // A detached process has a normal window of its own; nothing here
    // waits for it or keeps track of it.
    return QProcess::startDetached(QDir::toNativeSeparators(path), QStringList());
}

} // namespace launcher
