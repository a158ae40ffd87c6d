#pragma once

#include <QRect>

// Window layouts are given in twips; at 96 dots per inch a pixel is 15 twips.
namespace veldra::twips {

inline constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + perPixel / 2) / perPixel;
}

constexpr QRect toPixels(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace veldra::twips
