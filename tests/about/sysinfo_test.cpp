// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace tessaro::testing
{
namespace
{

const std::string toolKey(sysinfo::toolPathKey);
const std::string locationKey(sysinfo::toolDirectoryKey);
const std::string testKey = "SOFTWARE\\Tessaro\\Test";
const std::string unavailable(sysinfo::unavailableMessage);

std::vector<std::uint8_t> bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

// --- GetKeyValue: what a value reads as --------------------------------

struct ReadCase {
    const char *name;
    StoredValue stored;
    std::string expected;
};

class GetKeyValueReads : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(GetKeyValueReads, GivesTheValueAsText)
{
    FakeRegistry registry;
    registry.set(testKey, "Wert", GetParam().stored);
    std::string text = "vorher";

    EXPECT_TRUE(GetKeyValue(registry, registry::localMachine, testKey, "Wert", text));
    EXPECT_EQ(text, GetParam().expected);
    EXPECT_EQ(registry.keysLeftOpen(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueReads,
    ::testing::Values(
        ReadCase{"StringWithTerminator", stringValue("C:\\Tools\\msinfo32.exe"),
                 "C:\\Tools\\msinfo32.exe"},
        ReadCase{"StringWithoutTerminator", stringValue("C:\\x", false), "C:\\x"},
        ReadCase{"TerminatorAlone", stringValue("", true), ""},
        ReadCase{"OnlyOneTerminatorTrimmed", rawValue(registry::typeString, bytes({"ab\0\0", 4})),
                 std::string("ab\0", 3)},
        ReadCase{"InnerZeroKept", rawValue(registry::typeString, bytes({"a\0b", 3})),
                 std::string("a\0b", 3)},
        ReadCase{"CodePageToUtf8",
                 stringValue("C:\\Gr\xFC\xDF"
                             "e.exe"),
                 "C:\\Grüße.exe"},
        ReadCase{"DwordEight", rawValue(registry::typeDword, {0x08, 0x00, 0x00, 0x00}), "8"},
        ReadCase{"DwordTenThousand", rawValue(registry::typeDword, {0x10, 0x27, 0x00, 0x00}),
                 "10000"},
        ReadCase{"DwordZero", rawValue(registry::typeDword, {0x00, 0x00, 0x00, 0x00}), "0"},
        ReadCase{"DwordTopBitUnsigned", rawValue(registry::typeDword, {0xFF, 0xFF, 0xFF, 0xFF}),
                 "4294967295"},
        ReadCase{"DwordHighByteZeroTrimmed",
                 rawValue(registry::typeDword, {0x00, 0x01, 0x00, 0x00}), "256"},
        ReadCase{"ExpandStringLeavesTextAlone", rawValue(2, bytes("%SystemRoot%")), "vorher"},
        ReadCase{"BinaryLeavesTextAlone", rawValue(3, {0x01, 0x02}), "vorher"},
        ReadCase{"MultiStringLeavesTextAlone", rawValue(7, bytes({"a\0b\0\0", 5})), "vorher"},
        ReadCase{"ExactlyTheBufferSize",
                 stringValue(std::string(sysinfo::valueBufferSize - 1, 'x')),
                 std::string(sysinfo::valueBufferSize - 1, 'x')}),
    [](const auto &test) { return std::string(test.param.name); });

// --- GetKeyValue: what fails, and how --------------------------------------

struct FailureCase {
    const char *name;
    std::function<void(FakeRegistry &)> setUp;
};

class GetKeyValueFails : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(GetKeyValueFails, EmptiesTheTextAndClosesTheKey)
{
    FakeRegistry registry;
    GetParam().setUp(registry);
    std::string text = "vorher";

    EXPECT_FALSE(GetKeyValue(registry, registry::localMachine, testKey, "Wert", text));
    EXPECT_EQ(text, "");
    ASSERT_EQ(registry.closes.size(), 1u);
    EXPECT_EQ(registry.keysLeftOpen(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, GetKeyValueFails,
    ::testing::Values(FailureCase{"KeyMissing", [](FakeRegistry &) {}},
                      FailureCase{"ValueMissing", [](FakeRegistry &r) { r.addEmptyKey(testKey); }},
                      FailureCase{"KeyNotOpenable",
                                  [](FakeRegistry &r) {
                                      r.set(testKey, "Wert", stringValue("x"));
                                      r.deny(testKey);
                                  }},
                      FailureCase{"OneByteOverTheBuffer",
                                  [](FakeRegistry &r) {
                                      r.set(
                                          testKey, "Wert",
                                          stringValue(std::string(sysinfo::valueBufferSize, 'x')));
                                  }}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(GetKeyValue, ClosesTheHandleZeroWhenTheKeyDidNotOpen)
{
    FakeRegistry registry;
    std::string text;
    GetKeyValue(registry, registry::localMachine, testKey, "Wert", text);
    EXPECT_EQ(registry.closes, std::vector<registry::Handle>{0});
}

TEST(GetKeyValue, ValueWithoutDataRaisesAFailureAfterClosingTheKey)
{
    FakeRegistry registry;
    registry.set(testKey, "Wert", rawValue(registry::typeString, {}));
    std::string text = "vorher";

    EXPECT_THROW(GetKeyValue(registry, registry::localMachine, testKey, "Wert", text),
                 EmptyRegistryValue);
    EXPECT_EQ(registry.closes.size(), 1u);
    EXPECT_EQ(registry.keysLeftOpen(), 0u);
}

TEST(GetKeyValue, AsksForReadAccessOnlyWithAFreshZeroedBuffer)
{
    FakeRegistry registry;
    registry.set(testKey, "Wert", stringValue("eins"));
    std::string text;
    GetKeyValue(registry, registry::localMachine, testKey, "Wert", text);
    GetKeyValue(registry, registry::localMachine, testKey, "Wert", text);

    ASSERT_EQ(registry.opens.size(), 2u);
    for (const auto &open : registry.opens) {
        EXPECT_EQ(open.root, static_cast<std::int32_t>(0x80000002u));
        EXPECT_EQ(open.access, 0x20019u);
        // Set value, create subkey and create link would need write access.
        EXPECT_EQ(open.access & (0x2u | 0x4u | 0x20u), 0u);
    }
    EXPECT_EQ(registry.sizesOffered, (std::vector<std::uint32_t>{1024, 1024}));
    EXPECT_EQ(registry.bufferWasZero, (std::vector<bool>{true, true}));
}

TEST(GetKeyValue, PassesNamesInTheSystemCodePage)
{
    FakeRegistry registry;
    registry.set("SOFTWARE\\M\xFCller",
                 "Gr\xF6\xDF"
                 "e",
                 stringValue("1"));
    std::string text;

    EXPECT_TRUE(GetKeyValue(registry, registry::localMachine, "SOFTWARE\\Müller", "Größe", text));
    EXPECT_EQ(text, "1");
}

TEST(GetKeyValue, NameOutsideTheCodePageFailsWithoutOpening)
{
    FakeRegistry registry;
    std::string text = "vorher";

    EXPECT_FALSE(GetKeyValue(registry, registry::localMachine, "SOFTWARE\\\u20AC", "Wert", text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(registry.opens.empty());
    EXPECT_EQ(registry.keysLeftOpen(), 0u);
}

// --- StartSysInfo: every outcome of the launcher ----------------------------

struct LaunchCase {
    const char *name;
    std::function<void(FakeSysInfo &)> setUp;
    std::optional<std::string> started; // nothing: the message is shown instead
    bool locationRead;                  // whether the second lookup happened
    std::vector<std::string> fileTests;
};

class StartSysInfoOutcome : public ::testing::TestWithParam<LaunchCase>
{
};

TEST_P(StartSysInfoOutcome, StartsTheToolOrShowsTheMessageOnce)
{
    const LaunchCase &c = GetParam();
    FakeSysInfo fake;
    c.setUp(fake);

    StartSysInfo(fake.services);

    if (c.started) {
        EXPECT_EQ(fake.programs.started, std::vector<std::string>{*c.started});
        EXPECT_TRUE(fake.messages.shown.empty());
    } else {
        EXPECT_TRUE(fake.programs.started.empty());
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].text, unavailable);
        EXPECT_EQ(fake.messages.shown[0].title, "Tessaro");
    }
    EXPECT_EQ(fake.registry.wasOpened(locationKey), c.locationRead);
    EXPECT_EQ(fake.files.tested, c.fileTests);
    EXPECT_EQ(fake.registry.keysLeftOpen(), 0u);
    EXPECT_EQ(fake.registry.closes.size(), fake.registry.opens.size());
}

void toolPath(FakeSysInfo &f, StoredValue value)
{
    f.registry.set(toolKey, "PATH", value);
}
void toolDirectory(FakeSysInfo &f, StoredValue value)
{
    f.registry.set(locationKey, "MSINFO", value);
}
void startable(FakeSysInfo &f, const std::string &path)
{
    f.programs.startable.insert(path);
}
void ordinaryFile(FakeSysInfo &f, const std::string &path)
{
    f.files.results[path] = FileTestResult::ordinaryFile;
}

const std::string programFiles =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";

INSTANTIATE_TEST_SUITE_P(
    Outcomes, StartSysInfoOutcome,
    ::testing::Values(
        LaunchCase{"FullPathStartedUntested",
                   [](FakeSysInfo &f) {
                       toolPath(f, stringValue("C:\\Tools\\msinfo32.exe"));
                       toolDirectory(f, stringValue("C:\\Other"));
                       startable(f, "C:\\Tools\\msinfo32.exe");
                   },
                   "C:\\Tools\\msinfo32.exe",
                   false,
                   {}},
        LaunchCase{"PathWithBlanksPassedWhole",
                   [](FakeSysInfo &f) {
                       toolPath(f, stringValue(programFiles));
                       startable(f, programFiles);
                   },
                   programFiles,
                   false,
                   {}},
        LaunchCase{"DirectoryWithTheProgram",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, stringValue("C:\\MSInfo"));
                       ordinaryFile(f, "C:\\MSInfo\\MSINFO32.EXE");
                       startable(f, "C:\\MSInfo\\MSINFO32.EXE");
                   },
                   "C:\\MSInfo\\MSINFO32.EXE",
                   true,
                   {"C:\\MSInfo\\MSINFO32.EXE"}},
        LaunchCase{"TrailingBackslashDoubledAsFormed",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, stringValue("C:\\MSInfo\\"));
                       ordinaryFile(f, "C:\\MSInfo\\\\MSINFO32.EXE");
                       startable(f, "C:\\MSInfo\\\\MSINFO32.EXE");
                   },
                   "C:\\MSInfo\\\\MSINFO32.EXE",
                   true,
                   {"C:\\MSInfo\\\\MSINFO32.EXE"}},
        LaunchCase{"FullPathTooLongFallsBackToDirectory",
                   [](FakeSysInfo &f) {
                       toolPath(f, stringValue(std::string(1100, 'x')));
                       toolDirectory(f, stringValue("D:\\Info"));
                       ordinaryFile(f, "D:\\Info\\MSINFO32.EXE");
                       startable(f, "D:\\Info\\MSINFO32.EXE");
                   },
                   "D:\\Info\\MSINFO32.EXE",
                   true,
                   {"D:\\Info\\MSINFO32.EXE"}},
        LaunchCase{"FullPathKeyNotOpenableFallsBackToDirectory",
                   [](FakeSysInfo &f) {
                       toolPath(f, stringValue("C:\\Tools\\msinfo32.exe"));
                       f.registry.deny(toolKey);
                       toolDirectory(f, stringValue("D:\\Info"));
                       ordinaryFile(f, "D:\\Info\\MSINFO32.EXE");
                       startable(f, "D:\\Info\\MSINFO32.EXE");
                   },
                   "D:\\Info\\MSINFO32.EXE",
                   true,
                   {"D:\\Info\\MSINFO32.EXE"}},
        LaunchCase{"NeitherLookupFinds", [](FakeSysInfo &) {}, std::nullopt, true, {}},
        LaunchCase{"DirectoryWithoutTheProgram",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, stringValue("C:\\Leer"));
                       startable(f, "C:\\Leer\\MSINFO32.EXE");
                   },
                   std::nullopt,
                   true,
                   {"C:\\Leer\\MSINFO32.EXE"}},
        LaunchCase{"CandidatePathUnusable",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, stringValue("C:\\a<b>"));
                       f.files.results["C:\\a<b>\\MSINFO32.EXE"] = FileTestResult::unusablePath;
                   },
                   std::nullopt,
                   true,
                   {"C:\\a<b>\\MSINFO32.EXE"}},
        LaunchCase{"FoundProgramDoesNotStart",
                   [](FakeSysInfo &f) { toolPath(f, stringValue("C:\\kaputt.exe")); },
                   std::nullopt,
                   false,
                   {}},
        LaunchCase{"FullPathWithoutDataEndsAtOnce",
                   [](FakeSysInfo &f) {
                       toolPath(f, rawValue(registry::typeString, {}));
                       toolDirectory(f, stringValue("D:\\Info"));
                       ordinaryFile(f, "D:\\Info\\MSINFO32.EXE");
                       startable(f, "D:\\Info\\MSINFO32.EXE");
                   },
                   std::nullopt,
                   false,
                   {}},
        LaunchCase{"DirectoryWithoutData",
                   [](FakeSysInfo &f) { toolDirectory(f, rawValue(registry::typeString, {})); },
                   std::nullopt,
                   true,
                   {}},
        LaunchCase{"FullPathOfOtherTypeEndsWithoutSecondLookup",
                   [](FakeSysInfo &f) {
                       toolPath(f, rawValue(2, bytes("C:\\Tools\\msinfo32.exe")));
                       toolDirectory(f, stringValue("D:\\Info"));
                       ordinaryFile(f, "D:\\Info\\MSINFO32.EXE");
                       startable(f, "D:\\Info\\MSINFO32.EXE");
                       startable(f, "");
                   },
                   std::nullopt,
                   false,
                   {}},
        LaunchCase{"FullPathTerminatorAloneIsAnEmptyCommand",
                   [](FakeSysInfo &f) {
                       toolPath(f, stringValue(""));
                       startable(f, "");
                   },
                   std::nullopt,
                   false,
                   {}},
        LaunchCase{"DirectoryOfOtherTypeLooksInTheRoot",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, rawValue(3, {0x43, 0x3A}));
                       ordinaryFile(f, "\\MSINFO32.EXE");
                       startable(f, "\\MSINFO32.EXE");
                   },
                   "\\MSINFO32.EXE",
                   true,
                   {"\\MSINFO32.EXE"}},
        LaunchCase{"DirectoryOfOtherTypeWithoutRootProgram",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, rawValue(3, {0x43, 0x3A}));
                   },
                   std::nullopt,
                   true,
                   {"\\MSINFO32.EXE"}},
        LaunchCase{"BrokenFileTestShowsTheMessage",
                   [](FakeSysInfo &f) {
                       toolDirectory(f, stringValue("C:\\MSInfo"));
                       f.files.throwOnTest = true;
                   },
                   std::nullopt,
                   true,
                   {"C:\\MSInfo\\MSINFO32.EXE"}}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(StartSysInfo, EveryPressLooksUpAndStartsAnew)
{
    FakeSysInfo fake;
    toolPath(fake, stringValue("C:\\Tools\\msinfo32.exe"));
    startable(fake, "C:\\Tools\\msinfo32.exe");

    StartSysInfo(fake.services);
    fake.registry.set(toolKey, "PATH", stringValue("C:\\Neu\\msinfo32.exe"));
    startable(fake, "C:\\Neu\\msinfo32.exe");
    StartSysInfo(fake.services);

    EXPECT_EQ(fake.programs.started,
              (std::vector<std::string>{"C:\\Tools\\msinfo32.exe", "C:\\Neu\\msinfo32.exe"}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

} // namespace
} // namespace tessaro::testing
