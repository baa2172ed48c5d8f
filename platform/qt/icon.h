// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QRgb>

#include <span>

namespace tessaro::qt
{

// The icon's scalable design, for the sizes that have no pixel data of their
// own (the larger theme icons and the SVG): a grid of this many units a side,
// one unit one pixel at 32 pixels.
inline constexpr int iconDesignGrid = 32;

// One filled rectangle of the design, in grid units. Shapes are painted in
// order, later ones over earlier ones; everything else stays transparent.
struct IconShape {
    QRect rect;
    QRgb colour;
};

// The logic gate and the exclamation mark of the window icon as shapes.
std::span<const IconShape> tessaroIconShapes();

// The design's shapes drawn at one size in pixels, on a transparent
// background.
QImage drawIconDesign(int size);

// The icon at one size in pixels, on a transparent background. 16 and 32 come
// from the icon's pixel data; other sizes scale the design. A size below 1
// gives a null image.
QImage renderTessaroIcon(int size);

// The window icon with its 16 and 32 pixel images.
QIcon tessaroIcon();

} // namespace tessaro::qt
