// SPDX-License-Identifier: GPL-3.0-or-later
#include "tick.h"

#include "datesection.h"
#include "readouts.h"
#include "rows.h"

namespace tessaro::clock
{
namespace
{

struct TimeUnit {
    const DecimalReadout &decimal;
    const HexCells &hex;
    BitRow row;
    const RowTitle &title;
};

constexpr TimeUnit hoursUnit{hoursDecimal, hoursHex, rows::hours, rows::hoursTitle};
constexpr TimeUnit minutesUnit{minutesDecimal, minutesHex, rows::minutes, rows::minutesTitle};
constexpr TimeUnit secondsUnit{secondsDecimal, secondsHex, rows::seconds, rows::secondsTitle};

void showTimeUnit(int value, const TimeUnit &unit, Elements &elements, CellColours colours)
{
    writeDecimal(value, unit.decimal, elements);
    writeHexSection(value, unit.hex, elements);
    announceRow(unit.title, PaintBitRow(value, unit.row, elements, colours), elements);
}

} // namespace

void showDateTime(const LocalDateTime &now, Elements &elements, CellColours colours)
{
    writeDateSection(now, elements, colours);
    showTimeUnit(now.hour, hoursUnit, elements, colours);
    showTimeUnit(now.minute, minutesUnit, elements, colours);
    showTimeUnit(now.second, secondsUnit, elements, colours);
}

void runTick(LocalClock &clock, Elements &elements, CellColours colours)
{
    // One reading for the whole tick: reading the clock per unit could show
    // 09:59:59 as 9:00:00 when the hour turns between two readings.
    showDateTime(clock.now(), elements, colours);
}

} // namespace tessaro::clock
