#include "Clock.h"

namespace hostclock {
namespace {
std::optional<QDateTime> &pinned()
{
    static std::optional<QDateTime> moment;
    return moment;
}
} // namespace

QDateTime now()
{
    return pinned() ? *pinned() : QDateTime::currentDateTime();
}
QDate today()
{
    return now().date();
}

Override::Override(const QDateTime &moment) : ScopedOverride(pinned(), moment) { }
Override::Override(QDate date) : ScopedOverride(pinned(), QDateTime(date, QTime(12, 0))) { }
} // namespace hostclock
