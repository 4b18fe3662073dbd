#pragma once
#include <functional>

// The computer throw: each tick moves every count by a random step.
namespace throwing {

// The next number from the program's pseudo-random source: uniform in
// [0, 1) at 24-bit resolution. The source is never seeded, so every run
// starts from the same state.
float nextRandom();

// count + whole part of (x * 125), modulo 5.
int step(int count, float x);

// Tests may replace the source; an empty function restores the real one.
void setSourceForTests(std::function<float()> source);

} // namespace throwing
