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

void setYearHeading(std::string_view caption, std::string_view spoken, Elements &elements)
{
    elements.setCaption(ruzozura::Label15, caption);
    if (elements.readerListening())
        elements.setAccessibleName(ruzozura::Label15, spoken);
}

// Returns the value the year row shows: from 2048 on that of its seven cells.
int paintYear(int year, Elements &elements, CellColours colours)
{
    writeDecimal(year, yearDecimal, elements);
    if (year > lastElevenCellYear) {
        // The hidden cells are left as they are: nobody sees them.
        setYearCellsVisible(false, elements);
        setYearHeading(yearHeadingSevenPlaces, yearHeadingSevenPlacesSpoken, elements);
        return PaintBitRow(year - sevenCellYearOffset, rows::yearSevenCells, elements, colours);
    }
    setYearCellsVisible(true, elements);
    setYearHeading(yearHeadingElevenPlaces, yearHeadingElevenPlacesSpoken, elements);
    return PaintBitRow(year, rows::year, elements, colours);
}

} // namespace

void writeDateSection(const LocalDateTime &date, Elements &elements, CellColours colours)
{
    writeDecimal(date.day, dayDecimal, elements);
    announceRow(rows::dayTitle, PaintBitRow(date.day, rows::day, elements, colours), elements);

    writeDecimal(date.month, monthDecimal, elements);
    announceRow(rows::monthTitle, PaintBitRow(date.month, rows::month, elements, colours),
                elements);

    announceRow(rows::yearTitle, paintYear(date.year, elements, colours), elements);
}

} // namespace tessaro::clock
