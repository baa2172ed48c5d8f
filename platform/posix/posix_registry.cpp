// SPDX-License-Identifier: GPL-3.0-or-later
#include "posix_services.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaro::posix
{
namespace
{

constexpr std::string_view toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view toolValue = "PATH";
constexpr long invalidHandle = 6; // ERROR_INVALID_HANDLE

bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool isInstalledProgram(const std::string &path)
{
    struct stat info {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

PosixRegistry::PosixRegistry() : PosixRegistry(defaultToolCandidates()) {}

PosixRegistry::PosixRegistry(std::vector<std::string> toolCandidates)
    : m_toolCandidates(std::move(toolCandidates))
{
}

std::optional<std::string> PosixRegistry::installedTool() const
{
    for (const std::string &candidate : m_toolCandidates) {
        if (isInstalledProgram(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

long PosixRegistry::openKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                            registry::Handle &handle)
{
    handle = 0;
    if (root != registry::localMachine || !sameName(keyName, toolKey)) {
        return registry::fileNotFound;
    }
    // Nothing here can be written.
    if ((access & ~registry::keyRead) != 0) {
        return registry::accessDenied;
    }
    // Looked up on every opening: a tool installed while the clock runs counts.
    std::optional<std::string> tool = installedTool();
    if (!tool) {
        return registry::fileNotFound;
    }
    handle = m_nextHandle++;
    m_openKeys.emplace(handle, std::move(*tool));
    return registry::success;
}

long PosixRegistry::queryValue(registry::Handle handle, const std::string &valueName,
                               std::uint32_t &type, std::span<std::uint8_t> data,
                               std::uint32_t &size)
{
    const auto key = m_openKeys.find(handle);
    if (key == m_openKeys.end()) {
        return invalidHandle;
    }
    if (!sameName(valueName, toolValue)) {
        return registry::fileNotFound;
    }
    // Stored as the registry stores strings: with their terminating zero.
    const std::string &path = key->second;
    type = registry::typeString;
    size = static_cast<std::uint32_t>(path.size() + 1);
    if (size > data.size()) {
        return registry::moreData;
    }
    std::memcpy(data.data(), path.c_str(), size);
    return registry::success;
}

void PosixRegistry::closeKey(registry::Handle handle)
{
    m_openKeys.erase(handle);
}

std::optional<std::string> PosixRegistry::toSystemCodePage(std::string_view utf8) const
{
    return std::string(utf8);
}

std::string PosixRegistry::fromSystemCodePage(std::string_view bytes) const
{
    return std::string(bytes);
}

} // namespace tessaro::posix
