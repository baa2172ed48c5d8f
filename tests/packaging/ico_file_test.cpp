// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows icon file kept in the sources is the icon's pixel data, and the
// writer refuses pictures it cannot store.
#include "icofile.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <vector>

using namespace tessaro;

TEST(IcoFile, InTheSourcesIsTheIconData)
{
    std::ifstream file(TESSARO_ICO_FILE, std::ios::binary);
    ASSERT_TRUE(file) << "cannot read " TESSARO_ICO_FILE;
    const std::vector<std::uint8_t> stored{std::istreambuf_iterator<char>(file),
                                           std::istreambuf_iterator<char>()};
    EXPECT_TRUE(stored == windowIconFile())
        << TESSARO_ICO_FILE " differs from the icon's pixel data; after changing the pixels, "
                            "build the target tessaro_update_ico";
}

TEST(IcoFile, RefusesPicturesItCannotStore)
{
    constexpr std::array<PaletteEntry, 1> palette{{{'K', 0}}};
    constexpr std::array<std::string_view, 2> shortRow{"KK", "K"};
    constexpr std::array<std::string_view, 2> unknownKey{"KK", "KX"};
    constexpr std::array<std::string_view, 1> missingRow{"KK"};
    const std::array<PixelPicture, 4> bad{{
        {2, 2, palette, shortRow},
        {2, 2, palette, unknownKey},
        {2, 2, palette, missingRow},
        {},
    }};
    for (const PixelPicture &picture : bad) {
        const std::array<PixelPicture, 1> images{picture};
        EXPECT_THROW(static_cast<void>(icoFile(images)), std::invalid_argument)
            << (picture.rows.empty() ? "" : picture.rows.back());
    }
}
