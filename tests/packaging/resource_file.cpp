// SPDX-License-Identifier: GPL-3.0-or-later
#include "resource_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tessaro::test
{

namespace
{

// A bounds-checked little-endian view of a byte block.
class Bytes
{
public:
    Bytes(const std::vector<std::uint8_t> &bytes, std::size_t begin, std::size_t end)
        : bytes_(bytes), begin_(begin), end_(end)
    {
        if (end > bytes.size() || begin > end)
            throw std::runtime_error("resource data is cut short");
    }

    std::uint16_t u16(std::size_t offset) const
    {
        check(offset, 2);
        return static_cast<std::uint16_t>(bytes_[begin_ + offset] | bytes_[begin_ + offset + 1]
                                                                        << 8);
    }

    std::uint32_t u32(std::size_t offset) const
    {
        return static_cast<std::uint32_t>(u16(offset)) | static_cast<std::uint32_t>(u16(offset + 2))
                                                             << 16;
    }

    std::uint8_t u8(std::size_t offset) const
    {
        check(offset, 1);
        return bytes_[begin_ + offset];
    }

    std::size_t size() const { return end_ - begin_; }

    Bytes sub(std::size_t offset, std::size_t length) const
    {
        check(offset, length);
        return Bytes(bytes_, begin_ + offset, begin_ + offset + length);
    }

    std::vector<std::uint8_t> copy() const
    {
        return {bytes_.begin() + static_cast<std::ptrdiff_t>(begin_),
                bytes_.begin() + static_cast<std::ptrdiff_t>(end_)};
    }

    // Fields align to 32 bits counted from the start of the underlying
    // buffer, which is where the file and each resource's data begin.
    std::size_t aligned(std::size_t offset) const
    {
        return ((begin_ + offset + 3) & ~std::size_t{3}) - begin_;
    }

private:
    void check(std::size_t offset, std::size_t length) const
    {
        if (offset + length > size())
            throw std::runtime_error("resource data is cut short");
    }

    const std::vector<std::uint8_t> &bytes_;
    std::size_t begin_;
    std::size_t end_;
};

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads UTF-16 code units from offset until a NUL or maxUnits; returns the
// text and the offset after the NUL (or after maxUnits).
std::pair<std::string, std::size_t> utf16(const Bytes &bytes, std::size_t offset,
                                          std::size_t maxUnits = SIZE_MAX)
{
    std::string text;
    std::size_t units = 0;
    while (units < maxUnits) {
        char32_t unit = bytes.u16(offset);
        offset += 2;
        ++units;
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit < 0xDC00 && units < maxUnits) {
            const char32_t low = bytes.u16(offset);
            offset += 2;
            ++units;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(text, unit);
    }
    return {text, offset};
}

// A type or name field of a resource header: 0xFFFF and a number, or a string.
std::pair<std::uint16_t, std::size_t> typeOrName(const Bytes &bytes, std::size_t offset)
{
    if (bytes.u16(offset) == 0xFFFF)
        return {bytes.u16(offset + 2), offset + 4};
    return {0, utf16(bytes, offset).second};
}

// One node of the version record tree.
struct VersionNode {
    std::string key;
    Bytes value;
    bool valueIsText;
    std::size_t valueUnits;
    std::vector<Bytes> children;
};

VersionNode readVersionNode(const Bytes &node)
{
    const std::size_t length = node.u16(0);
    const std::size_t valueLength = node.u16(2);
    const bool isText = node.u16(4) == 1;
    if (length < 6 || length > node.size())
        throw std::runtime_error("a version record node has a bad length");
    const Bytes self = node.sub(0, length);
    auto [key, afterKey] = utf16(self, 6);
    const std::size_t valueStart = self.aligned(afterKey);
    const std::size_t valueBytes = isText ? 2 * valueLength : valueLength;
    VersionNode result{key,
                       self.sub(valueStart, std::min(valueBytes, length - valueStart)),
                       isText,
                       valueLength,
                       {}};
    std::size_t child = self.aligned(valueStart + valueBytes);
    while (child + 6 <= length) {
        const std::size_t childLength = self.u16(child);
        if (childLength == 0)
            break;
        result.children.push_back(self.sub(child, std::min(childLength, length - child)));
        child = self.aligned(child + childLength);
    }
    return result;
}

FixedFileInfo readFixedFileInfo(const Bytes &value)
{
    if (value.size() < 52)
        throw std::runtime_error("the version record has no fixed file information");
    FixedFileInfo info;
    info.signature = value.u32(0);
    info.fileVersionMs = value.u32(8);
    info.fileVersionLs = value.u32(12);
    info.productVersionMs = value.u32(16);
    info.productVersionLs = value.u32(20);
    info.fileOs = value.u32(32);
    info.fileType = value.u32(36);
    return info;
}

void readStringFileInfo(const VersionNode &info, VersionRecord &record)
{
    for (const Bytes &tableBytes : info.children) {
        const VersionNode table = readVersionNode(tableBytes);
        auto &entries = record.stringTables[table.key];
        for (const Bytes &entryBytes : table.children) {
            const VersionNode entry = readVersionNode(entryBytes);
            entries[entry.key] = utf16(entry.value, 0, entry.valueUnits).first;
        }
    }
}

void readVarFileInfo(const VersionNode &info, VersionRecord &record)
{
    for (const Bytes &varBytes : info.children) {
        const VersionNode var = readVersionNode(varBytes);
        if (var.key != "Translation")
            continue;
        for (std::size_t offset = 0; offset + 4 <= var.value.size(); offset += 4)
            record.translations.emplace_back(var.value.u16(offset), var.value.u16(offset + 2));
    }
}

} // namespace

std::vector<Resource> readResourceFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    const Bytes all(file, 0, file.size());

    std::vector<Resource> resources;
    std::size_t offset = 0;
    while (offset + 8 <= all.size()) {
        const std::size_t dataSize = all.u32(offset);
        const std::size_t headerSize = all.u32(offset + 4);
        const auto [type, afterType] = typeOrName(all, offset + 8);
        const auto afterName = typeOrName(all, afterType).second;
        const std::size_t fields = all.aligned(afterName);
        const Bytes data = all.sub(offset + headerSize, dataSize);
        // The file opens with an empty entry that only marks the format.
        if (dataSize > 0)
            resources.push_back({type, all.u16(fields + 6), data.copy()});
        offset = all.aligned(offset + headerSize + dataSize);
    }
    return resources;
}

VersionRecord parseVersionRecord(const std::vector<std::uint8_t> &data)
{
    const Bytes bytes(data, 0, data.size());
    const VersionNode root = readVersionNode(bytes);
    if (root.key != "VS_VERSION_INFO")
        throw std::runtime_error("not a version record: " + root.key);
    VersionRecord record;
    record.fixed = readFixedFileInfo(root.value);
    for (const Bytes &childBytes : root.children) {
        const VersionNode child = readVersionNode(childBytes);
        if (child.key == "StringFileInfo")
            readStringFileInfo(child, record);
        else if (child.key == "VarFileInfo")
            readVarFileInfo(child, record);
    }
    return record;
}

std::vector<GroupIconEntry> parseGroupIcon(const std::vector<std::uint8_t> &data)
{
    const Bytes bytes(data, 0, data.size());
    const std::size_t count = bytes.u16(4);
    std::vector<GroupIconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 14 * i;
        entries.push_back(
            {bytes.u8(entry), bytes.u8(entry + 1), bytes.u8(entry + 2), bytes.u16(entry + 6)});
    }
    return entries;
}

} // namespace tessaro::test
