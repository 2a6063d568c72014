#pragma once

#include <QRect>
#include <QSize>
#include <QtMath>

// Window geometry is designed in twips (1/1440 inch). At 96 dots per inch a
// device-independent pixel is 15 twips; this is the one place that converts.
namespace velt::twips {

inline constexpr int kPerPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + kPerPixel / 2) / kPerPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

constexpr QSize size(int width, int height)
{
    return QSize(toPixels(width), toPixels(height));
}

constexpr QPoint point(int x, int y)
{
    return QPoint(toPixels(x), toPixels(y));
}

} // namespace velt::twips
