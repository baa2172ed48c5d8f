// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's four services in one fake that records what it was asked.
#pragma once

#include "sysinfo_services.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessaro::testing
{

struct StoredValue {
    std::uint32_t type = registry::typeString;
    std::vector<std::uint8_t> data;
};

// A string value with its terminator.
inline StoredValue text(std::string_view chars)
{
    StoredValue value{registry::typeString, {chars.begin(), chars.end()}};
    value.data.push_back(0);
    return value;
}

struct FakeSysInfo final : Registry, FileProbe, ProgramStarter, MessageService {
    std::map<std::string, std::map<std::string, StoredValue>> keys; // of HKEY_LOCAL_MACHINE
    std::vector<std::string> opened;
    std::vector<std::uint32_t> accesses;
    std::vector<registry::Handle> closes;
    std::map<registry::Handle, std::string> openKeys;
    std::set<std::string> files; // the ordinary files on the disk
    // Each program started (all but "kaputt") and each message ("title: text").
    std::vector<std::string> shown;
    SysInfoServices services{*this, *this, *this, *this};

    long openKey(std::int32_t root, const std::string &name, std::uint32_t access,
                 registry::Handle &handle) override
    {
        opened.push_back(name);
        accesses.push_back(access);
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
        size = static_cast<std::uint32_t>(value.data.size());
        if (fits)
            std::ranges::copy(value.data, data.begin());
        return fits ? registry::success : registry::moreData;
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
    std::string fromSystemCodePage(std::string_view s) const override { return std::string(s); }

    // A '|' cannot be part of a Windows path.
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
    void show(std::string_view text, std::string_view title) override
    {
        shown.push_back(std::string(title) + ": " + std::string(text));
    }
};

} // namespace tessaro::testing
