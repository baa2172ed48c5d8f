// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <algorithm>
#include <cmath>

// Where an element lands on the screen, the same for every toolkit: twips
// become logical pixels at 96 dpi (twips / 15, rounded), those are scaled
// by the screen's ratio, and each edge is rounded to a device pixel on its
// own.
namespace tessaro
{

// Twips to logical pixels at 96 dots per inch, rounded to the nearest pixel.
constexpr int pixels(int twips)
{
    return (twips >= 0 ? twips + twipsPerPixel / 2 : twips - twipsPerPixel / 2) / twipsPerPixel;
}

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const PixelRect &, const PixelRect &) = default;
};

// An element's rectangle in logical pixels.
constexpr PixelRect pixelRect(const TwipRect &r)
{
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

// A line's two end points in logical pixels (TwipRect holds X1, Y1, X2, Y2).
struct PixelLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

constexpr PixelLine pixelLine(const TwipRect &r)
{
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

// The device pixels a logical rectangle covers at a device pixel ratio. Each
// edge is rounded on its own, so rectangles that touch in logical pixels
// touch on the device too, and nothing that is a pixel wide vanishes.
struct DeviceEdges {
    int left = 0;
    int top = 0;
    int right = 0; // one past the last column
    int bottom = 0;

    friend constexpr bool operator==(const DeviceEdges &, const DeviceEdges &) = default;
};

inline DeviceEdges deviceEdges(const PixelRect &r, double ratio)
{
    const auto edge = [ratio](int logical) {
        return static_cast<int>(std::lround(logical * ratio));
    };
    return {edge(r.left), edge(r.top), edge(r.left + r.width), edge(r.top + r.height)};
}

// The scale of a screen of the given dots per inch (96 is 1).
constexpr double scaleOf(int dotsPerInch)
{
    return dotsPerInch / 96.0;
}

// Device pixels of a line one logical pixel wide: at least one, and the same
// on every edge of a border (125 % draws one, 200 % two, 300 % three).
inline int deviceLineWidth(double ratio)
{
    return std::max(1, static_cast<int>(std::floor(ratio + 1e-9)));
}

} // namespace tessaro
