// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout.h"
#include "localclock.h"

#include <optional>

namespace tessaro::clock
{

// The tick of a running window: from one reading of the clock it rewrites
// every readout of the layout (see showDateTime). The timer ticks ten times
// a second, and in nine of them nothing that the window shows has changed:
// it writes only when the reading, the colours or the presence of a screen
// reader differ from those of its last write, so a new lit colour reaches
// every cell at the next tick.
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

// Writes every readout of the layout for one reading: the date rows and
// their readouts, then for the hour, the minute and the second in turn its
// decimal readout, its hexadecimal row and its bit row, each element changed
// or not. While a screen reader listens, the rows' titles, the readouts and
// the window's description carry the values in words.
void showDateTime(const LocalDateTime &now, const ClockLayout &layout, Elements &elements,
                  CellColours colours);

} // namespace tessaro::clock
