#pragma once
#include "Seam.h"

#include <QString>
#include <functional>

// Starts another program and leaves it running on its own.
namespace launcher {

// Starts the program at `path`, with no arguments, in a normal window that
// takes the focus; never waits for it. False when it could not be started
// (an empty path, no such file, not a program).
bool start(const QString &path);

// While an Override lives, start() calls its handler instead of starting
// anything.
using Handler = std::function<bool(const QString &path)>;
using Override = platform::Seam<Handler, struct HandlerTag>::Override;

} // namespace launcher
