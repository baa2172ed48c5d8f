// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QRgb>

#include <array>
#include <span>

namespace tessaro::qt
{

// The icon is designed on a grid of this many units a side: at 32 pixels one
// unit is one pixel.
inline constexpr int iconDesignGrid = 32;

// One filled rectangle of the design, in grid units. Shapes are painted in
// order, later ones over earlier ones; everything else stays transparent.
struct IconShape {
    QRect rect;
    QRgb colour;
};

// The logic gate (a grey square outlined in black, two input strokes on the
// left, one output stroke on the right) and the grey exclamation mark below
// it on the right.
std::span<const IconShape> tessaroIconShapes();

// The classic 16-colour palette; every opaque pixel of the icon is one of these.
const std::array<QRgb, 16> &classicPalette();

// The icon at one size in pixels, on a transparent background. 16 and 32 are
// drawn pixel by pixel; other sizes scale the design grid. A size below 1
// gives a null image.
QImage renderTessaroIcon(int size);

// The window icon with its 16 and 32 pixel images.
QIcon tessaroIcon();

} // namespace tessaro::qt
