// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"
#include "windowmodel.h"

#include <windows.h>

#include <string>

namespace tessaro::win32
{

// A colour of the window tables as GDI takes it; system colours come from
// the current colour scheme.
COLORREF colorRef(Colour colour);

void fill(HDC dc, const RECT &rect, Colour colour);

// A windowless label: background (unless transparent), single border, and
// its text from the top, wrapped at spaces and clipped at the rectangle.
struct LabelLook {
    const ElementDef &def;
    const ElementState &state;
    const std::wstring &text;
    HFONT font;
};
void paintLabel(HDC dc, RECT rect, const LabelLook &look);

// A straight line in the table's style, both end points included.
void paintLine(HDC dc, const PixelLine &line, LineStyle style);

// An etched group box without caption.
void paintGroupFrame(HDC dc, const RECT &rect);

// A picture in a sunken box, scaled by the box's size.
void paintPictureBox(HDC dc, const RECT &rect, PictureId picture);

// A graphical button: the whole face in its colour, a raised (pressed:
// sunken) edge, the caption with its access key underlined, and the focus
// rectangle.
struct ButtonLook {
    Colour face;
    Colour text;
    const std::wstring &caption;
    HFONT font;
    bool pressed;
    bool focused;
};
void paintButton(HDC dc, const RECT &rect, const ButtonLook &look);

// The web-address frame: a bordered box in its colour with the caption set
// into its top edge at the left.
void paintWebFrame(HDC dc, const RECT &rect, const ElementDef &def, const std::wstring &caption,
                   HFONT font);

} // namespace tessaro::win32
