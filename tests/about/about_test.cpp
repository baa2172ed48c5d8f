// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

using namespace tessaro;
using namespace tessaro::testing;

// Whatever the value, the key is opened for reading only and closed again,
// also when it did not open (as handle 0).
TEST(GetKeyValue, GivesTheTextAndClosesTheKey)
{
    const struct {
        std::optional<StoredValue> value; // nothing: no such key
        bool found;
        std::string expected;
    } cases[] = {
        {text("C:\\x y\\a.exe"), true, "C:\\x y\\a.exe"},
        {StoredValue{1, {'C', ':'}}, true, "C:"}, // no terminator
        {text(""), true, ""},
        {StoredValue{1, {'a', 0, 0}}, true, std::string("a\0", 2)}, // one terminator trimmed
        {StoredValue{4, {0x08, 0, 0, 0}}, true, "8"},
        {StoredValue{4, {0x10, 0x27, 0, 0}}, true, "10000"},
        {text(std::string(1023, 'x')), true, std::string(1023, 'x')},
        {text(std::string(1024, 'x')), false, ""},
        {std::nullopt, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
        FakeSysInfo registry;
        if (c.value)
            registry.keys["SOFTWARE\\T"]["W"] = *c.value;
        std::string result = "vorher";
        EXPECT_EQ(GetKeyValue(registry, registry::localMachine, "SOFTWARE\\T", "W", result),
                  c.found);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(registry.accesses, std::vector<std::uint32_t>{0x20019});
        EXPECT_EQ(registry.closes, std::vector<registry::Handle>{c.value ? 0x101u : 0u});
    }
}

// Each press starts one program or shows the one message.
TEST(StartSysInfo, StartsTheToolFoundOrShowsTheMessage)
{
    const std::string full =
        "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    const std::string inDir = "D:\\Info\\MSINFO32.EXE";
    const std::string message = "Tessaro: Systeminformationen sind momentan nicht verfügbar";
    const StoredValue dir = text("D:\\Info");
    const struct {
        std::optional<StoredValue> toolPath;  // lookup 1
        std::optional<StoredValue> directory; // lookup 2
        std::set<std::string> files;
        std::string shown; // the program started or the message
        bool directoryRead;
    } cases[] = {
        {text(full), dir, {}, full, false}, // started whole, without a file test
        {{}, dir, {inDir}, inDir, true},
        {{}, dir, {}, message, true},
        {{}, text("D:\\Info\\"), {"D:\\Info\\\\MSINFO32.EXE"}, "D:\\Info\\\\MSINFO32.EXE", true},
        {{}, {}, {}, message, true},
        {StoredValue{1, {}}, dir, {inDir}, message, false}, // no data: ends at once
        {StoredValue{2, {'C', ':', 0}}, dir, {inDir}, message, false},
        {text("C:\\kaputt.exe"), dir, {inDir}, message, false}, // does not start
        // A directory of another type leaves the path empty: the root's file.
        {{}, StoredValue{3, {'D', ':', 0}}, {"\\MSINFO32.EXE"}, "\\MSINFO32.EXE", true},
        {{}, text("D:\\In|fo"), {"D:\\In|fo\\MSINFO32.EXE"}, message, true}, // unusable path
    };
    const std::string locationKey(sysinfo::toolDirectoryKey);
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
        FakeSysInfo fake;
        if (c.toolPath)
            fake.keys[std::string(sysinfo::toolPathKey)]["PATH"] = *c.toolPath;
        if (c.directory)
            fake.keys[locationKey]["MSINFO"] = *c.directory;
        fake.files = c.files;

        StartSysInfo(fake.services);

        EXPECT_EQ(fake.shown, std::vector{c.shown});
        EXPECT_EQ(std::count(fake.opened.begin(), fake.opened.end(), locationKey), c.directoryRead);
        EXPECT_TRUE(fake.openKeys.empty());
    }
}
