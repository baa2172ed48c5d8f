// SPDX-License-Identifier: GPL-3.0-or-later
#include "localclock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#include <time.h>
#endif

namespace tessaro
{
namespace
{

class SystemLocalClock final : public LocalClock
{
public:
    LocalDateTime now() override
    {
#ifdef _WIN32
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {std::int16_t(t.wDay),  std::int16_t(t.wMonth),  std::int16_t(t.wYear),
                std::int16_t(t.wHour), std::int16_t(t.wMinute), std::int16_t(t.wSecond)};
#else
        // tzset() on every reading, so a change of the zone (or of the zone
        // file) while the clock runs shows at the next tick.
        tzset();
        const std::time_t seconds = std::time(nullptr);
        std::tm t{};
        localtime_r(&seconds, &t);
        return {std::int16_t(t.tm_mday), std::int16_t(t.tm_mon + 1), std::int16_t(t.tm_year + 1900),
                std::int16_t(t.tm_hour), std::int16_t(t.tm_min),     std::int16_t(t.tm_sec)};
#endif
    }
};

} // namespace

LocalClock &systemLocalClock()
{
    static SystemLocalClock clock;
    return clock;
}

} // namespace tessaro
