// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bitrow.h"
#include "readouts.h"

#include <cstddef>
#include <string_view>

// What the clock paints, element by element. The window that shows the clock
// fills it with its own element keys; the clock itself knows no window.
namespace tessaro::clock
{

// A bit row with its title and its decimal readout.
struct ValueRow {
    BitRow cells;
    RowTitle title;
    DecimalReadout decimal;
};

// A time unit: its bit row and the digit cells of its hexadecimal row.
struct TimeRow {
    ValueRow row;
    HexCells hex;
};

// The year row's place-value heading: the captions it shows with eleven
// cells (up to 2047) and with seven (from 2048 on), and the same as a screen
// reader says them.
struct YearHeading {
    ElementKey key;
    std::string_view elevenPlaces;
    std::string_view sevenPlaces;
    std::string_view elevenPlacesSpoken;
    std::string_view sevenPlacesSpoken;
};

// The year row holds eleven cells, weights 1024 down to 1; from 2048 on its
// first four are hidden (yearCellsHiddenFrom2048).
struct ClockLayout {
    ValueRow day;
    ValueRow month;
    ValueRow year;
    YearHeading yearHeading;
    TimeRow hours;
    TimeRow minutes;
    TimeRow seconds;
};

inline constexpr std::size_t yearCellCount = 11;
inline constexpr std::size_t yearCellsHiddenFrom2048 = 4;

} // namespace tessaro::clock
