// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessaro
{

// The four operating-system services behind the system-information launcher.
// Their shapes follow the Windows functions the launcher was designed for, so
// that the launcher's logic is the same on every platform.

namespace registry
{
// A predefined root key, as the signed 32-bit handle value Windows gives it.
constexpr std::int32_t localMachine = static_cast<std::int32_t>(0x80000002u);

// Value types the launcher understands.
constexpr std::uint32_t typeString = 1; // REG_SZ
constexpr std::uint32_t typeDword = 4;  // REG_DWORD

// Access rights: KEY_READ (read control, query value, enumerate subkeys,
// notify). The launcher never writes, so it never asks for more.
constexpr std::uint32_t keyRead = 0x20019;

// Result codes: 0 is success, anything else a failure; the codes below are
// the ones the services of this program report.
constexpr long success = 0;
constexpr long fileNotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr long accessDenied = 5; // ERROR_ACCESS_DENIED
constexpr long moreData = 234;   // ERROR_MORE_DATA: the buffer is too small

using Handle = std::uintptr_t;
} // namespace registry

// Read access to the registry, in the system's 8-bit code page.
class Registry
{
public:
    virtual ~Registry() = default;

    // Opens keyName below root with the given access rights. Returns
    // registry::success and sets handle, or an error code.
    virtual long openKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                         registry::Handle &handle) = 0;

    // Reads the value valueName of an open key into data. size goes in as the
    // buffer's size and comes back as the size of the value's data (also when
    // the buffer is too small: registry::moreData). Returns registry::success
    // or an error code.
    virtual long queryValue(registry::Handle handle, const std::string &valueName,
                            std::uint32_t &type, std::span<std::uint8_t> data,
                            std::uint32_t &size) = 0;

    // Closes a key. Closing the handle 0 (a key that never opened) is harmless.
    virtual void closeKey(registry::Handle handle) = 0;

    // UTF-8 to the code page of the 8-bit registry functions; nothing when the
    // text has characters the code page lacks.
    [[nodiscard]] virtual std::optional<std::string>
    toSystemCodePage(std::string_view utf8) const = 0;
    // The code page's bytes as UTF-8. Never fails.
    [[nodiscard]] virtual std::string fromSystemCodePage(std::string_view bytes) const = 0;
};

enum class FileTestResult : std::uint8_t {
    ordinaryFile, // an ordinary file: not a directory, not hidden, not a system file
    none,         // nothing, or something that is not an ordinary file
    unusablePath, // the path cannot name a file at all
};

class FileProbe
{
public:
    virtual ~FileProbe() = default;
    // path is UTF-8.
    [[nodiscard]] virtual FileTestResult test(std::string_view path) = 0;
};

class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;
    // Starts the program at programPath (UTF-8, taken whole: blanks are part of
    // the path) with a normal, activated window, without waiting for it.
    // Returns false if it could not be started.
    [[nodiscard]] virtual bool start(std::string_view programPath) = 0;
};

class MessageService
{
public:
    virtual ~MessageService() = default;
    // A message box with one OK button and no icon; returns when closed.
    virtual void show(std::string_view text, std::string_view title) = 0;
};

struct SysInfoServices {
    Registry &registry;
    FileProbe &files;
    ProgramStarter &programs;
    MessageService &messages;
};

} // namespace tessaro
