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

// The three digit cells of one row of the hexadecimal readout, and what a
// screen reader calls each before its value.
struct HexCells {
    ElementKey high;     // after "Byte1"
    ElementKey low;      // after "Byte 0"
    ElementKey combined; // after "Addiert"
    std::string_view spokenHigh;
    std::string_view spokenLow;
    std::string_view spokenCombined;
};

inline constexpr HexCells hoursHex{ruzozura::hexa1[4],
                                   ruzozura::hexa1[5],
                                   ruzozura::hexa1[3],
                                   "Stunden hexadezimal, Byte 1",
                                   "Stunden hexadezimal, Byte 0",
                                   "Stunden hexadezimal, addiert"};
inline constexpr HexCells minutesHex{ruzozura::hexa1[8],
                                     ruzozura::hexa1[7],
                                     ruzozura::hexa1[6],
                                     "Minuten hexadezimal, Byte 1",
                                     "Minuten hexadezimal, Byte 0",
                                     "Minuten hexadezimal, addiert"};
inline constexpr HexCells secondsHex{ruzozura::hexa1[1],
                                     ruzozura::hexa1[0],
                                     ruzozura::hexa1[2],
                                     "Sekunden hexadezimal, Byte 1",
                                     "Sekunden hexadezimal, Byte 0",
                                     "Sekunden hexadezimal, addiert"};

// Writes a time value as two capital hexadecimal digits: the high digit, the
// low digit, and both together ("3B", "17", "00"). Time values lie in 0..59;
// anything outside 0..255 shows its two lowest hexadecimal digits. While a
// screen reader listens, each cell's name ends in its digits.
void writeHexSection(int value, const HexCells &cells, Elements &elements);

// A decimal readout and what a screen reader calls it before its value.
struct DecimalReadout {
    ElementKey key;
    std::string_view spoken;
};

inline constexpr DecimalReadout hoursDecimal{ruzozura::Stunde, "Stunden dezimal"};
inline constexpr DecimalReadout minutesDecimal{ruzozura::z2, "Minuten dezimal"};
inline constexpr DecimalReadout secondsDecimal{ruzozura::se, "Sekunden dezimal"};
inline constexpr DecimalReadout dayDecimal{ruzozura::Tag1, "Tag dezimal"};
inline constexpr DecimalReadout monthDecimal{ruzozura::Monat, "Monat dezimal"};
inline constexpr DecimalReadout yearDecimal{ruzozura::Jahr, "Jahr dezimal"};

// Writes a decimal readout's caption and, while a screen reader listens, its
// name with the value ("Stunden dezimal: 12").
void writeDecimal(int value, const DecimalReadout &readout, Elements &elements);

} // namespace tessaro::clock
