#include "PageFile.h"

#include "platform/Files.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

namespace pagefile {
namespace {
int pending = 0;
}

QString path() { return platform::programPath(QStringLiteral("\\tem.htm")); }

void loadStarted() { ++pending; }

void loadFinished()
{
    if (pending > 0)
        --pending;
}

bool loadPending() { return pending > 0; }

bool deleteIfPresent(const QString &path)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile() || fi.isHidden())
        return false;
    if (!fi.isSymLink() && !platform::hasWriteBits(path))
        return false; // read-only: left alone
    return QFile::remove(path);
}

} // namespace pagefile

PageFileSweeper::PageFileSweeper(QObject *parent) : QObject(parent)
{
    timer_.setObjectName(QStringLiteral("pageFileTimer"));
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &PageFileSweeper::sweep);
    timer_.start();
}

void PageFileSweeper::sweep()
{
    if (pagefile::loadPending())
        return; // a viewer has yet to read it; the next tick removes it
    pagefile::deleteIfPresent(pagefile::path());
}
