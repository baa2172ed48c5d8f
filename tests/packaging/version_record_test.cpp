// SPDX-License-Identifier: GPL-3.0-or-later
// The version that Windows shows for tessaro.exe, the release that software
// centres list and the manual page all state the program's one version.
#include "resource_file.h"
#include "tessaro_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

namespace tessaro::test
{
namespace
{

std::string text(std::string_view view)
{
    return std::string(view);
}

// The record writes the minor number with two digits and the revision with
// four, as in "2.00.0008".
std::string paddedVersion()
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d.%02d.%04d", app::versionMajor, app::versionMinor,
                  app::versionRevision);
    return buffer;
}

std::string plainVersion()
{
    return std::to_string(app::versionMajor) + '.' + std::to_string(app::versionMinor) + '.' +
           std::to_string(app::versionRevision);
}

std::string readText(const char *path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot open " << path;
    return {std::istreambuf_iterator<char>(in), {}};
}

class WindowsResources : public ::testing::Test
{
protected:
    void SetUp() override { resources = readResourceFile(TESSARO_RES_FILE); }

    std::vector<const Resource *> ofType(std::uint16_t type) const
    {
        std::vector<const Resource *> found;
        for (const Resource &resource : resources) {
            if (resource.type == type)
                found.push_back(&resource);
        }
        return found;
    }

    VersionRecord versionRecord() const
    {
        const auto found = ofType(resourceTypeVersion);
        EXPECT_EQ(found.size(), 1u) << "one version record";
        if (found.empty())
            return {};
        EXPECT_EQ(found.front()->language, 0x0407) << "the resource itself is German";
        return parseVersionRecord(found.front()->data);
    }

    std::vector<Resource> resources;
};

TEST_F(WindowsResources, VersionRecordHoldsTheProgramsEntriesInGerman)
{
    const VersionRecord record = versionRecord();

    ASSERT_EQ(record.stringTables.size(), 1u);
    ASSERT_TRUE(record.stringTables.contains("040704B0"))
        << "German with the Unicode code page, got " << record.stringTables.begin()->first;
    const std::map<std::string, std::string> expected{
        {"CompanyName", text(app::webAddress)}, {"FileDescription", "Eine Tessaro"},
        {"FileVersion", paddedVersion()},       {"InternalName", "Tessaro"},
        {"OriginalFilename", "Tessaro.exe"},    {"ProductName", text(app::title)},
        {"ProductVersion", paddedVersion()},
    };
    EXPECT_EQ(record.stringTables.at("040704B0"), expected);

    const std::vector<std::pair<std::uint16_t, std::uint16_t>> german{{0x0407, 1200}};
    EXPECT_EQ(record.translations, german);
}

TEST_F(WindowsResources, VersionNumbersComeFromTheBuildsVersion)
{
    const VersionRecord record = versionRecord();
    EXPECT_TRUE(std::regex_match(record.stringTables.at("040704B0").at("FileVersion"),
                                 std::regex(R"(\d+\.\d\d\.\d\d\d\d)")));

    // The numeric version that Explorer compares: major.minor.0.revision.
    EXPECT_EQ(record.fixed.signature, 0xFEEF04BDu);
    const auto ms = static_cast<std::uint32_t>(app::versionMajor << 16 | app::versionMinor);
    const auto ls = static_cast<std::uint32_t>(app::versionRevision);
    EXPECT_EQ(record.fixed.fileVersionMs, ms);
    EXPECT_EQ(record.fixed.fileVersionLs, ls);
    EXPECT_EQ(record.fixed.productVersionMs, ms);
    EXPECT_EQ(record.fixed.productVersionLs, ls);
    EXPECT_EQ(record.fixed.fileType, 1u) << "an application";
    EXPECT_EQ(record.fixed.fileOs, 0x40004u) << "32/64-bit Windows";
}

TEST_F(WindowsResources, ProgramIconHas16And32PixelImagesIn16Colours)
{
    const auto groups = ofType(resourceTypeGroupIcon);
    ASSERT_EQ(groups.size(), 1u);
    const std::vector<GroupIconEntry> entries = parseGroupIcon(groups.front()->data);
    ASSERT_EQ(entries.size(), 2u);
    for (const GroupIconEntry &entry : entries) {
        EXPECT_TRUE(entry.width == 16 || entry.width == 32) << entry.width;
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.colourCount, 16);
        EXPECT_EQ(entry.bitsPerPixel, 4);
    }
    EXPECT_NE(entries[0].width, entries[1].width);
    EXPECT_EQ(ofType(resourceTypeIcon).size(), 2u);
}

TEST(ResourceFile, MissingOrTruncatedFilesAreReportedNotMisread)
{
    EXPECT_THROW(readResourceFile("/nonexistent/tessaro.res"), std::runtime_error);
    const std::vector<std::uint8_t> truncated{0x5C, 0x01, 0x34, 0x00, 'V', 0};
    EXPECT_THROW(parseVersionRecord(truncated), std::runtime_error);
}

TEST(ReleaseVersion, MetainfoAndManualPageStateTheBuildsVersion)
{
    const std::string metainfo = readText(TESSARO_METAINFO_FILE);
    std::smatch release;
    ASSERT_TRUE(
        std::regex_search(metainfo, release, std::regex(R"re(<release version="([^"]*)")re")));
    EXPECT_EQ(release[1], plainVersion());

    const std::string manPage = readText(TESSARO_MAN_PAGE);
    EXPECT_NE(manPage.find("\"Tessaro " + plainVersion() + "\""), std::string::npos);
}

} // namespace
} // namespace tessaro::test
