// SPDX-License-Identifier: GPL-3.0-or-later
#include "bitrow.h"

#include "spoken.h"

namespace tessaro::clock
{
namespace
{

void paintCell(const BitCell &cell, bool lit, Elements &elements, CellColours colours)
{
    elements.setBackColor(cell.key, lit ? colours.lit : colours.dark);
    if (cell.textCell)
        elements.setCaption(cell.key, lit ? "1" : "0");
}

} // namespace

int PaintBitRow(int value, BitRow row, Elements &elements, CellColours colours)
{
    int rest = value;
    int shown = 0;
    for (const BitCell &cell : row) {
        const bool lit = rest >= cell.weight;
        if (lit) {
            rest -= cell.weight;
            shown += cell.weight;
        }
        paintCell(cell, lit, elements, colours);
    }
    return shown;
}

void announceRow(const RowTitle &title, int shown, Elements &elements)
{
    if (elements.readerListening())
        announceValue(elements, title.label, title.spoken, shown);
}

} // namespace tessaro::clock
