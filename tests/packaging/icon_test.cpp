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
        const QImage png(
            QStringLiteral(TESSARO_ICON_DIR "/hicolor/%1x%1/apps/" TESSARO_APP_ID ".png")
                .arg(size));
        EXPECT_TRUE(isTheIcon(png, size)) << size;
    }
    // The Windows icon holds 16 and 32 pixels.
    QImageReader ico(QStringLiteral(TESSARO_ICO_FILE));
    QList<int> widths;
    for (int i = 0; ico.jumpToImage(i); ++i) {
        const QImage image = ico.read();
        widths.append(image.width());
        EXPECT_TRUE(isTheIcon(image, image.width())) << image.width();
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, QList<int>({16, 32}));
    // The larger theme icons and the SVG scale the design; drawn at one unit a pixel it must be
    // the window's 32 pixel icon, or they would show another picture.
    EXPECT_EQ(tessaro::qt::drawIconDesign(tessaro::qt::iconDesignGrid),
              tessaro::qt::renderTessaroIcon(32));
}
