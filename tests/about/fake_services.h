// SPDX-License-Identifier: GPL-3.0-or-later
// Fakes of the launcher's services that record what the launcher asked for.
#pragma once

#include "sysinfo_services.h"

#include <algorithm>
#include <cstring>
#include <functional>
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

inline StoredValue stringValue(std::string_view text, bool terminated = true)
{
    StoredValue value{registry::typeString, {text.begin(), text.end()}};
    if (terminated)
        value.data.push_back(0);
    return value;
}

inline StoredValue rawValue(std::uint32_t type, std::vector<std::uint8_t> data)
{
    return {type, std::move(data)};
}

// Keys of HKEY_LOCAL_MACHINE with their values. The fake's 8-bit code page is
// Latin-1, so conversions on the way in and out are visible.
class FakeRegistry final : public Registry
{
public:
    struct OpenCall {
        std::int32_t root;
        std::string keyName;
        std::uint32_t access;
    };

    void set(const std::string &key, const std::string &value, StoredValue stored)
    {
        keys_[key][value] = std::move(stored);
    }
    void addEmptyKey(const std::string &key) { keys_[key]; }
    // The key exists but cannot be opened (say, for want of rights).
    void deny(const std::string &key) { denied_.insert(key); }

    long openKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                 registry::Handle &handle) override
    {
        opens.push_back({root, keyName, access});
        if (root != registry::localMachine || !keys_.contains(keyName))
            return registry::fileNotFound;
        if (denied_.contains(keyName))
            return registry::accessDenied;
        handle = nextHandle_++;
        openKeys_[handle] = keyName;
        return registry::success;
    }

    long queryValue(registry::Handle handle, const std::string &valueName, std::uint32_t &type,
                    std::span<std::uint8_t> data, std::uint32_t &size) override
    {
        queries.push_back(valueName);
        sizesOffered.push_back(size);
        bufferWasZero.push_back(
            std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0; }));
        const auto key = openKeys_.find(handle);
        if (key == openKeys_.end())
            return 6;
        const auto &values = keys_.at(key->second);
        const auto value = values.find(valueName);
        if (value == values.end())
            return registry::fileNotFound;
        const StoredValue &stored = value->second;
        if (stored.data.size() > std::min<std::size_t>(size, data.size())) {
            size = static_cast<std::uint32_t>(stored.data.size());
            return registry::moreData;
        }
        type = stored.type;
        size = static_cast<std::uint32_t>(stored.data.size());
        std::copy(stored.data.begin(), stored.data.end(), data.begin());
        return registry::success;
    }

    void closeKey(registry::Handle handle) override
    {
        closes.push_back(handle);
        openKeys_.erase(handle);
    }

    std::optional<std::string> toSystemCodePage(std::string_view utf8) const override
    {
        std::string latin1;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const auto byte = static_cast<unsigned char>(utf8[i]);
            if (byte < 0x80) {
                latin1 += static_cast<char>(byte);
            } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
                const auto next = static_cast<unsigned char>(utf8[++i]);
                latin1 += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
            } else {
                return std::nullopt;
            }
        }
        return latin1;
    }

    std::string fromSystemCodePage(std::string_view bytes) const override
    {
        std::string utf8;
        for (char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                utf8 += c;
            } else {
                utf8 += static_cast<char>(0xC0 | (byte >> 6));
                utf8 += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
        return utf8;
    }

    // Keys opened and not closed again.
    [[nodiscard]] std::size_t keysLeftOpen() const { return openKeys_.size(); }
    [[nodiscard]] bool wasOpened(const std::string &key) const
    {
        return std::any_of(opens.begin(), opens.end(),
                           [&](const OpenCall &call) { return call.keyName == key; });
    }

    std::vector<OpenCall> opens;
    std::vector<std::string> queries;
    std::vector<std::uint32_t> sizesOffered;
    std::vector<bool> bufferWasZero;
    std::vector<registry::Handle> closes;

private:
    std::map<std::string, std::map<std::string, StoredValue>> keys_;
    std::set<std::string> denied_;
    std::map<registry::Handle, std::string> openKeys_;
    registry::Handle nextHandle_ = 0x100;
};

class FakeFiles final : public FileProbe
{
public:
    FileTestResult test(std::string_view path) override
    {
        tested.emplace_back(path);
        if (throwOnTest)
            throw std::runtime_error("file test broke");
        const auto found = results.find(std::string(path));
        return found == results.end() ? FileTestResult::none : found->second;
    }

    std::map<std::string, FileTestResult> results;
    std::vector<std::string> tested;
    bool throwOnTest = false;
};

class FakeStarter final : public ProgramStarter
{
public:
    bool start(std::string_view programPath) override
    {
        attempts.emplace_back(programPath);
        if (!startable.contains(std::string(programPath)))
            return false;
        started.emplace_back(programPath);
        return true;
    }

    std::set<std::string> startable;
    std::vector<std::string> attempts;
    std::vector<std::string> started;
};

class FakeMessages final : public MessageService
{
public:
    struct Message {
        std::string text;
        std::string title;
    };
    void show(std::string_view text, std::string_view title) override
    {
        shown.push_back({std::string(text), std::string(title)});
    }
    std::vector<Message> shown;
};

// All four fakes, wired up as the launcher's services.
struct FakeSysInfo {
    FakeRegistry registry;
    FakeFiles files;
    FakeStarter programs;
    FakeMessages messages;
    SysInfoServices services{registry, files, programs, messages};
};

} // namespace tessaro::testing
