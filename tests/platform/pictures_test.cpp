// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel data of the window icon and the About picture is well-formed:
// every toolkit and the icon files read it without checks of their own.
#include "pictures.h"

#include <gtest/gtest.h>

#include <set>

using namespace tessaro;

// Square rows of keys its palette names once each; only icons may leave a pixel open.
TEST(Pictures, RowsHoldOneKnownKeyPerPixel)
{
    for (const auto &[image, size, mayBeTransparent] :
         {std::tuple{icon(IconId::LogicGate, 16), 16, true},
          {icon(IconId::LogicGate, 32), 32, true},
          {picture(PictureId::About), 16, false}}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(std::pair(image.width, image.height), std::pair(size, size));
        ASSERT_EQ(image.rows.size(), std::size_t(size));
        std::set<char> keys;
        for (const PaletteEntry &entry : image.palette)
            EXPECT_TRUE(entry.key != transparentKey && keys.insert(entry.key).second) << entry.key;
        for (const std::string_view row : image.rows) {
            EXPECT_EQ(row.size(), std::size_t(size)) << row;
            for (const char key : row)
                EXPECT_TRUE(keys.contains(key) || (mayBeTransparent && key == transparentKey))
                    << row;
        }
    }
    EXPECT_TRUE(picture(PictureId::None).empty());
    EXPECT_TRUE(icon(IconId::None, 16).empty());
    for (const int size : {0, 15, 24})
        EXPECT_TRUE(icon(IconId::LogicGate, size).empty()) << size;
}
