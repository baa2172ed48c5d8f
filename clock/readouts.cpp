// SPDX-License-Identifier: GPL-3.0-or-later
#include "readouts.h"

#include <charconv>

namespace tessaro::clock
{

DecimalText::DecimalText(int value)
{
    // The buffer holds every int, so to_chars cannot fail here.
    const auto result = std::to_chars(m_buffer.data(), m_buffer.data() + m_buffer.size(), value);
    m_length = std::size_t(result.ptr - m_buffer.data());
}

void writeHexSection(int value, const HexCells &cells, Elements &elements)
{
    static constexpr std::string_view digits = "0123456789ABCDEF";
    const unsigned byte = unsigned(value) & 0xFFu;
    const std::array<char, 2> both{digits[byte >> 4], digits[byte & 0xFu]};

    elements.setCaption(cells.high, {&both[0], 1});
    elements.setCaption(cells.low, {&both[1], 1});
    elements.setCaption(cells.combined, {both.data(), both.size()});
}

} // namespace tessaro::clock
