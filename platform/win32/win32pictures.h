// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <cstdint>
#include <vector>

namespace tessaro::win32
{

// A fixed picture as 32-bit pixels (0x00RRGGBB), top row first.
struct PictureBits {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

PictureBits pictureBits(PictureId id);

} // namespace tessaro::win32
