// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tessaro::clock
{

// Place-value headings of the year row (Label15). The eleven-place heading is
// shown up to 2047; from 2048 on the row has seven cells under the
// seven-place heading. The runs of spaces put each place value over its cell
// column in Liberation Sans 11 px, the face that stands in for MS Sans Serif;
// the weight 1 is written "I".
// Runs: 1, 2, 2, 2, 4, 4, 4, 6, 5, 6, then 1 trailing.
inline constexpr std::string_view yearHeadingElevenPlaces =
    "1024 512  256  128  64    32    16    8      4     2      I ";
// Runs: 33 leading, 4, 3, 5, 6, 6, 5, then 1 trailing.
inline constexpr std::string_view yearHeadingSevenPlaces =
    "                                 64    32   16     8      4      2     I ";

} // namespace tessaro::clock
