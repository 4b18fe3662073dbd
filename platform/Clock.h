#pragma once
#include <QDate>
#include <optional>

// Today's date from the system clock; tests may pin it.
namespace clock_seam {
QDate today();
void setOverride(std::optional<QDate> date);
} // namespace clock_seam
