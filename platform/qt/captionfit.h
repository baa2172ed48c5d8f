// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <string_view>

namespace tessaro::qt
{

// A caption as this toolkit draws it.
struct FittedCaption {
    std::string_view text;
    // Letters set half a pixel closer.
    bool condensed = false;
};

// The headings of the main window place their words with runs of spaces that
// suit the window's own face, MS Sans Serif. Liberation Sans, which stands in
// for it here, runs wider, so those captions are drawn with other runs of
// spaces (and the hexadecimal rows a little condensed) that put each place
// value over its column and end each word before its digit cell. Any other
// caption, or one of these elements with another text, stands as it is.
FittedCaption fitToSubstituteFace(const ElementDef &element, std::string_view caption);

} // namespace tessaro::qt
