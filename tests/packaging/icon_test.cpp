// SPDX-License-Identifier: GPL-3.0-or-later
// The icon files that the build installs hold the program's own icon.
#include "icon.h"

#include <QImageReader>
#include <gtest/gtest.h>

TEST(IconFiles, HoldTheIconAtEachSize)
{
    const auto isTheIcon = [](const QImage &image, int size) {
        return image.convertToFormat(QImage::Format_ARGB32) == tessaro::qt::renderTessaroIcon(size);
    };
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QImage png(QString::asprintf(
            TESSARO_ICON_DIR "/hicolor/%dx%d/apps/" TESSARO_APP_ID ".png", size, size));
        EXPECT_TRUE(isTheIcon(png, size)) << size;
    }
    // The Windows icon holds 16 and 32 pixels, in the order its writer stores them.
    QImageReader ico(QStringLiteral(TESSARO_ICO_FILE));
    EXPECT_EQ(ico.imageCount(), 2);
    for (const int size : {16, 32}) {
        EXPECT_TRUE(isTheIcon(ico.read(), size)) << size;
        ico.jumpToNextImage();
    }
    // The larger theme icons and the SVG scale the design; drawn at one unit a pixel it must be
    // the window's 32 pixel icon, or they would show another picture.
    EXPECT_EQ(tessaro::qt::drawIconDesign(tessaro::qt::iconDesignGrid),
              tessaro::qt::renderTessaroIcon(32));
}
