// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout.h"
#include "localclock.h"

namespace tessaro::clock
{

// The largest year the eleven-cell year row can show (the sum of its weights).
inline constexpr int lastElevenCellYear = 2047;
// From 2048 on the seven remaining cells show the year minus this.
inline constexpr int sevenCellYearOffset = 2000;

// Writes the day, month and year readouts and paints their rows. From
// 2048 on the year row hides its four highest cells and its heading takes
// the seven places; a year of 2047 or earlier (the clock set back) brings
// the eleven-cell row and its heading back.
void writeDateSection(const LocalDateTime &date, const ClockLayout &layout, Elements &elements,
                      CellColours colours);

} // namespace tessaro::clock
