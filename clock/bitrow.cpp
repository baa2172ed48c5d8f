// SPDX-License-Identifier: GPL-3.0-or-later
#include "bitrow.h"

#include "spoken.h"

#include <algorithm>
#include <array>

namespace tessaro::clock
{
namespace
{

// "Stunden, Wert 16, an": built in a fixed buffer, as the tick runs ten times
// a second and a heap allocation per cell would be waste.
class AccessibleName
{
public:
    AccessibleName(std::string_view base, bool lit)
    {
        const std::string_view state = lit ? std::string_view(", an") : std::string_view(", aus");
        const std::size_t baseLength = std::min(base.size(), m_buffer.size() - state.size());
        auto end = std::copy_n(base.begin(), baseLength, m_buffer.begin());
        end = std::copy(state.begin(), state.end(), end);
        m_length = std::size_t(end - m_buffer.begin());
    }
    [[nodiscard]] std::string_view view() const { return {m_buffer.data(), m_length}; }

private:
    std::array<char, accessibleNameCapacity> m_buffer{};
    std::size_t m_length = 0;
};

void paintCell(const BitCell &cell, bool lit, bool spoken, Elements &elements, CellColours colours)
{
    elements.setBackColor(cell.key, lit ? colours.lit : colours.dark);
    if (cell.textCell)
        elements.setCaption(cell.key, lit ? "1" : "0");
    if (spoken)
        elements.setAccessibleName(cell.key, AccessibleName(cell.accessibleBase, lit).view());
}

} // namespace

int PaintBitRow(int value, BitRow row, Elements &elements, CellColours colours)
{
    const bool spoken = elements.readerListening();
    int rest = value;
    int shown = 0;
    for (const BitCell &cell : row) {
        const bool lit = rest >= cell.weight;
        if (lit) {
            rest -= cell.weight;
            shown += cell.weight;
        }
        paintCell(cell, lit, spoken, elements, colours);
    }
    return shown;
}

void announceRow(const RowTitle &title, int shown, Elements &elements)
{
    if (elements.readerListening())
        announceValue(elements, title.label, title.spoken, shown);
}

} // namespace tessaro::clock
