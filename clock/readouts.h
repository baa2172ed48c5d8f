// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"
#include "ruzozura_keys.h"

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

// The three digit cells of one row of the hexadecimal readout.
struct HexCells {
    ElementKey high;     // after "Byte1"
    ElementKey low;      // after "Byte 0"
    ElementKey combined; // after "Addiert"
};

inline constexpr HexCells hoursHex{ruzozura::hexa1[4], ruzozura::hexa1[5], ruzozura::hexa1[3]};
inline constexpr HexCells minutesHex{ruzozura::hexa1[8], ruzozura::hexa1[7], ruzozura::hexa1[6]};
inline constexpr HexCells secondsHex{ruzozura::hexa1[1], ruzozura::hexa1[0], ruzozura::hexa1[2]};

// Writes a time value as two capital hexadecimal digits: the high digit, the
// low digit, and both together ("3B", "17", "00"). Time values lie in 0..59;
// anything outside 0..255 shows its two lowest hexadecimal digits.
void writeHexSection(int value, const HexCells &cells, Elements &elements);

} // namespace tessaro::clock
