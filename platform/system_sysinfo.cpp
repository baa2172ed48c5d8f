// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_sysinfo.h"

#ifdef _WIN32
#include "win32/win32services.h"
#else
#include "posix/posix_services.h"
#endif

namespace tessaro
{

// The launcher's message is the toolkit's message box on every system.
struct SystemSysInfo::Parts {
    explicit Parts(Toolkit &toolkit) : messages(toolkit) {}
#ifdef _WIN32
    win32::Win32Registry registry;
    win32::Win32FileProbe files;
    win32::Win32ProgramStarter programs;
#else
    posix::PosixRegistry registry;
    posix::PosixFileProbe files;
    posix::PosixProgramStarter programs;
#endif
    ToolkitMessages messages;
};

SystemSysInfo::SystemSysInfo(Toolkit &toolkit)
    : m_parts(std::make_unique<Parts>(toolkit)), m_services{m_parts->registry, m_parts->files,
                                                            m_parts->programs, m_parts->messages}
{
}

SystemSysInfo::~SystemSysInfo() = default;

} // namespace tessaro
