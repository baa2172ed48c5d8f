// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for a system-information tool: it leaves "<own path>.ran" with
// its process and session ids, then stays for TESSARO_PROBE_LINGER seconds.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

int main(int, char *argv[])
{
    const std::string marker = std::string(argv[0]) + ".ran";
    std::ofstream(marker + ".part") << ::getpid() << ' ' << ::getsid(0) << '\n';
    // Appears whole or not at all.
    std::rename((marker + ".part").c_str(), marker.c_str());
    if (const char *linger = std::getenv("TESSARO_PROBE_LINGER"))
        ::sleep(static_cast<unsigned>(std::atoi(linger)));
}
