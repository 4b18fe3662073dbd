#pragma once
#include "Seam.h"

#include <QDate>
#include <optional>

// Today's date from the system clock.
namespace hostclock {
QDate today();

// While an Override lives, today() is the given date.
class Override : platform::ScopedOverride<std::optional<QDate>>
{
public:
    explicit Override(QDate date);
};
} // namespace hostclock
