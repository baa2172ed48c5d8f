// SPDX-License-Identifier: GPL-3.0-or-later
#include "tick.h"

#include "datesection.h"
#include "readouts.h"
#include "spoken.h"

namespace tessaro::clock
{
namespace
{

void showTimeUnit(int value, const TimeRow &unit, Elements &elements, CellColours colours)
{
    writeDecimal(value, unit.row.decimal, elements);
    writeHexSection(value, unit.hex, elements);
    announceRow(unit.row.title, PaintBitRow(value, unit.row.cells, elements, colours), elements);
}

// The window tells a screen reader the time and date when it takes the
// focus: "12:34:56, 06.12.2026". Unchanged writes are dropped by the window,
// so a listening reader hears of it once a second.
void describeMoment(const LocalDateTime &now, Elements &elements)
{
    if (!elements.readerListening())
        return;
    SpokenText text;
    text.twoDigits(now.hour) << ":";
    text.twoDigits(now.minute) << ":";
    text.twoDigits(now.second) << ", ";
    text.twoDigits(now.day) << ".";
    text.twoDigits(now.month) << "." << now.year;
    elements.setAccessibleDescription(ElementKey{}, text.view());
}

} // namespace

void showDateTime(const LocalDateTime &now, const ClockLayout &layout, Elements &elements,
                  CellColours colours)
{
    writeDateSection(now, layout, elements, colours);
    showTimeUnit(now.hour, layout.hours, elements, colours);
    showTimeUnit(now.minute, layout.minutes, elements, colours);
    showTimeUnit(now.second, layout.seconds, elements, colours);
    describeMoment(now, elements);
}

void Ticker::tick(LocalClock &clock, const ClockLayout &layout, Elements &elements,
                  CellColours colours)
{
    // One reading for the whole tick: reading the clock per unit could show
    // 09:59:59 as 9:00:00 when the hour turns between two readings.
    const Shown now{clock.now(), colours, elements.readerListening()};
    if (now == m_shown)
        return;
    showDateTime(now.moment, layout, elements, colours);
    m_shown = now;
}

} // namespace tessaro::clock
