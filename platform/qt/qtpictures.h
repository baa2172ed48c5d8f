// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures.h"

#include <QImage>

namespace tessaro::qt
{

// The pixel data as an image of the given format; transparent pixels stay
// transparent where the format has an alpha channel. An empty picture gives a
// null image.
QImage toQImage(const PixelPicture &picture, QImage::Format format);

// The fixed picture of a picture box, in 24-bit colour; PictureId::None gives
// a null image.
QImage pictureImage(PictureId id);

} // namespace tessaro::qt
