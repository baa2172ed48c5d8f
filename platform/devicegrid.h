// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// What a toolkit needs to draw lines, edges and contrast on whole device
// pixels at any scale, without a toolkit of its own.
namespace tessaro
{

// Device pixels of a line one logical pixel wide: at least one, and the same
// on every edge of a border (125 % draws one, 200 % two, 300 % three).
inline int deviceLineWidth(double ratio)
{
    return std::max(1, static_cast<int>(std::floor(ratio + 1e-9)));
}

// Whether the logical pixel `step` of a line, counted from its first point,
// is drawn in the line's style: dots one on, two off; the byte bracket's
// dash-dot-dot four on, two off, one on, two off, one on, two off. These are
// the patterns a one-pixel pen gives at 100 %.
constexpr bool linePixelDrawn(LineStyle style, int step)
{
    switch (style) {
    case LineStyle::Dotted:
        return step % 3 == 0;
    case LineStyle::DashDotDot: {
        constexpr std::uint16_t pattern = 0b0010'0100'1111; // bit i: pixel i of 12
        return ((pattern >> (step % 12)) & 1u) != 0;
    }
    case LineStyle::Solid:
        break;
    }
    return true;
}

// Contrast ratio of two colours (1 to 21), from their relative luminance.
inline double contrastRatio(Colour a, Colour b)
{
    const auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const auto luminance = [&](Colour c) {
        return 0.2126 * channel(redOf(c)) + 0.7152 * channel(greenOf(c)) +
               0.0722 * channel(blueOf(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour of a focus indicator on a face: black or white, whichever
// stands out more. One of them always reaches more than 4.5 : 1.
inline Colour focusColourOn(Colour face)
{
    return contrastRatio(colours::black, face) >= contrastRatio(colours::white, face)
               ? colours::black
               : colours::white;
}

} // namespace tessaro
