// SPDX-License-Identifier: GPL-3.0-or-later
#include "datesection.h"

#include "readouts.h"

namespace tessaro::clock
{
namespace
{

void setYearCellsVisible(BitRow hiddenCells, bool visible, Elements &elements)
{
    for (const BitCell &cell : hiddenCells)
        elements.setVisible(cell.key, visible);
}

void setYearHeading(ElementKey heading, std::string_view caption, std::string_view spoken,
                    Elements &elements)
{
    elements.setCaption(heading, caption);
    if (elements.readerListening())
        elements.setAccessibleName(heading, spoken);
}

// Returns the value the year row shows: from 2048 on that of its seven cells.
int paintYear(int year, const ClockLayout &layout, Elements &elements, CellColours colours)
{
    const BitRow cells = layout.year.cells;
    const BitRow hiddenCells = cells.first(yearCellsHiddenFrom2048);
    const YearHeading &heading = layout.yearHeading;
    writeDecimal(year, layout.year.decimal, elements);
    if (year > lastElevenCellYear) {
        // The hidden cells are left as they are: nobody sees them.
        setYearCellsVisible(hiddenCells, false, elements);
        setYearHeading(heading.key, heading.sevenPlaces, heading.sevenPlacesSpoken, elements);
        return PaintBitRow(year - sevenCellYearOffset, cells.subspan(yearCellsHiddenFrom2048),
                           elements, colours);
    }
    setYearCellsVisible(hiddenCells, true, elements);
    setYearHeading(heading.key, heading.elevenPlaces, heading.elevenPlacesSpoken, elements);
    return PaintBitRow(year, cells, elements, colours);
}

void paintValueRow(int value, const ValueRow &row, Elements &elements, CellColours colours)
{
    writeDecimal(value, row.decimal, elements);
    announceRow(row.title, PaintBitRow(value, row.cells, elements, colours), elements);
}

} // namespace

void writeDateSection(const LocalDateTime &date, const ClockLayout &layout, Elements &elements,
                      CellColours colours)
{
    paintValueRow(date.day, layout.day, elements, colours);
    paintValueRow(date.month, layout.month, elements, colours);
    announceRow(layout.year.title, paintYear(date.year, layout, elements, colours), elements);
}

} // namespace tessaro::clock
