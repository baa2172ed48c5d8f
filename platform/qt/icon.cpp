// SPDX-License-Identifier: GPL-3.0-or-later
#include "icon.h"

#include <QPixmap>

#include <algorithm>

namespace tessaro::qt
{

namespace
{

constexpr QRgb black = qRgb(0x00, 0x00, 0x00);
constexpr QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
constexpr QRgb grey = qRgb(0x80, 0x80, 0x80);
constexpr QRgb white = qRgb(0xFF, 0xFF, 0xFF);

// The design at 32 pixels. The gate's face is silver with a white upper-left
// and a grey lower-right edge, the raised look of the classic desktop; the
// exclamation mark carries a black outline so that it stays readable on
// light and on dark panels.
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

// At 16 pixels the design is redrawn by hand: halving the grid would lose the
// one-unit outline and bevel in places. K black, W white, S silver, G grey.
constexpr std::array<const char *, 16> pixels16{{
    "................",
    "....KKKKKKKKK...",
    "....KWWWWWWSK...",
    "KKKKKWSSSSSGK...",
    "....KWSSSSSGK...",
    "....KWSSSSSGKKKK",
    "....KWSSSSSGK...",
    "KKKKKWSSSSSGK...",
    "....KSGGGGGGK...",
    "....KKKKKKKKK...",
    "................",
    "...........GG...",
    "...........GG...",
    "...........GG...",
    "................",
    "...........GG...",
}};

QRgb pixelColour(char code)
{
    switch (code) {
    case 'K':
        return black;
    case 'W':
        return white;
    case 'S':
        return silver;
    case 'G':
        return grey;
    default:
        return qRgba(0, 0, 0, 0);
    }
}

QImage transparentImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage drawnByHand16()
{
    QImage image = transparentImage(16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, pixelColour(pixels16[static_cast<std::size_t>(y)][x]));
    }
    return image;
}

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

QImage drawnFromGrid(int size)
{
    QImage image = transparentImage(size);
    for (const IconShape &shape : shapes)
        fill(image, scaledRect(shape.rect, size), shape.colour);
    return image;
}

} // namespace

std::span<const IconShape> tessaroIconShapes()
{
    return shapes;
}

const std::array<QRgb, 16> &classicPalette()
{
    static const std::array<QRgb, 16> palette{{
        qRgb(0x00, 0x00, 0x00),
        qRgb(0x80, 0x00, 0x00),
        qRgb(0x00, 0x80, 0x00),
        qRgb(0x80, 0x80, 0x00),
        qRgb(0x00, 0x00, 0x80),
        qRgb(0x80, 0x00, 0x80),
        qRgb(0x00, 0x80, 0x80),
        qRgb(0xC0, 0xC0, 0xC0),
        qRgb(0x80, 0x80, 0x80),
        qRgb(0xFF, 0x00, 0x00),
        qRgb(0x00, 0xFF, 0x00),
        qRgb(0xFF, 0xFF, 0x00),
        qRgb(0x00, 0x00, 0xFF),
        qRgb(0xFF, 0x00, 0xFF),
        qRgb(0x00, 0xFF, 0xFF),
        qRgb(0xFF, 0xFF, 0xFF),
    }};
    return palette;
}

QImage renderTessaroIcon(int size)
{
    if (size < 1)
        return {};
    if (size == 16)
        return drawnByHand16();
    return drawnFromGrid(size);
}

QIcon tessaroIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(renderTessaroIcon(16)));
    icon.addPixmap(QPixmap::fromImage(renderTessaroIcon(32)));
    return icon;
}

} // namespace tessaro::qt
