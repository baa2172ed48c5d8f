// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo_services.h"

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tessaro::posix
{

// The system-information programs this build looks for, best first.
std::vector<std::string> defaultToolCandidates();

// A read-only stand-in for the registry on a system that has none. It holds
// one key, HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Shared Tools\MSINFO", whose
// string value "PATH" names the first candidate that is installed as an
// executable ordinary file; without one the key does not exist. Key and value
// names match without regard to case, as in the registry. The 8-bit code page
// is UTF-8.
class PosixRegistry final : public Registry
{
public:
    PosixRegistry();
    explicit PosixRegistry(std::vector<std::string> toolCandidates);

    long openKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                 registry::Handle &handle) override;
    long queryValue(registry::Handle handle, const std::string &valueName, std::uint32_t &type,
                    std::span<std::uint8_t> data, std::uint32_t &size) override;
    void closeKey(registry::Handle handle) override;
    [[nodiscard]] std::optional<std::string> toSystemCodePage(std::string_view utf8) const override;
    [[nodiscard]] std::string fromSystemCodePage(std::string_view bytes) const override;

private:
    [[nodiscard]] std::optional<std::string> installedTool() const;

    std::vector<std::string> m_toolCandidates;
    // Each open key remembers the tool path it found when it was opened.
    std::map<registry::Handle, std::string> m_openKeys;
    registry::Handle m_nextHandle = 1;
};

// Ordinary files as stat() sees them (symbolic links followed).
class PosixFileProbe final : public FileProbe
{
public:
    [[nodiscard]] FileTestResult test(std::string_view path) override;
};

// Starts programs with posix_spawn, without a shell, in a session of their
// own so that they outlive the clock. Each started program is reaped by a
// detached thread the moment it exits, so none lingers as a zombie.
class PosixProgramStarter final : public ProgramStarter
{
public:
    [[nodiscard]] bool start(std::string_view programPath) override;
    // The process id of the started program; nothing if it could not start.
    [[nodiscard]] std::optional<pid_t> spawn(std::string_view programPath);
};

} // namespace tessaro::posix
