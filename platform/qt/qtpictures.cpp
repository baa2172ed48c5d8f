// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtpictures.h"

#include <cstddef>

namespace tessaro::qt
{
namespace
{

QRgb pixelColour(const PixelPicture &picture, char key)
{
    const std::optional<std::size_t> index = paletteIndex(picture, key);
    if (!index)
        return qRgba(0, 0, 0, 0);
    const Colour colour = picture.palette[*index].colour;
    return qRgb(static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)),
                static_cast<int>(blueOf(colour)));
}

} // namespace

QImage toQImage(const PixelPicture &picture, QImage::Format format)
{
    if (picture.empty())
        return {};
    QImage image(picture.width, picture.height, format);
    for (int y = 0; y < picture.height; ++y) {
        const std::string_view row = picture.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y, pixelColour(picture, row[static_cast<std::size_t>(x)]));
    }
    return image;
}

QImage pictureImage(PictureId id)
{
    return toQImage(tessaro::picture(id), QImage::Format_RGB888);
}

} // namespace tessaro::qt
