// SPDX-License-Identifier: GPL-3.0-or-later
#include "readouts.h"

#include "spoken.h"

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

    const std::string_view high{&both[0], 1};
    const std::string_view low{&both[1], 1};
    const std::string_view combined{both.data(), both.size()};
    elements.setCaption(cells.high, high);
    elements.setCaption(cells.low, low);
    elements.setCaption(cells.combined, combined);
    if (elements.readerListening())
        announceValue(elements, cells.combined, cells.spokenCombined, combined);
}

void writeDecimal(int value, const DecimalReadout &readout, Elements &elements)
{
    const DecimalText text(value);
    elements.setCaption(readout.key, text.view());
    if (elements.readerListening())
        announceValue(elements, readout.key, readout.spoken, text.view());
}

} // namespace tessaro::clock
