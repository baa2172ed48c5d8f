// SPDX-License-Identifier: GPL-3.0-or-later
#include "icon.h"

#include "pictures.h"
#include "qtpictures.h"

#include <QPixmap>

#include <algorithm>
#include <array>

namespace tessaro::qt
{

namespace
{

constexpr QRgb black = qRgb(0x00, 0x00, 0x00);
constexpr QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
constexpr QRgb grey = qRgb(0x80, 0x80, 0x80);
constexpr QRgb white = qRgb(0xFF, 0xFF, 0xFF);

// The 32-pixel icon as shapes: drawn at one unit a pixel they give exactly
// its pixel data (a test holds them together).
constexpr std::array<IconShape, 13> shapes{{
    // Input strokes on the left, output stroke on the right, each ending in
    // the gate's outline.
    {QRect(1, 5, 8, 2), black},
    {QRect(1, 13, 8, 2), black},
    {QRect(25, 9, 6, 2), black},
    // The gate.
    {QRect(8, 1, 18, 18), black},
    {QRect(9, 2, 16, 16), silver},
    {QRect(9, 2, 15, 1), white},
    {QRect(9, 2, 1, 15), white},
    {QRect(10, 17, 15, 1), grey},
    {QRect(24, 3, 1, 15), grey},
    // The exclamation mark, flush with the gate's right edge: bar, gap, dot.
    {QRect(22, 20, 4, 7), black},
    {QRect(23, 21, 2, 5), grey},
    {QRect(22, 28, 4, 4), black},
    {QRect(23, 29, 2, 2), grey},
}};

// Grid edges map to the nearest pixel edge; a shape never shrinks to nothing,
// so thin strokes survive small sizes.
QRect scaledRect(const QRect &grid, int size)
{
    const auto edge = [size](int unit) {
        return (unit * size + iconDesignGrid / 2) / iconDesignGrid;
    };
    const int left = edge(grid.left());
    const int top = edge(grid.top());
    const int right = std::max(edge(grid.left() + grid.width()), left + 1);
    const int bottom = std::max(edge(grid.top() + grid.height()), top + 1);
    return QRect(left, top, right - left, bottom - top);
}

void fill(QImage &image, const QRect &area, QRgb colour)
{
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            image.setPixel(x, y, colour);
    }
}

} // namespace

std::span<const IconShape> tessaroIconShapes()
{
    return shapes;
}

QImage drawIconDesign(int size)
{
    if (size < 1)
        return {};
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (const IconShape &shape : shapes)
        fill(image, scaledRect(shape.rect, size), shape.colour);
    return image;
}

QImage renderTessaroIcon(int size)
{
    const PixelPicture pixels = icon(IconId::LogicGate, size);
    if (!pixels.empty())
        return toQImage(pixels, QImage::Format_ARGB32);
    return drawIconDesign(size);
}

QIcon tessaroIcon()
{
    QIcon windowIcon;
    for (const int size : iconSizes)
        windowIcon.addPixmap(QPixmap::fromImage(renderTessaroIcon(size)));
    return windowIcon;
}

} // namespace tessaro::qt
