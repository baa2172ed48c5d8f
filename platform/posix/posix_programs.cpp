// SPDX-License-Identifier: GPL-3.0-or-later
#include "posix_services.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>

extern char **environ;

namespace tessaro::posix
{
namespace
{

// Spawn attributes that detach the program from the clock: its own session
// (no signals from the clock's terminal) and default signal handling.
class DetachedSpawnAttributes
{
public:
    DetachedSpawnAttributes()
    {
        ::posix_spawnattr_init(&m_attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&m_attributes, &none);
        ::posix_spawnattr_setsigdefault(&m_attributes, &all);
        ::posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                      POSIX_SPAWN_SETSIGDEF);
    }
    ~DetachedSpawnAttributes() { ::posix_spawnattr_destroy(&m_attributes); }
    DetachedSpawnAttributes(const DetachedSpawnAttributes &) = delete;
    DetachedSpawnAttributes &operator=(const DetachedSpawnAttributes &) = delete;

    const posix_spawnattr_t *get() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes{};
};

void reapWhenDone(pid_t pid)
{
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error &) {
        // Without a thread the program still runs; it is then reaped when the
        // clock exits. Losing the program's start would be worse.
    }
}

} // namespace

std::optional<pid_t> PosixProgramStarter::spawn(std::string_view programPath)
{
    if (programPath.empty() || programPath.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::string path(programPath);
    // The path is the program itself, blanks and all; no shell splits it.
    char *const arguments[] = {path.data(), nullptr};
    const DetachedSpawnAttributes attributes;
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), nullptr, attributes.get(), arguments, environ) != 0) {
        return std::nullopt;
    }
    reapWhenDone(pid);
    return pid;
}

bool PosixProgramStarter::start(std::string_view programPath)
{
    return spawn(programPath).has_value();
}

} // namespace tessaro::posix
