// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include <array>

namespace tessaro::qt
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

QRgb colourOf(char letter)
{
    switch (letter) {
    case 'B':
        return qRgb(128, 128, 255); // light blue
    case 'k':
        return qRgb(0, 0, 0);
    case 'w':
        return qRgb(255, 255, 255);
    case 'l':
        return qRgb(192, 192, 192); // light grey
    case 'd':
        return qRgb(128, 128, 128); // dark grey
    case 'g':
        return qRgb(0, 255, 0);
    case 'o':
        return qRgb(128, 128, 0); // olive
    default:
        return qRgb(255, 0, 255);
    }
}

QImage fromLetters(const std::array<const char *, 16> &rows)
{
    QImage image(16, 16, QImage::Format_RGB888);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, colourOf(rows[static_cast<std::size_t>(y)][x]));
    return image;
}

} // namespace

QImage picture(PictureId id)
{
    switch (id) {
    case PictureId::About:
        return fromLetters(aboutPicture);
    case PictureId::None:
        break;
    }
    return {};
}

} // namespace tessaro::qt
