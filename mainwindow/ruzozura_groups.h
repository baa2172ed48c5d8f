// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ruzozura_keys.h"

#include <array>
#include <cstdint>

// The groups of elements that the main window's handlers act on together.
namespace tessaro::ruzozura::groups
{

// Each colour button selects the colour of its own face as the lit colour.
struct ColourButton {
    ElementKey button;
    std::int32_t colour;
};
inline constexpr std::array<ColourButton, 3> colourButtons{{
    {Command2, 0x008080}, // olive: "Auf grüne Dioden umschalten"
    {Command3, 0x0000FF}, // red
    {Command4, 0xC00000}, // blue
}};

// Shown, and boxed, by "Digitale Zeitanzeige ein/aus".
inline constexpr std::array<ElementKey, 6> decimalReadouts{{Stunde, z2, se, Tag1, Monat, Jahr}};

// Shown by "Infos zu Bit und Byte an/aus".
inline constexpr std::array<ElementKey, 9> bitAndByteInfo{
    {Label18, Label17, Label16, Line5, Line4, Line3[0], Line3[1], Line6, Line7}};

// Shown by "Hexadezimalanzeige ein/aus": the rows, and the digit cells set into them.
inline constexpr std::array<ElementKey, 3> hexRows{{hex1[0], hex1[1], hex1[2]}};
inline constexpr std::array<ElementKey, 9> hexDigits{
    {hexa1[0], hexa1[1], hexa1[2], hexa1[3], hexa1[4], hexa1[5], hexa1[6], hexa1[7], hexa1[8]}};

// The title of the hours row, which reads "Uhr" beside the decimal readouts.
inline constexpr ElementKey hoursTitle = Label1;

} // namespace tessaro::ruzozura::groups
