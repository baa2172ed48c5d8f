// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout.h"
#include "localclock.h"

#include <optional>

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

// The tick of a running window. The timer ticks ten times a second, and in
// nine of them nothing that the window shows has changed: it writes only
// when the reading, the colours or the presence of a screen reader differ
// from those of its last write.
class Ticker
{
public:
    void tick(LocalClock &clock, const ClockLayout &layout, Elements &elements,
              CellColours colours);

private:
    struct Shown {
        LocalDateTime moment;
        CellColours colours;
        bool readerListening = false;

        friend bool operator==(const Shown &, const Shown &) = default;
    };
    std::optional<Shown> m_shown;
};

// The part of the tick for one reading, for callers that hold the reading.
void showDateTime(const LocalDateTime &now, const ClockLayout &layout, Elements &elements,
                  CellColours colours);

} // namespace tessaro::clock
