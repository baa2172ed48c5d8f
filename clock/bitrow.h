// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <span>
#include <string_view>

namespace tessaro::clock
{

// The two colours of every bit cell: lit for a 1 bit, dark for a 0 bit.
struct CellColours {
    Colour lit;
    Colour dark;

    friend constexpr bool operator==(const CellColours &, const CellColours &) = default;
};

// One cell of a bit row.
struct BitCell {
    ElementKey key;
    int weight;
    // Cells of the time rows are labels that also read "1" or "0"; the date
    // cells show their colour only.
    bool textCell;
};

// Cells ordered by falling weight, the highest first.
using BitRow = std::span<const BitCell>;

// Paints a row by the greedy rule: from the highest weight down, a cell is
// lit (and its weight taken off the rest) when the rest is at least its
// weight, else dark. Every cell is written on every call. A value above the
// row's sum lights every cell; a negative one darkens every cell. Returns
// the value the row shows: the sum of its lit weights. A cell keeps the name
// the window gives it ("Stunden, Wert 16"): renaming cells as they light up
// would send a screen reader several changes a second; the row's title
// carries its value instead (announceRow).
int PaintBitRow(int value, BitRow row, Elements &elements, CellColours colours);

// The title label at the end of a bit row, and what it is called aloud.
struct RowTitle {
    ElementKey label;
    std::string_view spoken;
};

// Names a row's title after the value the row shows ("Stunden: 12"), so a
// screen reader gives the value without adding up cells. The name changes
// only when the value does, the seconds row's once a second.
void announceRow(const RowTitle &title, int shown, Elements &elements);

} // namespace tessaro::clock
