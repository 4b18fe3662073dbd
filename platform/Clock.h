#pragma once
#include <QDate>
#include <QDateTime>
#include <optional>

// Today's date and the time from the system clock; tests may pin them.
namespace clock_seam {
QDate today();
void setOverride(std::optional<QDate> date);

// The local date and time.
QDateTime now();
void setNowOverride(std::optional<QDateTime> dateTime);
} // namespace clock_seam
