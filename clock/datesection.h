// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bitrow.h"
#include "localclock.h"

namespace tessaro::clock
{

// The largest year the eleven-cell year row can show (the sum of its weights).
inline constexpr int lastElevenCellYear = 2047;
// From 2048 on the seven remaining cells show the year minus this.
inline constexpr int sevenCellYearOffset = 2000;

// Writes Tag1, Monat and Jahr and paints the day, month and year rows. From
// 2048 on the year row hides its four highest cells and Label15 takes the
// seven-place heading; a year of 2047 or earlier (the clock set back) brings
// the eleven-cell row and its heading back.
void writeDateSection(const LocalDateTime &date, Elements &elements, CellColours colours);

} // namespace tessaro::clock
