#pragma once
#include <utility>

// The program's seams: wherever the program meets something a test must
// control (message boxes and dialogs, the launcher, the clock, the program
// folder, the throw's random source, the script), it reads one value, a
// handler or a setting, that a test replaces for one scope by holding an
// Override; the real host comes back when the Override goes out of scope.
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

// One seam, holding its own slot: a value of type T (empty until set),
// named by `Tag` so that seams of the same type stay apart.
//
//   using FolderSeam = platform::Seam<QString, struct FolderTag>;
//   FolderSeam::value();                 // what the program uses
//   FolderSeam::Override here(folder);   // a test's value, for one scope
template<typename T, typename Tag>
class Seam
{
public:
    static const T &value() { return slot(); }
    // Sets the value outside any Override (start-up does, once).
    static void set(T value) { slot() = std::move(value); }

    class Override : ScopedOverride<T>
    {
    public:
        explicit Override(T replacement) : ScopedOverride<T>(slot(), std::move(replacement)) { }
    };

private:
    static T &slot()
    {
        static T value; // the seam itself: one value per process, which tests replace
        return value;
    }
};

} // namespace platform
