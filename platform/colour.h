// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessaro
{

// A colour in the layout 0x00BBGGRR, red in the lowest byte. Values with the
// top bit set name a system colour (0x80000000 | index), resolved by the
// toolkit from its palette.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned red, unsigned green, unsigned blue)
{
    return Colour(red | (green << 8) | (blue << 16));
}
constexpr unsigned redOf(Colour c)
{
    return c & 0xFFu;
}
constexpr unsigned greenOf(Colour c)
{
    return (c >> 8) & 0xFFu;
}
constexpr unsigned blueOf(Colour c)
{
    return (c >> 16) & 0xFFu;
}
constexpr bool isSystemColour(Colour c)
{
    return (c & 0x80000000u) != 0;
}

namespace colours
{
// Named colours of the main window.
constexpr Colour windowGreen = 0x00FF00;
constexpr Colour paleCellGreen = 0xC0FFC0;
constexpr Colour lightGreen = 0x80FF80;
constexpr Colour yellow = 0x00FFFF;
constexpr Colour white = 0xFFFFFF;
constexpr Colour orange = 0x0080FF;
constexpr Colour olive = 0x008080;
constexpr Colour red = 0x0000FF;
constexpr Colour blue = 0xC00000;
constexpr Colour lightYellow = 0x80FFFF;
constexpr Colour black = 0x000000;

// System colours, numbered as the classic toolkits number them.
constexpr Colour windowText = 0x80000008;
constexpr Colour buttonFace = 0x8000000F;
constexpr Colour buttonText = 0x80000012;
} // namespace colours

} // namespace tessaro
