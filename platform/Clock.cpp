#include "Clock.h"

namespace hostclock {
namespace {
std::optional<QDate> &pinned()
{
    static std::optional<QDate> d;
    return d;
}
} // namespace

QDate today() { return pinned() ? *pinned() : QDate::currentDate(); }

Override::Override(QDate date) : ScopedOverride(pinned(), date) {}
} // namespace hostclock
