// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tessaro::ruzozura
{

// Place-value headings of the year row (Label15), which the clock switches.
// The eleven-place heading is shown up to 2047; from 2048 on the row has
// seven cells under the seven-place heading. The runs of spaces put each place value over its cell
// column in the window's own face; the weight 1 is written "I".
// Runs: 2, 2, 2, 2, 3, 4, 5, 5, 7, 5, then 1 trailing.
inline constexpr std::string_view yearHeadingElevenPlaces =
    "1024  512  256  128  64   32    16     8     4       2     I ";
// Runs: 31 leading, 2, 3, 4, 4, 6, 5, then 1 trailing.
inline constexpr std::string_view yearHeadingSevenPlaces =
    "                               64  32   16    8    4      2     I ";

// The same headings as a screen reader says them: one space between the
// place values, and the weight 1 as the digit it stands for.
inline constexpr std::string_view yearHeadingElevenPlacesSpoken =
    "1024 512 256 128 64 32 16 8 4 2 1";
inline constexpr std::string_view yearHeadingSevenPlacesSpoken = "64 32 16 8 4 2 1";

static_assert(yearHeadingElevenPlaces.size() == 61 && yearHeadingSevenPlaces.size() == 66);

} // namespace tessaro::ruzozura
