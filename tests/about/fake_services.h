// SPDX-License-Identifier: GPL-3.0-or-later
// Fakes of the launcher's services that record what the launcher asked for.
#pragma once

#include "sysinfo_services.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaro::testing
{

struct StoredValue {
    std::uint32_t type = registry::typeString;
    std::vector<std::uint8_t> data;
};

inline StoredValue text(std::string_view chars, bool terminated = true)
{
    StoredValue value{registry::typeString, {chars.begin(), chars.end()}};
    if (terminated)
        value.data.push_back(0);
    return value;
}

// Keys of HKEY_LOCAL_MACHINE. Its 8-bit code page is plain ASCII, so that a
// name it cannot take shows.
class FakeRegistry final : public Registry
{
public:
    std::map<std::string, std::map<std::string, StoredValue>> keys;
    std::set<std::string> denied; // exist, but do not open
    std::vector<std::string> opened;
    std::vector<std::uint32_t> accesses;
    std::vector<std::uint32_t> sizesOffered;
    std::vector<registry::Handle> closes;
    std::map<registry::Handle, std::string> openKeys;

    long openKey(std::int32_t root, const std::string &name, std::uint32_t access,
                 registry::Handle &handle) override
    {
        opened.push_back(name);
        accesses.push_back(access);
        if (root != registry::localMachine || !keys.contains(name))
            return registry::fileNotFound;
        if (denied.contains(name))
            return registry::accessDenied;
        handle = 0x100 + opened.size();
        openKeys[handle] = name;
        return registry::success;
    }

    long queryValue(registry::Handle handle, const std::string &name, std::uint32_t &type,
                    std::span<std::uint8_t> data, std::uint32_t &size) override
    {
        sizesOffered.push_back(size);
        if (!std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0; }))
            throw std::logic_error("the buffer was not cleared");
        const auto &values = keys.at(openKeys.at(handle));
        const auto value = values.find(name);
        if (value == values.end())
            return registry::fileNotFound;
        type = value->second.type;
        const std::uint32_t offered = size;
        size = static_cast<std::uint32_t>(value->second.data.size());
        if (size > offered)
            return registry::moreData;
        std::copy(value->second.data.begin(), value->second.data.end(), data.begin());
        return registry::success;
    }

    void closeKey(registry::Handle handle) override
    {
        closes.push_back(handle);
        openKeys.erase(handle);
    }

    std::optional<std::string> toSystemCodePage(std::string_view utf8) const override
    {
        if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return c & 0x80; }))
            return std::nullopt;
        return std::string(utf8);
    }
    std::string fromSystemCodePage(std::string_view bytes) const override
    {
        return std::string(bytes);
    }
};

// Ordinary files are the paths in `ordinary`; a path with '<' cannot be
// processed, and one with "wirft" makes the test throw.
class FakeFiles final : public FileProbe
{
public:
    std::set<std::string> ordinary;
    std::vector<std::string> tested;

    FileTestResult test(std::string_view path) override
    {
        tested.emplace_back(path);
        if (path.find("wirft") != std::string_view::npos)
            throw std::runtime_error("file test broke");
        if (path.find('<') != std::string_view::npos)
            return FileTestResult::unusablePath;
        return ordinary.contains(std::string(path)) ? FileTestResult::ordinaryFile
                                                    : FileTestResult::none;
    }
};

// Starts every program except an empty one and those named "kaputt".
class FakeStarter final : public ProgramStarter
{
public:
    std::vector<std::string> started;

    bool start(std::string_view path) override
    {
        if (path.empty() || path.find("kaputt") != std::string_view::npos)
            return false;
        started.emplace_back(path);
        return true;
    }
};

class FakeMessages final : public MessageService
{
public:
    std::vector<std::string> shown; // "title: text"

    void show(std::string_view message, std::string_view title) override
    {
        shown.push_back(std::string(title) + ": " + std::string(message));
    }
};

struct FakeSysInfo {
    FakeRegistry registry;
    FakeFiles files;
    FakeStarter programs;
    FakeMessages messages;
    SysInfoServices services{registry, files, programs, messages};
};

} // namespace tessaro::testing
