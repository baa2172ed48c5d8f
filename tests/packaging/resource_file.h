// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a compiled Windows resource file (.res) the way Windows reads the
// resources of an executable: enough to check the version record and the
// icon that Explorer shows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessaro::test
{

inline constexpr std::uint16_t resourceTypeIcon = 3;
inline constexpr std::uint16_t resourceTypeGroupIcon = 14;
inline constexpr std::uint16_t resourceTypeVersion = 16;

struct Resource {
    std::uint16_t type = 0; // numeric types only; named types read as 0
    std::uint16_t language = 0;
    std::vector<std::uint8_t> data;
};

// All resources of a .res file. Throws std::runtime_error on a file that
// cannot be read or is cut short.
std::vector<Resource> readResourceFile(const std::filesystem::path &path);

// The fixed part of a version record (VS_FIXEDFILEINFO).
struct FixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t fileVersionMs = 0;
    std::uint32_t fileVersionLs = 0;
    std::uint32_t productVersionMs = 0;
    std::uint32_t productVersionLs = 0;
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
};

struct VersionRecord {
    FixedFileInfo fixed;
    // StringFileInfo: block name ("040704B0") to its key/value pairs.
    std::map<std::string, std::map<std::string, std::string>> stringTables;
    // VarFileInfo "Translation": language and code page pairs.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
};

// Decodes the data of a version resource (VS_VERSIONINFO). Throws
// std::runtime_error on malformed data.
VersionRecord parseVersionRecord(const std::vector<std::uint8_t> &data);

// One image of an icon group: width and height in pixels (0 means 256),
// colour count and bits per pixel.
struct GroupIconEntry {
    int width = 0;
    int height = 0;
    int colourCount = 0;
    int bitsPerPixel = 0;
};

std::vector<GroupIconEntry> parseGroupIcon(const std::vector<std::uint8_t> &data);

} // namespace tessaro::test
