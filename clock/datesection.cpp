// SPDX-License-Identifier: GPL-3.0-or-later
#include "datesection.h"

#include "headings.h"
#include "readouts.h"
#include "rows.h"

namespace tessaro::clock
{
namespace
{

void setYearCellsVisible(bool visible, Elements &elements)
{
    for (const BitCell &cell : rows::yearHiddenCells)
        elements.setVisible(cell.key, visible);
}

void paintYear(int year, Elements &elements, CellColours colours)
{
    elements.setCaption(ruzozura::Jahr, DecimalText(year).view());
    if (year > lastElevenCellYear) {
        // The hidden cells are left as they are: nobody sees them.
        setYearCellsVisible(false, elements);
        elements.setCaption(ruzozura::Label15, yearHeadingSevenPlaces);
        PaintBitRow(year - sevenCellYearOffset, rows::yearSevenCells, elements, colours);
    } else {
        setYearCellsVisible(true, elements);
        elements.setCaption(ruzozura::Label15, yearHeadingElevenPlaces);
        PaintBitRow(year, rows::year, elements, colours);
    }
}

} // namespace

void writeDateSection(const LocalDateTime &date, Elements &elements, CellColours colours)
{
    elements.setCaption(ruzozura::Tag1, DecimalText(date.day).view());
    PaintBitRow(date.day, rows::day, elements, colours);

    elements.setCaption(ruzozura::Monat, DecimalText(date.month).view());
    PaintBitRow(date.month, rows::month, elements, colours);

    paintYear(date.year, elements, colours);
}

} // namespace tessaro::clock
