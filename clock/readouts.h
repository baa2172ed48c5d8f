// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <array>
#include <string_view>

namespace tessaro::clock
{

// A number as the decimal readouts show it: digits only, no leading zero, no
// padding, a minus sign only for a negative number. Kept in a fixed buffer.
class DecimalText
{
public:
    explicit DecimalText(int value);
    [[nodiscard]] std::string_view view() const { return {m_buffer.data(), m_length}; }

private:
    std::array<char, 12> m_buffer{};
    std::size_t m_length = 0;
};

// The three digit cells of one row of the hexadecimal readout, and what a
// screen reader calls the combined one before its value.
struct HexCells {
    ElementKey high;     // after "Byte1"
    ElementKey low;      // after "Byte 0"
    ElementKey combined; // after "Addiert"
    std::string_view spokenCombined;
};

// Writes a time value as two capital hexadecimal digits: the high digit, the
// low digit, and both together ("3B", "17", "00"). Time values lie in 0..59;
// anything outside 0..255 shows its two lowest hexadecimal digits. While a
// screen reader listens, the combined cell is named after both digits
// ("Stunden hexadezimal, addiert: 0E"); the single digits keep their names.
void writeHexSection(int value, const HexCells &cells, Elements &elements);

// A decimal readout and what a screen reader calls it before its value.
struct DecimalReadout {
    ElementKey key;
    std::string_view spoken;
};

// Writes a decimal readout's caption and, while a screen reader listens, its
// name with the value ("Stunden dezimal: 12").
void writeDecimal(int value, const DecimalReadout &readout, Elements &elements);

} // namespace tessaro::clock
