// SPDX-License-Identifier: GPL-3.0-or-later
#include "icofile.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace tessaro
{
namespace
{

constexpr std::size_t colourTableSize = 16;
constexpr std::uint32_t bitmapInfoHeaderSize = 40;
constexpr std::uint32_t directoryEntrySize = 16;
constexpr std::uint32_t fileHeaderSize = 6;

using Bytes = std::vector<std::uint8_t>;

void appendLe16(Bytes &bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

void appendLe32(Bytes &bytes, std::uint32_t value)
{
    appendLe16(bytes, value & 0xFFFFu);
    appendLe16(bytes, value >> 16);
}

// Bitmap rows are padded to whole 32-bit words.
std::size_t rowBytes(std::size_t bitsPerRow)
{
    return (bitsPerRow + 31) / 32 * 4;
}

void check(const PixelPicture &picture)
{
    if (picture.empty() || picture.width < 1 || picture.width > 256 || picture.height < 1 ||
        picture.height > 256)
        throw std::invalid_argument("an icon image must be 1 to 256 pixels a side");
    if (picture.rows.size() != static_cast<std::size_t>(picture.height))
        throw std::invalid_argument("an icon image has " + std::to_string(picture.rows.size()) +
                                    " rows instead of " + std::to_string(picture.height));
    if (picture.palette.size() > colourTableSize)
        throw std::invalid_argument("an icon image may have at most 16 colours");
    for (const std::string_view row : picture.rows) {
        if (row.size() != static_cast<std::size_t>(picture.width))
            throw std::invalid_argument("an icon row has " + std::to_string(row.size()) +
                                        " pixels instead of " + std::to_string(picture.width));
        for (const char key : row) {
            if (key != transparentKey && !paletteIndex(picture, key))
                throw std::invalid_argument(std::string("an icon pixel has the key '") + key +
                                            "', which its palette lacks");
        }
    }
}

void appendColourTable(Bytes &bytes, const PixelPicture &picture)
{
    for (std::size_t i = 0; i < colourTableSize; ++i) {
        const Colour colour = i < picture.palette.size() ? picture.palette[i].colour : 0;
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(blueOf(colour)),
                                   static_cast<std::uint8_t>(greenOf(colour)),
                                   static_cast<std::uint8_t>(redOf(colour)), 0});
    }
}

// Both bitmaps run bottom-up. A transparent pixel is colour 0 under a set
// mask bit.
void appendPixels(Bytes &bytes, const PixelPicture &picture)
{
    const auto width = static_cast<std::size_t>(picture.width);
    for (std::size_t y = picture.rows.size(); y-- > 0;) {
        Bytes row(rowBytes(4 * width), 0);
        for (std::size_t x = 0; x < width; ++x) {
            const auto index = paletteIndex(picture, picture.rows[y][x]).value_or(0);
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    for (std::size_t y = picture.rows.size(); y-- > 0;) {
        Bytes row(rowBytes(width), 0);
        for (std::size_t x = 0; x < width; ++x) {
            if (picture.rows[y][x] == transparentKey)
                row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
}

Bytes bitmap(const PixelPicture &picture)
{
    check(picture);
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    Bytes bytes;
    appendLe32(bytes, bitmapInfoHeaderSize);
    appendLe32(bytes, width);
    appendLe32(bytes, 2 * height); // the colour bits and the mask
    appendLe16(bytes, 1);          // planes
    appendLe16(bytes, 4);          // bits per pixel
    appendLe32(bytes, 0);          // uncompressed
    appendLe32(bytes, static_cast<std::uint32_t>((rowBytes(4 * width) + rowBytes(width)) * height));
    appendLe32(bytes, 0); // no resolution
    appendLe32(bytes, 0);
    appendLe32(bytes, colourTableSize);
    appendLe32(bytes, 0); // all colours matter
    appendColourTable(bytes, picture);
    appendPixels(bytes, picture);
    return bytes;
}

} // namespace

Bytes icoFile(std::span<const PixelPicture> images)
{
    std::vector<Bytes> bitmaps;
    for (const PixelPicture &picture : images)
        bitmaps.push_back(bitmap(picture));

    Bytes bytes;
    appendLe16(bytes, 0);
    appendLe16(bytes, 1); // an icon, not a cursor
    appendLe16(bytes, static_cast<std::uint32_t>(bitmaps.size()));
    auto offset = fileHeaderSize + directoryEntrySize * static_cast<std::uint32_t>(bitmaps.size());
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        // A side of 256 is written as 0.
        bytes.push_back(static_cast<std::uint8_t>(images[i].width & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(images[i].height & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(colourTableSize));
        bytes.push_back(0);
        appendLe16(bytes, 1); // planes
        appendLe16(bytes, 4); // bits per pixel
        appendLe32(bytes, static_cast<std::uint32_t>(bitmaps[i].size()));
        appendLe32(bytes, offset);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const Bytes &image : bitmaps)
        bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

Bytes windowIconFile()
{
    std::vector<PixelPicture> images;
    for (const int size : iconSizes)
        images.push_back(icon(IconId::LogicGate, size));
    return icoFile(images);
}

} // namespace tessaro
