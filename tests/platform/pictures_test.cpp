// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel data of the window icon and the About picture is well-formed:
// every toolkit and the icon files read it without checks of their own.
#include "pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace tessaro;

namespace
{

struct Expected {
    std::string name;
    PixelPicture picture;
    int size;
    bool mayBeTransparent;
};

std::vector<Expected> everyPicture()
{
    return {
        {"icon 16", icon(IconId::LogicGate, 16), 16, true},
        {"icon 32", icon(IconId::LogicGate, 32), 32, true},
        // 24-bit colour: no pixel is left open.
        {"About", picture(PictureId::About), 16, false},
    };
}

} // namespace

// Square rows of keys its palette names once each.
TEST(Pictures, RowsHoldOneKnownKeyPerPixel)
{
    for (const auto &[name, picture, size, mayBeTransparent] : everyPicture()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(picture.width, size);
        EXPECT_EQ(picture.height, size);
        ASSERT_EQ(picture.rows.size(), static_cast<std::size_t>(size));
        std::set<char> keys;
        for (const PaletteEntry &entry : picture.palette)
            EXPECT_TRUE(entry.key != transparentKey && keys.insert(entry.key).second) << entry.key;
        for (const std::string_view row : picture.rows) {
            EXPECT_EQ(row.size(), static_cast<std::size_t>(size)) << row;
            for (const char key : row)
                EXPECT_TRUE(keys.contains(key) || (mayBeTransparent && key == transparentKey))
                    << row;
        }
    }
}

// The Windows icon file stores a pixel as its position in the classic
// palette; an icon with a palette of its own would change colour there.
TEST(Pictures, IconsUseTheClassicPalette)
{
    for (const int size : iconSizes) {
        const PixelPicture image = icon(IconId::LogicGate, size);
        EXPECT_EQ(image.palette.data(), classicPalette().data()) << size;
        EXPECT_EQ(image.palette.size(), classicPalette().size()) << size;
    }
}

TEST(Pictures, NoneAndUndrawnSizesAreEmpty)
{
    EXPECT_TRUE(picture(PictureId::None).empty());
    EXPECT_TRUE(icon(IconId::None, 16).empty());
    for (const int size : {0, 15, 24, 48})
        EXPECT_TRUE(icon(IconId::LogicGate, size).empty()) << size;
}
