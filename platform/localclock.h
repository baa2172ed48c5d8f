// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessaro
{

// One reading of the computer's local date and time of day.
struct LocalDateTime {
    std::int16_t day = 1;   // 1..31
    std::int16_t month = 1; // 1..12
    std::int16_t year = 2000;
    std::int16_t hour = 0;   // 0..23
    std::int16_t minute = 0; // 0..59
    std::int16_t second = 0; // 0..59

    friend constexpr bool operator==(const LocalDateTime &, const LocalDateTime &) = default;
};

class LocalClock
{
public:
    virtual ~LocalClock() = default;
    // The local date and time now, following the system's current time zone
    // and any change of the clock since the last reading.
    [[nodiscard]] virtual LocalDateTime now() = 0;
};

// The computer's own clock.
LocalClock &systemLocalClock();

} // namespace tessaro
