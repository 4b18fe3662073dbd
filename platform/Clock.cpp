#include "Clock.h"

namespace clock_seam {
namespace {
std::optional<QDate> &pinned()
{
    static std::optional<QDate> d;
    return d;
}

std::optional<QDateTime> &pinnedNow()
{
    static std::optional<QDateTime> t;
    return t;
}
} // namespace

QDate today() { return pinned() ? *pinned() : QDate::currentDate(); }
void setOverride(std::optional<QDate> date) { pinned() = date; }

QDateTime now() { return pinnedNow() ? *pinnedNow() : QDateTime::currentDateTime(); }
void setNowOverride(std::optional<QDateTime> dateTime) { pinnedNow() = dateTime; }
} // namespace clock_seam
