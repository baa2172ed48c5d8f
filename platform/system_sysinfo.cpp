// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_sysinfo.h"

#ifdef _WIN32
#include "win32/win32_services.h"
#else
#include "posix/posix_services.h"
#endif

namespace tessaro
{

#ifdef _WIN32
struct SystemSysInfo::Parts {
    explicit Parts(Toolkit &) {}
    win32::Win32Registry registry;
    win32::Win32FileProbe files;
    win32::Win32ProgramStarter programs;
    win32::Win32MessageService messages;
};
#else
struct SystemSysInfo::Parts {
    explicit Parts(Toolkit &toolkit) : messages(toolkit) {}
    posix::PosixRegistry registry;
    posix::PosixFileProbe files;
    posix::PosixProgramStarter programs;
    ToolkitMessages messages;
};
#endif

SystemSysInfo::SystemSysInfo(Toolkit &toolkit)
    : parts_(std::make_unique<Parts>(toolkit)), services_{parts_->registry, parts_->files,
                                                          parts_->programs, parts_->messages}
{
}

SystemSysInfo::~SystemSysInfo() = default;

} // namespace tessaro
