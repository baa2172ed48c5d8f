// SPDX-License-Identifier: GPL-3.0-or-later
// Kept in a file of its own so that a test build can name other programs.
#include "posix_services.h"

namespace tessaro::posix
{

std::vector<std::string> defaultToolCandidates()
{
    // Fixed absolute paths: the clock reads no environment, so no PATH search.
    return {"/usr/bin/hardinfo2", "/usr/bin/hardinfo", "/usr/bin/kinfocenter",
            "/usr/bin/gnome-system-monitor"};
}

} // namespace tessaro::posix
