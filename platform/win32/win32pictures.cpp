// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32pictures.h"

#include <array>

namespace tessaro::win32
{
namespace
{

// The About picture, one letter per pixel: a small computer whose dark
// screen shows green and white bits, between light-blue bands, with an olive
// pixel pair in the bottom-right corner.
constexpr std::array<const char *, 16> aboutPicture{
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

std::uint32_t pixelOf(char letter)
{
    switch (letter) {
    case 'B':
        return 0x8080FF; // light blue
    case 'k':
        return 0x000000;
    case 'w':
        return 0xFFFFFF;
    case 'l':
        return 0xC0C0C0; // light grey
    case 'd':
        return 0x808080; // dark grey
    case 'g':
        return 0x00FF00;
    case 'o':
        return 0x808000; // olive
    default:
        return 0xFF00FF;
    }
}

} // namespace

PictureBits pictureBits(PictureId id)
{
    if (id != PictureId::About)
        return {};
    PictureBits bits{16, 16, {}};
    for (const char *row : aboutPicture)
        for (int x = 0; x < 16; ++x)
            bits.pixels.push_back(pixelOf(row[x]));
    return bits;
}

} // namespace tessaro::win32
