// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace tessaro;

namespace
{

struct StoredValue {
    std::uint32_t type = registry::typeString;
    std::vector<std::uint8_t> data;
    std::uint32_t claimedSize = 0; // when not 0, a lying registry reports this size
};

// A string value with its terminator.
StoredValue text(const std::string &chars)
{
    return {registry::typeString, {chars.c_str(), chars.c_str() + chars.size() + 1}};
}

// The launcher's four services, recording what they were asked; keys below
// HKEY_LOCAL_MACHINE only, opened for reading only, and no path may hold a '|'.
struct FakeSysInfo final : Registry, FileProbe, ProgramStarter, MessageService {
    std::map<std::string, std::map<std::string, StoredValue>> keys;
    std::vector<std::string> opened;
    std::map<registry::Handle, std::string> openKeys;
    std::vector<registry::Handle> closes;
    std::set<std::string> files;
    std::vector<std::string> shown; // programs started (all but "kaputt"), messages
    SysInfoServices services{*this, *this, *this, *this};

    long openKey(std::int32_t root, const std::string &name, std::uint32_t access,
                 registry::Handle &handle) override
    {
        opened.push_back(name);
        EXPECT_EQ(access, 0x20019u) << "KEY_READ only";
        if (root != registry::localMachine || !keys.contains(name))
            return registry::fileNotFound;
        handle = 0x100 + opened.size();
        openKeys[handle] = name;
        return registry::success;
    }
    long queryValue(registry::Handle handle, const std::string &name, std::uint32_t &type,
                    std::span<std::uint8_t> data, std::uint32_t &size) override
    {
        const auto &values = keys.at(openKeys.at(handle));
        if (!values.contains(name))
            return registry::fileNotFound;
        const StoredValue &value = values.at(name);
        const bool fits = value.data.size() <= size;
        type = value.type;
        std::copy_n(value.data.begin(), std::min<std::size_t>(value.data.size(), size),
                    data.begin());
        size = value.claimedSize ? value.claimedSize : std::uint32_t(value.data.size());
        return fits || value.claimedSize ? registry::success : registry::moreData;
    }
    void closeKey(registry::Handle handle) override
    {
        closes.push_back(handle);
        openKeys.erase(handle);
    }
    std::optional<std::string> toSystemCodePage(std::string_view s) const override
    {
        return std::string(s);
    }
    std::string fromSystemCodePage(std::string_view s) const override
    {
        EXPECT_LE(s.size(), sysinfo::valueBufferSize) << "read past the buffer";
        return std::string(s);
    }
    FileTestResult test(std::string_view path) override
    {
        if (path.find('|') != std::string_view::npos)
            return FileTestResult::unusablePath;
        return files.contains(std::string(path)) ? FileTestResult::ordinaryFile
                                                 : FileTestResult::none;
    }
    bool start(std::string_view path) override
    {
        if (path.find("kaputt") != std::string_view::npos)
            return false;
        shown.emplace_back(path);
        return true;
    }
    void show(std::string_view message, std::string_view title) override
    {
        shown.push_back(std::string(title) + ": " + std::string(message));
    }
};

} // namespace

// The key is closed again, as handle 0 if it did not open.
TEST(GetKeyValue, GivesTheTextAndClosesTheKey)
{
    const struct {
        std::optional<StoredValue> value; // nothing: no such key
        bool found;
        std::string expected;
    } cases[] = {
        {text("C:\\x y\\a.exe"), true, "C:\\x y\\a.exe"},
        {StoredValue{1, {'C', ':'}}, true, "C:"},                   // no terminator
        {StoredValue{1, {'a', 0, 0}}, true, std::string("a\0", 2)}, // one terminator trimmed
        {text(""), true, ""},
        {StoredValue{4, {0x10, 0x27, 0, 0}}, true, "10000"},
        {text(std::string(1023, 'x')), true, std::string(1023, 'x')},
        {text(std::string(1024, 'x')), false, ""},
        {StoredValue{1, {'a', 0}, 1500}, false, ""}, // lies: never read past the buffer
        {StoredValue{3, {'a', 0}}, true, "vorher"},  // another type leaves the text
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
        std::optional<StoredValue> toolPath, directory; // looked up in this order
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
