// SPDX-License-Identifier: GPL-3.0-or-later
#include "posix_services.h"

#include <cerrno>
#include <sys/stat.h>

namespace tessaro::posix
{

FileTestResult PosixFileProbe::test(std::string_view path)
{
    // A zero byte would silently cut the path short.
    if (path.find('\0') != std::string_view::npos) {
        return FileTestResult::unusablePath;
    }
    const std::string name(path);
    struct stat info {
    };
    if (::stat(name.c_str(), &info) == 0) {
        return S_ISREG(info.st_mode) ? FileTestResult::ordinaryFile : FileTestResult::none;
    }
    return errno == ENAMETOOLONG ? FileTestResult::unusablePath : FileTestResult::none;
}

} // namespace tessaro::posix
