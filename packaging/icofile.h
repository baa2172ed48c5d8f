// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaro
{

// A Windows icon file holding the given images, each at 4 bits per pixel with
// its picture's palette (at most 16 colours) as colour table and its
// transparent pixels in the AND mask. Throws std::invalid_argument for an
// empty picture, a picture wider or higher than 256 pixels, a palette of more
// than 16 colours or a pixel whose key is not in the palette.
std::vector<std::uint8_t> icoFile(std::span<const PixelPicture> images);

// The window icon at every size it is drawn for.
std::vector<std::uint8_t> windowIconFile();

} // namespace tessaro
