#pragma once
#include "Seam.h"

#include <QDate>
#include <QDateTime>
#include <optional>

// The local date and time from the system clock.
namespace hostclock {
QDateTime now();
QDate today();

// While an Override lives, the clock stands at the given moment (a date
// alone stands for its noon).
using PinnedMoment = platform::Seam<std::optional<QDateTime>, struct PinnedMomentTag>;
class Override : PinnedMoment::Override
{
public:
    explicit Override(const QDateTime &moment);
    explicit Override(QDate date);
};
} // namespace hostclock
