#include "PageFile.h"

#include "app/Module1.h"

namespace pagefile {
namespace {
int pending = 0;
}

QString path() { return programPath(QStringLiteral("\\tem.htm")); }
void loadStarted() { ++pending; }
void loadFinished()
{
    if (pending > 0)
        --pending;
}
bool loadPending() { return pending > 0; }
} // namespace pagefile
