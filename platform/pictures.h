// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessaro
{

// The fixed pictures of picture boxes.
enum class PictureId : std::uint8_t { None, About };

// The icons of windows.
enum class IconId : std::uint8_t { None, LogicGate };

// One colour of a picture's palette and the character that stands for it in
// the picture's rows. A pixel's palette index is its entry's position.
struct PaletteEntry {
    char key;
    Colour colour;
};

// The character of a transparent pixel; only icons have them.
inline constexpr char transparentKey = '.';

// A picture as plain pixel data, the same for every toolkit and for the icon
// files: rows from top to bottom, each row one palette key per pixel from left
// to right. An empty picture has no rows.
struct PixelPicture {
    int width = 0;
    int height = 0;
    std::span<const PaletteEntry> palette;
    std::span<const std::string_view> rows;

    [[nodiscard]] bool empty() const { return rows.empty(); }
};

// The 16 colours of the classic desktop in their classic order, so that an
// entry's position is its 4-bit colour number. Every pixel of the icon is one
// of them or transparent.
std::span<const PaletteEntry, 16> classicPalette();

// The sizes in pixels the window icon is drawn for.
inline constexpr std::array<int, 2> iconSizes{16, 32};

// The picture of a picture box; PictureId::None gives an empty picture.
PixelPicture picture(PictureId id);

// A window icon at one of iconSizes; any other size, or IconId::None, gives
// an empty picture.
PixelPicture icon(IconId id, int size);

// The palette index of a pixel's key; nothing for a transparent pixel or a
// key the palette lacks.
std::optional<std::size_t> paletteIndex(const PixelPicture &picture, char key);

} // namespace tessaro
