// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

namespace tessaro::testing
{
namespace
{

const std::string key = "SOFTWARE\\Tessaro\\Test";
const std::string toolKey(sysinfo::toolPathKey);
const std::string locationKey(sysinfo::toolDirectoryKey);
const std::string message = "Tessaro: Systeminformationen sind momentan nicht verfügbar";

StoredValue raw(std::uint32_t type, std::vector<std::uint8_t> data)
{
    return {type, data};
}
StoredValue raw(std::uint32_t type, std::string_view data)
{
    return {type, {data.begin(), data.end()}};
}

// --- GetKeyValue --------------------------------------------------------------

struct ReadCase {
    const char *name;
    std::optional<StoredValue> value; // nothing: the key has no such value
    bool found;
    std::string expected; // "vorher" is the text before the call
};

class GetKeyValueReads : public ::testing::TestWithParam<ReadCase>
{
};

// Whatever the value, the key is asked for reading only, read into a cleared
// buffer of 1024 bytes, and closed again.
TEST_P(GetKeyValueReads, GivesTheTextAndClosesTheKey)
{
    FakeRegistry registry;
    registry.keys[key];
    if (GetParam().value)
        registry.keys[key]["Wert"] = *GetParam().value;
    std::string result = "vorher";

    EXPECT_EQ(GetKeyValue(registry, registry::localMachine, key, "Wert", result), GetParam().found);
    EXPECT_EQ(result, GetParam().expected);
    EXPECT_EQ(registry.accesses, std::vector<std::uint32_t>{0x20019});
    EXPECT_EQ(registry.sizesOffered, std::vector<std::uint32_t>{1024});
    EXPECT_EQ(registry.closes.size(), 1u);
    EXPECT_TRUE(registry.openKeys.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueReads,
    ::testing::Values(
        ReadCase{"StringWithTerminator", text("C:\\x y\\a.exe"), true, "C:\\x y\\a.exe"},
        ReadCase{"StringWithoutTerminator", text("C:\\a", false), true, "C:\\a"},
        ReadCase{"TerminatorAlone", text(""), true, ""},
        ReadCase{"OnlyOneTerminatorTrimmed", raw(1, {'a', 0, 0}), true, std::string("a\0", 2)},
        ReadCase{"DwordEight", raw(4, {0x08, 0, 0, 0}), true, "8"},
        ReadCase{"DwordTenThousand", raw(4, {0x10, 0x27, 0, 0}), true, "10000"},
        ReadCase{"DwordHighZeroTrimmed", raw(4, {0, 1, 0, 0}), true, "256"},
        ReadCase{"DwordTopBitUnsigned", raw(4, {0xFF, 0xFF, 0xFF, 0xFF}), true, "4294967295"},
        ReadCase{"OtherTypeLeavesTheText", raw(2, "%SystemRoot%"), true, "vorher"},
        ReadCase{"FillsTheBuffer", text(std::string(1023, 'x')), true, std::string(1023, 'x')},
        ReadCase{"OneByteTooLong", text(std::string(1024, 'x')), false, ""},
        ReadCase{"ValueMissing", std::nullopt, false, ""}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(GetKeyValue, KeyThatDoesNotOpenIsClosedAsHandleZero)
{
    FakeRegistry registry;
    registry.keys[key]["Wert"] = text("x");
    registry.denied.insert(key);
    std::string result = "vorher";

    EXPECT_FALSE(GetKeyValue(registry, registry::localMachine, key, "Wert", result));
    EXPECT_FALSE(GetKeyValue(registry, registry::localMachine, "SOFTWARE\\Fehlt", "Wert", result));
    EXPECT_FALSE(
        GetKeyValue(registry, registry::localMachine, "SOFTWARE\\Gr\u00F6\u00DFe", "W", result));
    EXPECT_EQ(result, "");
    EXPECT_EQ(registry.closes, (std::vector<registry::Handle>{0, 0, 0}));
}

TEST(GetKeyValue, ValueWithoutDataRaisesAFailureAfterClosingTheKey)
{
    FakeRegistry registry;
    registry.keys[key]["Wert"] = raw(1, std::vector<std::uint8_t>{});
    std::string result;

    EXPECT_THROW(GetKeyValue(registry, registry::localMachine, key, "Wert", result),
                 EmptyRegistryValue);
    EXPECT_EQ(registry.closes.size(), 1u);
    EXPECT_TRUE(registry.openKeys.empty());
}

// --- StartSysInfo -------------------------------------------------------------

struct LaunchCase {
    const char *name;
    std::optional<StoredValue> toolPath;  // lookup 1
    std::optional<StoredValue> directory; // lookup 2
    std::set<std::string> files;          // ordinary files on the disk
    std::string started;                  // empty: the message instead
    bool directoryRead;
    bool toolKeyDenied = false;
};

class StartSysInfoOutcome : public ::testing::TestWithParam<LaunchCase>
{
};

TEST_P(StartSysInfoOutcome, StartsOneProgramOrShowsTheMessageOnce)
{
    const LaunchCase &c = GetParam();
    FakeSysInfo fake;
    if (c.toolPath)
        fake.registry.keys[toolKey]["PATH"] = *c.toolPath;
    if (c.toolKeyDenied)
        fake.registry.denied.insert(toolKey);
    if (c.directory)
        fake.registry.keys[locationKey]["MSINFO"] = *c.directory;
    fake.files.ordinary = c.files;

    StartSysInfo(fake.services);

    if (c.started.empty()) {
        EXPECT_TRUE(fake.programs.started.empty());
        EXPECT_EQ(fake.messages.shown, std::vector<std::string>{message});
    } else {
        EXPECT_EQ(fake.programs.started, std::vector<std::string>{c.started});
        EXPECT_TRUE(fake.messages.shown.empty());
    }
    EXPECT_EQ(std::count(fake.registry.opened.begin(), fake.registry.opened.end(), locationKey),
              c.directoryRead ? 1 : 0);
    EXPECT_TRUE(fake.registry.openKeys.empty());
}

const std::string blanks =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
const std::string inDir = "D:\\Info\\MSINFO32.EXE";
const StoredValue infoDir = text("D:\\Info");
const StoredValue empty = raw(1, std::vector<std::uint8_t>{});

INSTANTIATE_TEST_SUITE_P(
    Outcomes, StartSysInfoOutcome,
    ::testing::Values(
        // The full path is started as read, without a look at the disk.
        LaunchCase{
            "FullPathStartedUntested", text("C:\\T\\m.exe"), infoDir, {}, "C:\\T\\m.exe", false},
        LaunchCase{"PathWithBlanksPassedWhole", text(blanks), {}, {}, blanks, false},
        LaunchCase{"DirectoryWithTheProgram", {}, infoDir, {inDir}, inDir, true},
        LaunchCase{"TrailingBackslashKeptAsFormed",
                   {},
                   text("D:\\Info\\"),
                   {"D:\\Info\\\\MSINFO32.EXE"},
                   "D:\\Info\\\\MSINFO32.EXE",
                   true},
        LaunchCase{"FullPathTooLongTriesDirectory",
                   text(std::string(1100, 'x')),
                   infoDir,
                   {inDir},
                   inDir,
                   true},
        LaunchCase{"FullPathKeyDeniedTriesDirectory",
                   text("C:\\T\\m.exe"),
                   infoDir,
                   {inDir},
                   inDir,
                   true,
                   true},
        LaunchCase{"NeitherFound", {}, {}, {}, "", true},
        LaunchCase{"DirectoryWithoutTheProgram", {}, infoDir, {}, "", true},
        LaunchCase{"CandidateUnusable", {}, text("D:\\<>"), {}, "", true},
        LaunchCase{"FileTestBreaks", {}, text("D:\\wirft"), {}, "", true},
        LaunchCase{"ProgramDoesNotStart", text("C:\\kaputt.exe"), infoDir, {inDir}, "", false},
        LaunchCase{"FullPathWithoutDataEndsAtOnce", empty, infoDir, {inDir}, "", false},
        LaunchCase{"DirectoryWithoutData", {}, empty, {"\\MSINFO32.EXE"}, "", true},
        LaunchCase{"FullPathOfOtherTypeIsAnEmptyCommand",
                   raw(2, "C:\\T\\m.exe"),
                   infoDir,
                   {inDir},
                   "",
                   false},
        LaunchCase{
            "FullPathTerminatorAloneIsAnEmptyCommand", text(""), infoDir, {inDir}, "", false},
        LaunchCase{"DirectoryOfOtherTypeLooksInTheRoot",
                   {},
                   raw(3, "D:"),
                   {"\\MSINFO32.EXE"},
                   "\\MSINFO32.EXE",
                   true},
        LaunchCase{"DirectoryOfOtherTypeWithoutRootProgram", {}, raw(3, "D:"), {inDir}, "", true}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(StartSysInfo, EveryPressLooksUpAndStartsAnew)
{
    FakeSysInfo fake;
    fake.registry.keys[toolKey]["PATH"] = text("C:\\Alt\\m.exe");
    StartSysInfo(fake.services);
    fake.registry.keys[toolKey]["PATH"] = text("C:\\Neu\\m.exe");
    StartSysInfo(fake.services);

    EXPECT_EQ(fake.programs.started,
              (std::vector<std::string>{"C:\\Alt\\m.exe", "C:\\Neu\\m.exe"}));
}

} // namespace
} // namespace tessaro::testing
