// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32fonts.h"

#include <initializer_list>

namespace tessaro::win32
{
namespace
{

int CALLBACK noteFound(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0; // one is enough
}

bool isInstalled(const wchar_t *face)
{
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

std::wstring firstInstalled(std::initializer_list<const wchar_t *> faces)
{
    for (const wchar_t *face : faces)
        if (isInstalled(face))
            return face;
    // None of them: the font mapper picks a face of the family asked for.
    return *faces.begin();
}

} // namespace

std::wstring faceFor(bool serif)
{
    // Ordered by how closely their metrics follow the designed face.
    static const std::wstring sans = firstInstalled(
        {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma", L"Liberation Sans", L"Arial"});
    static const std::wstring roman =
        firstInstalled({L"MS Serif", L"Times New Roman", L"Liberation Serif", L"DejaVu Serif"});
    return serif ? roman : sans;
}

FontSet::~FontSet()
{
    release();
}

void FontSet::release()
{
    for (HFONT &font : m_fonts) {
        if (font)
            DeleteObject(font);
        font = nullptr;
    }
}

void FontSet::create(int dotsPerInch)
{
    release();
    for (std::size_t at = 0; at < m_fonts.size(); ++at) {
        const FontDef def = fontDef(static_cast<FontId>(at));
        LOGFONTW font{};
        // Sizes are designed in pixels at 96 dpi; a negative height asks for
        // the character height without the internal leading.
        font.lfHeight = -MulDiv(def.pixelSize, dotsPerInch, 96);
        font.lfWeight = def.bold ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = ANSI_CHARSET;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = DEFAULT_QUALITY;
        font.lfPitchAndFamily = VARIABLE_PITCH | (def.serif ? FF_ROMAN : FF_SWISS);
        lstrcpynW(font.lfFaceName, faceFor(def.serif).c_str(), LF_FACESIZE);
        m_fonts[at] = CreateFontIndirectW(&font);
        if (!m_fonts[at])
            m_fonts[at] = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
}

} // namespace tessaro::win32
