// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bitrow.h"
#include "ruzozura_keys.h"

#include <array>

// The six bit rows of the main window, each from its highest weight down to 1.
// The frame numbers of the date rows run in different directions, so every
// cell is listed by name.
namespace tessaro::clock::rows
{

inline constexpr std::array<BitCell, 5> hoursCells{{
    {ruzozura::bin1[4], 16, true, "Stunden, Wert 16"},
    {ruzozura::bin1[3], 8, true, "Stunden, Wert 8"},
    {ruzozura::bin1[2], 4, true, "Stunden, Wert 4"},
    {ruzozura::bin1[1], 2, true, "Stunden, Wert 2"},
    {ruzozura::bin1[0], 1, true, "Stunden, Wert 1"},
}};

inline constexpr std::array<BitCell, 6> minutesCells{{
    {ruzozura::binmin1[5], 32, true, "Minuten, Wert 32"},
    {ruzozura::binmin1[4], 16, true, "Minuten, Wert 16"},
    {ruzozura::binmin1[3], 8, true, "Minuten, Wert 8"},
    {ruzozura::binmin1[2], 4, true, "Minuten, Wert 4"},
    {ruzozura::binmin1[1], 2, true, "Minuten, Wert 2"},
    {ruzozura::binmin1[0], 1, true, "Minuten, Wert 1"},
}};

inline constexpr std::array<BitCell, 6> secondsCells{{
    {ruzozura::binsec1[5], 32, true, "Sekunden, Wert 32"},
    {ruzozura::binsec1[4], 16, true, "Sekunden, Wert 16"},
    {ruzozura::binsec1[3], 8, true, "Sekunden, Wert 8"},
    {ruzozura::binsec1[2], 4, true, "Sekunden, Wert 4"},
    {ruzozura::binsec1[1], 2, true, "Sekunden, Wert 2"},
    {ruzozura::binsec1[0], 1, true, "Sekunden, Wert 1"},
}};

inline constexpr std::array<BitCell, 5> dayCells{{
    {ruzozura::Frame23, 16, false, "Tag, Wert 16"},
    {ruzozura::Frame22, 8, false, "Tag, Wert 8"},
    {ruzozura::Frame21, 4, false, "Tag, Wert 4"},
    {ruzozura::Frame20, 2, false, "Tag, Wert 2"},
    {ruzozura::Frame19, 1, false, "Tag, Wert 1"},
}};

inline constexpr std::array<BitCell, 4> monthCells{{
    {ruzozura::Frame25, 8, false, "Monat, Wert 8"},
    {ruzozura::Frame26, 4, false, "Monat, Wert 4"},
    {ruzozura::Frame27, 2, false, "Monat, Wert 2"},
    {ruzozura::Frame28, 1, false, "Monat, Wert 1"},
}};

inline constexpr std::array<BitCell, 11> yearCells{{
    {ruzozura::Frame39, 1024, false, "Jahr, Wert 1024"},
    {ruzozura::Frame38, 512, false, "Jahr, Wert 512"},
    {ruzozura::Frame37, 256, false, "Jahr, Wert 256"},
    {ruzozura::Frame36, 128, false, "Jahr, Wert 128"},
    {ruzozura::Frame35, 64, false, "Jahr, Wert 64"},
    {ruzozura::Frame34, 32, false, "Jahr, Wert 32"},
    {ruzozura::Frame33, 16, false, "Jahr, Wert 16"},
    {ruzozura::Frame32, 8, false, "Jahr, Wert 8"},
    {ruzozura::Frame31, 4, false, "Jahr, Wert 4"},
    {ruzozura::Frame30, 2, false, "Jahr, Wert 2"},
    {ruzozura::Frame29, 1, false, "Jahr, Wert 1"},
}};

inline constexpr BitRow hours{hoursCells};
inline constexpr BitRow minutes{minutesCells};
inline constexpr BitRow seconds{secondsCells};
inline constexpr BitRow day{dayCells};
inline constexpr BitRow month{monthCells};
inline constexpr BitRow year{yearCells};

// The titles at the end of the rows, named after the values their rows show.
inline constexpr RowTitle hoursTitle{ruzozura::Label1, "Stunden"};
inline constexpr RowTitle minutesTitle{ruzozura::Label3, "Minuten"};
inline constexpr RowTitle secondsTitle{ruzozura::Label2, "Sekunden"};
inline constexpr RowTitle dayTitle{ruzozura::Label11, "Tag"};
inline constexpr RowTitle monthTitle{ruzozura::Label12, "Monat"};
inline constexpr RowTitle yearTitle{ruzozura::Label13, "Jahr"};

// From 2048 on the year row drops its four highest cells and shows the year
// minus 2000 on the seven that remain.
inline constexpr std::size_t yearCellsHiddenFrom2048 = 4;
inline constexpr BitRow yearHiddenCells = year.first(yearCellsHiddenFrom2048);
inline constexpr BitRow yearSevenCells = year.subspan(yearCellsHiddenFrom2048);

static_assert(accessibleNamesFit(hours) && accessibleNamesFit(minutes) &&
              accessibleNamesFit(seconds) && accessibleNamesFit(day) && accessibleNamesFit(month) &&
              accessibleNamesFit(year));

} // namespace tessaro::clock::rows
