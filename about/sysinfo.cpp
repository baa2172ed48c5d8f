// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo.h"

#include "tessaro_version.h"

#include <algorithm>
#include <array>
#include <exception>

namespace tessaro
{
namespace
{

// Closes the key on every way out of GetKeyValue, including a thrown failure.
// A key that never opened has the handle 0, and closing that is harmless.
class KeyCloser
{
public:
    explicit KeyCloser(Registry &registry) : m_registry(registry) {}
    ~KeyCloser() { m_registry.closeKey(handle); }
    KeyCloser(const KeyCloser &) = delete;
    KeyCloser &operator=(const KeyCloser &) = delete;

    registry::Handle handle = 0;

private:
    Registry &m_registry;
};

bool failureExit(std::string &KeyVal)
{
    KeyVal.clear();
    return false;
}

// The number that up to four data bytes form, first byte least significant.
std::uint32_t littleEndianNumber(std::span<const std::uint8_t> data)
{
    std::uint32_t number = 0;
    const std::size_t count = std::min<std::size_t>(data.size(), 4);
    for (std::size_t i = count; i-- > 0;) {
        number = (number << 8) | data[i];
    }
    return number;
}

// The value's data without one terminating zero byte.
std::span<const std::uint8_t> withoutTerminator(std::span<const std::uint8_t> data)
{
    return data.back() == 0 ? data.first(data.size() - 1) : data;
}

bool openKey(Registry &registry, std::int32_t root, std::string_view keyName,
             registry::Handle &handle)
{
    const std::optional<std::string> name = registry.toSystemCodePage(keyName);
    if (!name || registry.openKey(root, *name, registry::keyRead, handle) != registry::success) {
        // Never close whatever a failed open may have left behind.
        handle = 0;
        return false;
    }
    return true;
}

// Reads the tool's path from the registry: its full path first, else the
// directory that holds the program file. Empty when neither is found.
std::string findToolPath(SysInfoServices &services)
{
    std::string toolPath;
    if (GetKeyValue(services.registry, registry::localMachine, sysinfo::toolPathKey,
                    sysinfo::toolPathValue, toolPath)) {
        // Taken as read: the full path is not tested.
        return toolPath;
    }
    if (!GetKeyValue(services.registry, registry::localMachine, sysinfo::toolDirectoryKey,
                     sysinfo::toolDirectoryValue, toolPath)) {
        return {};
    }
    // Joined as stored: a directory with a trailing backslash gives two.
    std::string candidate = toolPath + std::string(sysinfo::programFile);
    if (services.files.test(candidate) != FileTestResult::ordinaryFile) {
        return {};
    }
    return candidate;
}

bool startTool(SysInfoServices &services)
{
    const std::string toolPath = findToolPath(services);
    return !toolPath.empty() && services.programs.start(toolPath);
}

} // namespace

bool GetKeyValue(Registry &registry, std::int32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string &KeyVal)
{
    KeyCloser key(registry);
    if (!openKey(registry, KeyRoot, KeyName, key.handle)) {
        return failureExit(KeyVal);
    }
    const std::optional<std::string> valueName = registry.toSystemCodePage(SubKeyRef);
    if (!valueName) {
        return failureExit(KeyVal);
    }

    std::array<std::uint8_t, sysinfo::valueBufferSize> buffer{};
    std::uint32_t size = buffer.size();
    std::uint32_t type = 0;
    if (registry.queryValue(key.handle, *valueName, type, buffer, size) != registry::success ||
        size > buffer.size()) {
        return failureExit(KeyVal);
    }
    if (size == 0) {
        KeyVal.clear();
        throw EmptyRegistryValue();
    }

    const std::span<const std::uint8_t> data =
        withoutTerminator(std::span<const std::uint8_t>(buffer).first(size));
    if (type == registry::typeString) {
        KeyVal = registry.fromSystemCodePage(
            std::string_view(reinterpret_cast<const char *>(data.data()), data.size()));
    } else if (type == registry::typeDword) {
        KeyVal = std::to_string(littleEndianNumber(data));
    }
    return true;
}

void StartSysInfo(SysInfoServices &services)
{
    try {
        if (startTool(services)) {
            return;
        }
    } catch (const std::exception &) {
        // Every failure on the way, an empty value included, ends in the one
        // message below.
    }
    services.messages.show(sysinfo::unavailableMessage, app::title);
}

} // namespace tessaro
