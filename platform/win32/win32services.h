// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo_services.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaro::win32
{

// The registry through the 8-bit functions of advapi32; strings travel in the
// system's ANSI code page.
class Win32Registry final : public Registry
{
public:
    long openKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                 registry::Handle &handle) override;
    long queryValue(registry::Handle handle, const std::string &valueName, std::uint32_t &type,
                    std::span<std::uint8_t> data, std::uint32_t &size) override;
    void closeKey(registry::Handle handle) override;
    [[nodiscard]] std::optional<std::string> toSystemCodePage(std::string_view utf8) const override;
    [[nodiscard]] std::string fromSystemCodePage(std::string_view bytes) const override;
};

// Ordinary files by their attributes: directories, hidden and system files
// do not count.
class Win32FileProbe final : public FileProbe
{
public:
    [[nodiscard]] FileTestResult test(std::string_view path) override;
};

// Starts a program with a normal, activated window and does not wait for it.
// The path is taken whole, blanks and all; one pair of quotes around it is
// dropped.
class Win32ProgramStarter final : public ProgramStarter
{
public:
    [[nodiscard]] bool start(std::string_view registeredPath) override;
};

// UTF-8 and UTF-16, for the wide functions; nothing for malformed UTF-8.
std::optional<std::wstring> toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

} // namespace tessaro::win32
