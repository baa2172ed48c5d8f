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

    // (Re)creates the fonts for a screen of this many dots per inch. The
    // classic faces are bitmap fonts of a few sizes, which the mapper hands
    // smaller than asked for at other scales, and larger ones made for
    // another resolution: `scalable` asks for their outline faces instead.
    void create(int dotsPerInch, bool scalable);
    [[nodiscard]] HFONT font(FontId id) const { return m_fonts[static_cast<std::size_t>(id)]; }
    // Whether the font mapper handed another face for "MS Sans Serif" (wine
    // without its own fonts gives Liberation Sans), which runs wider.
    [[nodiscard]] bool substitute() const { return m_substitute; }

private:
    void release();

    std::array<HFONT, 5> m_fonts{};
    bool m_substitute = false;
};

// The face the windows ask for, sans-serif or serif, and its outline face
// of the same metrics.
std::wstring faceFor(bool serif);
std::wstring scalableFaceFor(bool serif);
// The text quality that the screen's font smoothing setting asks for.
BYTE systemFontQuality();
// The face that the font mapper gave a font.
std::wstring faceOf(HFONT font);

} // namespace tessaro::win32
