// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32fonts.h"

namespace tessaro::win32
{
std::wstring faceFor(bool serif)
{
    // Where the face is missing, the font mapper takes the nearest installed
    // face of the family that the request names (swiss or roman), as Windows
    // does for any program that asks for "MS Sans Serif".
    return serif ? L"MS Serif" : L"MS Sans Serif";
}

std::wstring scalableFaceFor(bool serif)
{
    return serif ? L"Times New Roman" : L"Microsoft Sans Serif";
}

// The smoothing the user chose for the screen, asked for outright. On
// Windows it is what the default quality gives; wine, told outright, no
// longer asks the X server for its font settings on every selection of the
// font into a device context.
BYTE systemFontQuality()
{
    BOOL smoothing = FALSE;
    if (!SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0))
        return DEFAULT_QUALITY;
    if (!smoothing)
        return NONANTIALIASED_QUALITY;
    UINT type = FE_FONTSMOOTHINGSTANDARD;
    SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0);
    return type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
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

void FontSet::create(int dotsPerInch, bool scalable)
{
    release();
    const BYTE quality = systemFontQuality();
    for (std::size_t at = 0; at < m_fonts.size(); ++at) {
        const FontDef def = fontDef(static_cast<FontId>(at));
        LOGFONTW font{};
        // Sizes are designed in pixels at 96 dpi; a negative height asks for
        // the character height without the internal leading. Rounded down:
        // GDI has no half pixels, and a text a pixel too high wraps or is cut
        // where the label was made to fit it.
        font.lfHeight = -(def.pixelSize * dotsPerInch / 96);
        font.lfWeight = def.bold ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = ANSI_CHARSET;
        font.lfOutPrecision = scalable ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = quality;
        font.lfPitchAndFamily = VARIABLE_PITCH | (def.serif ? FF_ROMAN : FF_SWISS);
        lstrcpynW(font.lfFaceName, (scalable ? scalableFaceFor : faceFor)(def.serif).c_str(),
                  LF_FACESIZE);
        m_fonts[at] = CreateFontIndirectW(&font);
        if (!m_fonts[at])
            m_fonts[at] = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    const std::wstring face = faceOf(font(FontId::Standard));
    m_substitute = face != faceFor(false) && face != scalableFaceFor(false);
}

std::wstring faceOf(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return face;
}

} // namespace tessaro::win32
