// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include <algorithm>

namespace tessaro
{
namespace
{

constexpr std::array<PaletteEntry, 16> classic{{
    {'K', rgb(0x00, 0x00, 0x00)}, // black
    {'m', rgb(0x80, 0x00, 0x00)}, // maroon
    {'n', rgb(0x00, 0x80, 0x00)}, // green
    {'o', rgb(0x80, 0x80, 0x00)}, // olive
    {'v', rgb(0x00, 0x00, 0x80)}, // navy
    {'p', rgb(0x80, 0x00, 0x80)}, // purple
    {'t', rgb(0x00, 0x80, 0x80)}, // teal
    {'S', rgb(0xC0, 0xC0, 0xC0)}, // silver
    {'G', rgb(0x80, 0x80, 0x80)}, // grey
    {'R', rgb(0xFF, 0x00, 0x00)}, // red
    {'L', rgb(0x00, 0xFF, 0x00)}, // lime
    {'Y', rgb(0xFF, 0xFF, 0x00)}, // yellow
    {'B', rgb(0x00, 0x00, 0xFF)}, // blue
    {'F', rgb(0xFF, 0x00, 0xFF)}, // fuchsia
    {'A', rgb(0x00, 0xFF, 0xFF)}, // aqua
    {'W', rgb(0xFF, 0xFF, 0xFF)}, // white
}};

// The logic gate (a grey square outlined in black, two input strokes on the
// left, one output stroke on the right) and the grey exclamation mark below
// it on the right. The gate's face is silver with a white upper-left and a
// grey lower-right edge, the raised look of the classic desktop; at 32 pixels
// the exclamation mark carries a black outline so that it stays readable on
// light and on dark panels.
constexpr std::array<std::string_view, 32> logicGate32{
    "................................", //
    "........KKKKKKKKKKKKKKKKKK......", //
    "........KWWWWWWWWWWWWWWWSK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    ".KKKKKKKKWSSSSSSSSSSSSSSGK......", //
    ".KKKKKKKKWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGKKKKKK.", //
    "........KWSSSSSSSSSSSSSSGKKKKKK.", //
    "........KWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    ".KKKKKKKKWSSSSSSSSSSSSSSGK......", //
    ".KKKKKKKKWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    "........KWSSSSSSSSSSSSSSGK......", //
    "........KSGGGGGGGGGGGGGGGK......", //
    "........KKKKKKKKKKKKKKKKKK......", //
    "................................", //
    "......................KKKK......", //
    "......................KGGK......", //
    "......................KGGK......", //
    "......................KGGK......", //
    "......................KGGK......", //
    "......................KGGK......", //
    "......................KKKK......", //
    "................................", //
    "......................KKKK......", //
    "......................KGGK......", //
    "......................KGGK......", //
    "......................KKKK......", //
};

// At 16 pixels the design is drawn by hand: halving the 32-pixel one would
// lose the one-pixel outline and bevel in places.
constexpr std::array<std::string_view, 16> logicGate16{
    "................", //
    "....KKKKKKKKK...", //
    "....KWWWWWWSK...", //
    "KKKKKWSSSSSGK...", //
    "....KWSSSSSGK...", //
    "....KWSSSSSGKKKK", //
    "....KWSSSSSGK...", //
    "KKKKKWSSSSSGK...", //
    "....KSGGGGGGK...", //
    "....KKKKKKKKK...", //
    "................", //
    "...........GG...", //
    "...........GG...", //
    "...........GG...", //
    "................", //
    "...........GG...", //
};

constexpr std::array<PaletteEntry, 7> aboutPalette{{
    {'B', rgb(128, 128, 255)}, // light blue
    {'k', rgb(0, 0, 0)},       // black
    {'w', rgb(255, 255, 255)}, // white
    {'l', rgb(192, 192, 192)}, // light grey
    {'d', rgb(128, 128, 128)}, // dark grey
    {'g', rgb(0, 255, 0)},     // green
    {'o', rgb(128, 128, 0)},   // olive
}};

// A small computer whose dark screen shows green and white bits, between
// light-blue bands, with an olive pixel pair in the bottom-right corner.
constexpr std::array<std::string_view, 16> aboutPicture{
    "BBBBBBBBBBBBBBBB", //
    "BBBBBBBBBBBBBBBB", //
    "wwwwwwwwwwwwwwwd", //
    "wlllllllllllllkd", //
    "wlkkkkkkkkkkklkd", //
    "wlkgkwkgkgkwklkd", //
    "wlkkkkkkkkkkklkd", //
    "wlkwkgkgkwkgklkd", //
    "wlkkkkkkkkkkklkd", //
    "wlkgkgkwkwkgklkd", //
    "wlkkkkkkkkkkklkd", //
    "wlllllllllllllkd", //
    "wkkkkkkkkkkkkkkd", //
    "dddddddddddddddd", //
    "BBBBBBBBBBBBBBBB", //
    "BBBBBBBBBBBBBBoo", //
};

template <std::size_t Rows>
PixelPicture square(std::span<const PaletteEntry> palette,
                    const std::array<std::string_view, Rows> &rows)
{
    return {static_cast<int>(Rows), static_cast<int>(Rows), palette, rows};
}

} // namespace

std::span<const PaletteEntry, 16> classicPalette()
{
    return classic;
}

PixelPicture picture(PictureId id)
{
    switch (id) {
    case PictureId::About:
        return square(aboutPalette, aboutPicture);
    case PictureId::None:
        break;
    }
    return {};
}

PixelPicture icon(IconId id, int size)
{
    if (id != IconId::LogicGate)
        return {};
    switch (size) {
    case 16:
        return square(classic, logicGate16);
    case 32:
        return square(classic, logicGate32);
    default:
        return {};
    }
}

std::optional<std::size_t> paletteIndex(const PixelPicture &picture, char key)
{
    const auto found = std::find_if(picture.palette.begin(), picture.palette.end(),
                                    [key](const PaletteEntry &entry) { return entry.key == key; });
    if (key == transparentKey || found == picture.palette.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - picture.palette.begin());
}

} // namespace tessaro
