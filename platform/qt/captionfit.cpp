// SPDX-License-Identifier: GPL-3.0-or-later
#include "captionfit.h"

#include "ruzozura_headings.h"
#include "ruzozura_keys.h"
#include "windowdef.h"

#include <array>

namespace tessaro::qt
{
namespace
{

struct Fitting {
    ElementKey key;
    // The caption it replaces: another that the clock writes, or (when
    // empty) the one the element opens with.
    std::string_view caption;
    FittedCaption fitted;
};

// Measured with Liberation Sans 11 px: each place value within 3 px of its
// column's centre ("32 16", one segment, between its two columns); each
// hexadecimal word between the digit cell before it and its own.
constexpr std::array fittings{
    // Runs: 2, 4, 6, 6, 6, 1.
    Fitting{ruzozura::Label14, {}, {"Dezimalwert  16    8      4      2      I "}},
    // Runs: 7, 6, 5, 6, 6.
    Fitting{ruzozura::Label6, {}, {"Dezimalwert       32 16      8     4      2      I"}},
    // Runs: 1, 2, 2, 2, 4, 4, 4, 6, 5, 6, 1.
    Fitting{ruzozura::Label15,
            ruzozura::yearHeadingElevenPlaces,
            {"1024 512  256  128  64    32    16    8      4     2      I "}},
    // Runs: 33, 4, 3, 5, 6, 6, 5, 1.
    Fitting{ruzozura::Label15,
            ruzozura::yearHeadingSevenPlaces,
            {"                                 64    32   16     8      4      2     I "}},
    // "Hexadeximal Byte1" has no run of spaces to shorten, so the rows are
    // condensed. Runs: 25, 21; the minutes row's digit cells sit 3 px further
    // right, so there "Addiert" gets 23.
    Fitting{ruzozura::hex1[2],
            {},
            {"Hexadeximal Byte1                         Byte 0                     Addiert", true}},
    Fitting{
        ruzozura::hex1[1],
        {},
        {"Hexadeximal Byte1                         Byte 0                       Addiert", true}},
    Fitting{ruzozura::hex1[0],
            {},
            {"Hexadeximal Byte1                         Byte 0                     Addiert", true}},
};

} // namespace

FittedCaption fitToSubstituteFace(const ElementDef &element, std::string_view caption)
{
    for (const Fitting &fitting : fittings) {
        const std::string_view replaced =
            fitting.caption.empty() ? element.caption : fitting.caption;
        if (fitting.key == element.key && replaced == caption)
            return fitting.fitted;
    }
    return {caption};
}

} // namespace tessaro::qt
