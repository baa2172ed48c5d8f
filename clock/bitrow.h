// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace tessaro::clock
{

// The two colours of every bit cell: lit for a 1 bit, dark for a 0 bit.
struct CellColours {
    Colour lit;
    Colour dark;
};

// One cell of a bit row.
struct BitCell {
    ElementKey key;
    int weight;
    // Cells of the time rows are labels that also read "1" or "0"; the date
    // cells show their colour only.
    bool textCell;
    // What a screen reader announces for the cell, before ", an" or ", aus".
    std::string_view accessibleBase;
};

// Cells ordered by falling weight, the highest first.
using BitRow = std::span<const BitCell>;

// Paints a row by the greedy rule: from the highest weight down, a cell is
// lit (and its weight taken off the rest) when the rest is at least its
// weight, else dark. Every cell is written on every call. A value above the
// row's sum lights every cell; a negative one darkens every cell. Returns
// the value the row shows: the sum of its lit weights. While a screen reader
// listens, each cell is also named with its weight and state.
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

// Room for an accessible base name plus ", aus"; checked at compile time for
// every row so painting never allocates.
inline constexpr std::size_t accessibleNameCapacity = 48;

constexpr bool accessibleNamesFit(BitRow row)
{
    for (const BitCell &cell : row) {
        if (cell.accessibleBase.size() + 5 > accessibleNameCapacity)
            return false;
    }
    return true;
}

} // namespace tessaro::clock
