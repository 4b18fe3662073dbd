#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

// The windows were designed in twips, 1/1440 inch, which is 15 to the
// logical pixel at 96 dpi: their sizes and positions are kept in twips, and
// this is the one place that turns them into pixels and back.
namespace twips {
constexpr double kPerPixel = 15.0;

inline int toPixels(double t)
{
    return int(std::lround(t / kPerPixel));
}
inline double fromPixels(int px)
{
    return px * kPerPixel;
}

inline QSize size(double width, double height)
{
    return {toPixels(width), toPixels(height)};
}
inline QPoint point(double x, double y)
{
    return {toPixels(x), toPixels(y)};
}
inline QRect rect(double left, double top, double width, double height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}
} // namespace twips
