// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout.h"
#include "localclock.h"

namespace tessaro::clock
{

// Rewrites every readout of the layout from one reading of the clock: the
// date rows and their readouts, then for the hour, the minute and the second
// in turn its decimal readout, its hexadecimal row and its bit row. Every
// element is written on every call, changed or not, so a new lit colour
// reaches every cell at the next tick. While a screen reader listens, the
// rows' titles, the readouts and the window's description carry the values
// in words.
void runTick(LocalClock &clock, const ClockLayout &layout, Elements &elements, CellColours colours);

// The part of the tick for one reading, for callers that hold the reading.
void showDateTime(const LocalDateTime &now, const ClockLayout &layout, Elements &elements,
                  CellColours colours);

} // namespace tessaro::clock
