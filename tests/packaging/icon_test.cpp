// SPDX-License-Identifier: GPL-3.0-or-later
// The program icon: its design at every size, the window icon and the icon
// files that the build installs for desktops and Windows.
#include "icon.h"
#include "tessaro_version.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <QtTest>

using namespace tessaro::qt;

namespace
{

constexpr QRgb black = 0xFF000000;
constexpr QRgb silver = 0xFFC0C0C0;
constexpr QRgb grey = 0xFF808080;

// The pixel under a point of the 32-unit design grid.
QRgb at(const QImage &image, double gridX, double gridY)
{
    const double scale = double(image.width()) / iconDesignGrid;
    return image.pixel(int(gridX * scale), int(gridY * scale));
}

QString installedPng(int size)
{
    return QStringLiteral(TESSARO_ICON_DIR "/hicolor/%1x%1/apps/%2.png")
        .arg(size)
        .arg(QString::fromUtf8(tessaro::app::applicationId.data(),
                               qsizetype(tessaro::app::applicationId.size())));
}

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

void addSizes(std::initializer_list<int> sizes)
{
    QTest::addColumn<int>("size");
    for (int size : sizes)
        QTest::addRow("%d px", size) << size;
}

} // namespace

class IconTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsGateAndExclamationMarkAtEverySize_data() { addSizes({16, 24, 32, 48, 64, 128, 256}); }
    void showsGateAndExclamationMarkAtEverySize()
    {
        QFETCH(int, size);
        const QImage icon = renderTessaroIcon(size);
        QCOMPARE(icon.size(), QSize(size, size));

        QCOMPARE(at(icon, 16.5, 10), silver); // the gate's face
        QCOMPARE(at(icon, 8.5, 10), black);   // its outline
        QCOMPARE(at(icon, 3.5, 6.5), black);  // upper input stroke
        QCOMPARE(at(icon, 3.5, 14.5), black); // lower input stroke
        QCOMPARE(at(icon, 28.5, 10), black);  // output stroke
        QCOMPARE(at(icon, 3.5, 10), 0u);      // between the inputs
        QCOMPARE(at(icon, 24, 23.5), grey);   // exclamation bar
        QCOMPARE(at(icon, 24, 30), grey);     // exclamation dot
        QCOMPARE(at(icon, 10, 26), 0u);       // nothing below left
    }

    void usesOnlyTheSixteenColoursAndFullTransparency_data()
    {
        addSizes({16, 32, 48, 64, 128, 256});
    }
    void usesOnlyTheSixteenColoursAndFullTransparency()
    {
        QFETCH(int, size);
        const QImage icon = renderTessaroIcon(size);
        const auto &palette = classicPalette();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = icon.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                if (std::find(palette.begin(), palette.end(), pixel) == palette.end())
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is #%3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(pixel, 8, 16, QLatin1Char('0'))));
            }
        }
        for (const QPoint corner : {QPoint(0, 0), QPoint(0, size - 1), QPoint(size - 1, 0)})
            QCOMPARE(qAlpha(icon.pixel(corner)), 0);
    }

    void largerSizesScaleThe32PixelDesign_data() { addSizes({64, 128, 256}); }
    void largerSizesScaleThe32PixelDesign()
    {
        QFETCH(int, size);
        const QImage design = renderTessaroIcon(32);
        const QImage icon = renderTessaroIcon(size);
        const int step = size / 32;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                // Every pixel of the design becomes a solid block.
                QCOMPARE(icon.pixel(x * step, y * step), design.pixel(x, y));
                QCOMPARE(icon.pixel(x * step + step - 1, y * step + step - 1), design.pixel(x, y));
            }
        }
    }

    void sizesBelowOneGiveNoImage()
    {
        QVERIFY(renderTessaroIcon(0).isNull());
        QVERIFY(renderTessaroIcon(-16).isNull());
    }

    void windowIconOffers16And32Pixels()
    {
        const QIcon icon = tessaroIcon();
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
        QCOMPARE(argb(icon.pixmap(QSize(16, 16)).toImage()), renderTessaroIcon(16));
        QCOMPARE(argb(icon.pixmap(QSize(32, 32)).toImage()), renderTessaroIcon(32));
    }

    void themeIconFilesHoldTheDesign_data() { addSizes({16, 32, 48, 64, 128, 256}); }
    void themeIconFilesHoldTheDesign()
    {
        QFETCH(int, size);
        const QImage file(installedPng(size));
        QVERIFY2(!file.isNull(), qPrintable(installedPng(size)));
        QCOMPARE(argb(file), renderTessaroIcon(size));
    }

    void windowsIconFileHolds16And32PixelsIn16Colours()
    {
        QFile file(QStringLiteral(TESSARO_ICON_DIR "/tessaro.ico"));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > 6 + 2 * 16);
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 2), quint16(1)); // an icon
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 4), quint16(2)); // two images
        for (int entry = 0; entry < 2; ++entry) {
            const char *directory = bytes.constData() + 6 + 16 * entry;
            QCOMPARE(int(quint8(directory[2])), 16);                         // colours
            QCOMPARE(qFromLittleEndian<quint16>(directory + 6), quint16(4)); // bits
        }

        // A reader that knows nothing of our code sees the same pictures.
        QImageReader reader(file.fileName());
        QCOMPARE(reader.imageCount(), 2);
        QMap<int, QImage> images;
        for (int i = 0; i < 2; ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            images.insert(image.width(), argb(image));
        }
        QCOMPARE(images.keys(), QList<int>({16, 32}));
        QCOMPARE(images[16], renderTessaroIcon(16));
        QCOMPARE(images[32], renderTessaroIcon(32));
    }
};

QTEST_MAIN(IconTest)
#include "icon_test.moc"
