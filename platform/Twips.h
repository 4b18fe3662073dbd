#pragma once
#include <QtGlobal>
#include <cmath>

// Positions and sizes are designed in twips: 1/1440 inch, 15 to the logical
// pixel. This is the one place that converts between the two.
namespace twips {
constexpr double kPerPixel = 15.0;

inline int toPixels(double t) { return int(std::lround(t / kPerPixel)); }
inline double fromPixels(int px) { return px * kPerPixel; }
} // namespace twips
