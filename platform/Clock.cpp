#include "Clock.h"

namespace clock_seam {
namespace {
std::optional<QDate> &pinned()
{
    static std::optional<QDate> d;
    return d;
}
} // namespace

QDate today() { return pinned() ? *pinned() : QDate::currentDate(); }
void setOverride(std::optional<QDate> date) { pinned() = date; }
} // namespace clock_seam
