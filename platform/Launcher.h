#pragma once
#include <QString>
#include <functional>

// Starts another program and leaves it running on its own.
namespace launcher {

// Starts the program at `path`, with no arguments, in a normal window that
// takes the focus; never waits for it. False when it could not be started
// (an empty path, no such file, not a program).
bool start(const QString &path);

// While a hook is installed, start() calls it instead of starting anything.
using Hook = std::function<bool(const QString &path)>;
void setHook(Hook hook);

} // namespace launcher
