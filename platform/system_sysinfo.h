// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo_services.h"
#include "toolkit.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaro
{

// The operating system's services for the system-information launcher: the
// registry (on Linux a read-only stand-in that names an installed
// system-information program), the file test, the program start and the
// message box.
class SystemSysInfo
{
public:
    // Messages go through the toolkit's message box.
    explicit SystemSysInfo(Toolkit &toolkit);
    ~SystemSysInfo();
    SystemSysInfo(const SystemSysInfo &) = delete;
    SystemSysInfo &operator=(const SystemSysInfo &) = delete;

    [[nodiscard]] SysInfoServices &services() { return m_services; }

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    SysInfoServices m_services;
};

// A message service that shows its messages through a toolkit.
class ToolkitMessages final : public MessageService
{
public:
    explicit ToolkitMessages(Toolkit &toolkit) : m_toolkit(toolkit) {}
    void show(std::string_view text, std::string_view title) override
    {
        m_toolkit.messageBox(text, title);
    }

private:
    Toolkit &m_toolkit;
};

} // namespace tessaro
