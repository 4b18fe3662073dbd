#include "Throw.h"

#include <random>

namespace throwing {
namespace {
Source &replacement()
{
    static Source s;
    return s;
}
} // namespace

float nextRandom()
{
    if (replacement())
        return replacement()();
    static std::mt19937 engine; // default state: never seeded
    return float(engine() >> 8) * (1.0f / 16777216.0f);
}

int step(int count, float x)
{
    const float scaled = x * 125.0f;
    const int r = int(scaled);
    return (count + r) % 5;
}

Override::Override(Source source) : ScopedOverride(replacement(), std::move(source)) { }

} // namespace throwing
