#pragma once
#include <utility>

// The program's seams are the Override classes of msgbox, launcher, registry
// and hostclock (platform/) and of throwing (divination/Throw.h): wherever the
// program meets something a test must control, it calls through a handler
// that a test replaces for one scope by holding that Override; the real host
// comes back when the Override goes out of scope.
namespace platform {

// Puts `replacement` into `slot` for the lifetime of the object and restores
// what was there before. Overrides nest: the innermost one wins, and each
// restores its predecessor.
template<typename T>
class ScopedOverride
{
public:
    ScopedOverride(T &slot, T replacement) : slot_(slot), previous_(std::exchange(slot, std::move(replacement))) { }
    ~ScopedOverride() { slot_ = std::move(previous_); }
    ScopedOverride(const ScopedOverride &) = delete;
    ScopedOverride &operator=(const ScopedOverride &) = delete;

private:
    T &slot_;
    T previous_;
};

} // namespace platform
