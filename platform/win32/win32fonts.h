// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <windows.h>

#include <array>
#include <string>

namespace tessaro::win32
{

// The five fonts of the windows at one screen resolution: "MS Sans Serif" and
// "MS Serif" asked for by name, or the nearest installed face of similar
// metrics where they are missing.
class FontSet
{
public:
    FontSet() = default;
    ~FontSet();
    FontSet(const FontSet &) = delete;
    FontSet &operator=(const FontSet &) = delete;

    // (Re)creates the fonts for a screen of this many dots per inch.
    void create(int dotsPerInch);
    [[nodiscard]] HFONT font(FontId id) const { return m_fonts[static_cast<std::size_t>(id)]; }

private:
    void release();

    std::array<HFONT, 5> m_fonts{};
};

// The installed face that stands for the sans-serif or the serif face of the
// windows: the designed one if present, else one of similar size and width.
std::wstring faceFor(bool serif);

} // namespace tessaro::win32
