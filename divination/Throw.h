#pragma once
#include "platform/Seam.h"

#include <functional>

// The computer throw: each tick moves every count by a random step.
namespace throwing {

// The next number from the program's pseudo-random source: uniform in
// [0, 1) at 24-bit resolution. The source is never seeded, so every run
// starts from the same state.
float nextRandom();

// count + whole part of (x * 125), modulo 5.
int step(int count, float x);

// While an Override lives, nextRandom() takes its numbers from `source`.
using Source = std::function<float()>;
using Override = platform::Seam<Source, struct SourceTag>::Override;

} // namespace throwing
