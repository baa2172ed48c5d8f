// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time tool: writes the program icon as the files that desktops and
// Windows want, all from the one design in platform/qt/icon.cpp.
//
//   tessaro_icongen OUTPUT_DIR
//
// OUTPUT_DIR/hicolor/<n>x<n>/apps/<id>.png   n = 16, 32, 48, 64, 128, 256
// OUTPUT_DIR/hicolor/scalable/apps/<id>.svg
// OUTPUT_DIR/tessaro.ico                     16 and 32 pixels, 16 colours
#include "icon.h"
#include "tessaro_version.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QString>
#include <QTextStream>
#include <QtEndian>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using tessaro::qt::classicPalette;
using tessaro::qt::renderTessaroIcon;

constexpr int pngSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int icoSizes[] = {16, 32};

QString applicationId()
{
    return QString::fromUtf8(tessaro::app::applicationId.data(),
                             static_cast<qsizetype>(tessaro::app::applicationId.size()));
}

// Writes all or nothing: a half-written icon never replaces a good one.
void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("cannot create the folder of " + path.toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

QByteArray png(int size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!renderTessaroIcon(size).save(&buffer, "PNG"))
        throw std::runtime_error("cannot encode the " + std::to_string(size) + " pixel PNG");
    return bytes;
}

// The SVG states the design grid itself; crisp edges keep the pixel look
// when a desktop scales it.
QByteArray svg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << tessaro::qt::iconDesignGrid
        << "\" height=\"" << tessaro::qt::iconDesignGrid << "\" viewBox=\"0 0 "
        << tessaro::qt::iconDesignGrid << ' ' << tessaro::qt::iconDesignGrid
        << "\" shape-rendering=\"crispEdges\">\n"
        << "  <title>Tessaro</title>\n";
    for (const auto &shape : tessaro::qt::tessaroIconShapes()) {
        out << "  <rect x=\"" << shape.rect.x() << "\" y=\"" << shape.rect.y() << "\" width=\""
            << shape.rect.width() << "\" height=\"" << shape.rect.height() << "\" fill=\""
            << QColor(shape.colour).name() << "\"/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return text.toUtf8();
}

// --- Windows icon: 4 bits per pixel with an AND mask for transparency ---

void appendLe16(QByteArray &bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void appendLe32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

int rowBytes(int bitsPerRow)
{
    return (bitsPerRow + 31) / 32 * 4;
}

std::optional<int> paletteIndex(QRgb pixel)
{
    const auto &palette = classicPalette();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (palette[i] == pixel)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

int colourIndex(QRgb pixel, int size)
{
    if (qAlpha(pixel) == 0)
        return 0;
    const std::optional<int> index = qAlpha(pixel) == 255 ? paletteIndex(pixel) : std::nullopt;
    if (!index) {
        throw std::runtime_error("the " + std::to_string(size) + " pixel icon has colour #" +
                                 QString::number(pixel, 16).toStdString() +
                                 ", which is not in the 16-colour palette");
    }
    return *index;
}

QByteArray icoBitmap(const QImage &image)
{
    const int size = image.width();
    QByteArray bytes;
    appendLe32(bytes, 40); // BITMAPINFOHEADER
    appendLe32(bytes, static_cast<quint32>(size));
    appendLe32(bytes, static_cast<quint32>(2 * size)); // colour bits and mask
    appendLe16(bytes, 1);
    appendLe16(bytes, 4);
    appendLe32(bytes, 0);
    appendLe32(bytes, static_cast<quint32>((rowBytes(4 * size) + rowBytes(size)) * size));
    appendLe32(bytes, 0);
    appendLe32(bytes, 0);
    appendLe32(bytes, 16);
    appendLe32(bytes, 0);
    for (QRgb colour : classicPalette()) {
        const char quad[4] = {static_cast<char>(qBlue(colour)), static_cast<char>(qGreen(colour)),
                              static_cast<char>(qRed(colour)), 0};
        bytes.append(quad, 4);
    }
    // Both bitmaps run bottom-up.
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(rowBytes(4 * size), '\0');
        for (int x = 0; x < size; ++x) {
            const int index = colourIndex(image.pixel(x, y), size);
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        bytes.append(row);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(rowBytes(size), '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        bytes.append(row);
    }
    return bytes;
}

QByteArray ico()
{
    std::vector<QByteArray> bitmaps;
    for (int size : icoSizes)
        bitmaps.push_back(icoBitmap(renderTessaroIcon(size)));

    QByteArray bytes;
    appendLe16(bytes, 0);
    appendLe16(bytes, 1); // icon, not cursor
    appendLe16(bytes, static_cast<quint16>(bitmaps.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(bitmaps.size());
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        const char header[4] = {static_cast<char>(icoSizes[i]), static_cast<char>(icoSizes[i]), 16,
                                0};
        bytes.append(header, 4);
        appendLe16(bytes, 1);
        appendLe16(bytes, 4);
        appendLe32(bytes, static_cast<quint32>(bitmaps[i].size()));
        appendLe32(bytes, offset);
        offset += static_cast<quint32>(bitmaps[i].size());
    }
    for (const QByteArray &bitmap : bitmaps)
        bytes.append(bitmap);
    return bytes;
}

void writeIcons(const QString &outputDir)
{
    const QString id = applicationId();
    for (int size : pngSizes) {
        writeFile(QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(outputDir).arg(size).arg(id),
                  png(size));
    }
    writeFile(QStringLiteral("%1/hicolor/scalable/apps/%2.svg").arg(outputDir, id), svg());
    writeFile(outputDir + QStringLiteral("/tessaro.ico"), ico());
}

} // namespace

int main(int argc, char *argv[])
{
    // Only images are drawn; no display is needed on the build machine.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tessaro_icongen OUTPUT_DIR\n");
        return 2;
    }
    try {
        writeIcons(args.at(1));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "tessaro_icongen: %s\n", error.what());
        return 1;
    }
    return 0;
}
