#include "Throw.h"

#include <random>

namespace throwing {

float nextRandom()
{
    if (const Source &source = platform::Seam<Source, SourceTag>::value())
        return source();
    static std::mt19937 engine; // the run's one throw sequence; default state: never seeded
    return float(engine() >> 8) * (1.0f / 16777216.0f);
}

int step(int count, float x)
{
    const float scaled = x * 125.0f;
    const int r = int(scaled);
    return (count + r) % 5;
}

} // namespace throwing
