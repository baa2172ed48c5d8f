// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo_services.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaro
{

namespace sysinfo
{
// Where the system-information tool is found: first its full path, then the
// directory that holds programFile.
inline constexpr std::string_view toolPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view toolPathValue = "PATH";
inline constexpr std::string_view toolDirectoryKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view toolDirectoryValue = "MSINFO";
inline constexpr std::string_view programFile = "\\MSINFO32.EXE";

inline constexpr std::string_view unavailableMessage =
    "Systeminformationen sind momentan nicht verfügbar";

// Registry values are read into a buffer of this many bytes; longer values
// cannot be read.
inline constexpr std::size_t valueBufferSize = 1024;
} // namespace sysinfo

// Raised by GetKeyValue for a value that holds no data at all. The launcher
// gives up at once when it meets one.
class EmptyRegistryValue : public std::runtime_error
{
public:
    EmptyRegistryValue() : std::runtime_error("registry value without data") {}
};

// Reads the value SubKeyRef of the key KeyName below the root KeyRoot as text.
// Returns true when the key opened and the value was read, whatever its type:
// KeyVal becomes the text of a string value or the unsigned decimal number of
// a 32-bit number value, and stays as it was for any other type. Returns
// false, with KeyVal empty, when the key or the value could not be read.
// Throws EmptyRegistryValue for a value of zero bytes. The key is closed on
// every path.
bool GetKeyValue(Registry &registry, std::int32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string &KeyVal);

// Starts the system's system-information tool found through the registry, or
// shows the one message that it is not available. Never throws.
void StartSysInfo(SysInfoServices &services);

} // namespace tessaro
