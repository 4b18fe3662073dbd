#include "Clock.h"

namespace hostclock {

QDateTime now()
{
    const std::optional<QDateTime> &pinned = PinnedMoment::value();
    return pinned ? *pinned : QDateTime::currentDateTime();
}
QDate today()
{
    return now().date();
}

Override::Override(const QDateTime &moment) : PinnedMoment::Override(moment) { }
Override::Override(QDate date) : PinnedMoment::Override(QDateTime(date, QTime(12, 0))) { }
} // namespace hostclock
