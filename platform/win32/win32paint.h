// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classiclook.h"
#include "windowdef.h"
#include "windowmodel.h"

#include <windows.h>

#include <string>

namespace tessaro::win32
{

// A colour of the window tables as GDI takes it; system colours come from
// the current colour scheme.
COLORREF colorRef(Colour colour);

RECT toRect(const DeviceEdges &edges);
void fill(HDC dc, const RECT &rect, Colour colour);
void fill(HDC dc, const DeviceEdges &edges, COLORREF colour);

// Where an element lies: its logical rectangle in the window, and the
// device pixel of the window where the painted surface starts (0, 0 for the
// window itself, the child window's corner for a child). Every edge is
// rounded from the window's logical pixels, as on every system.
struct Placement {
    PixelRect logical;
    POINT origin{};
    double ratio = 1.0;

    [[nodiscard]] int lineWidth() const { return deviceLineWidth(ratio); }
    // A rectangle in the element's own logical pixels on the surface.
    [[nodiscard]] DeviceEdges edges(const PixelRect &local) const;
    [[nodiscard]] DeviceEdges whole() const { return edges({0, 0, logical.width, logical.height}); }
};

// A windowless label: background (unless transparent), single border, and
// its text from the top, wrapped at spaces and clipped at the rectangle.
struct LabelLook {
    const ElementDef &def;
    const ElementState &state;
    const std::wstring &text;
    HFONT font;
    // The same font at 96 dpi: a caption breaks into the same lines at every
    // scale, where GDI's whole-pixel font sizes would make it run a little
    // narrower or wider than the label.
    HFONT layoutFont;
    bool condensed; // letters half a pixel closer (of the logical pixel)
};
// Leaves the label's font selected in `dc`: the caller restores the
// context once it has painted every label.
void paintLabel(HDC dc, const Placement &place, const LabelLook &look);

// A straight line in the table's style, both end points included, in the
// window's logical pixels, drawn on the window's surface.
void paintLine(HDC dc, const PixelLine &line, LineStyle style, double ratio);

// An etched group box without caption.
void paintGroupFrame(HDC dc, const Placement &place);

// A picture in a sunken box, scaled by the box's size; a ring on the border
// while it has the focus.
void paintPictureBox(HDC dc, const Placement &place, PictureId picture, bool focused);

// A graphical button: the whole face in its colour, a raised (pressed:
// sunken) edge, the caption with its access key underlined, and the focus
// ring.
struct ButtonLook {
    Colour face;
    Colour text;
    const std::wstring &caption;
    HFONT font;
    bool pressed;
    bool focused;
};
void paintButton(HDC dc, const Placement &place, const ButtonLook &look);

// The web-address frame: a bordered box in its colour with the caption set
// into its top edge at the left.
void paintWebFrame(HDC dc, const Placement &place, const ElementDef &def,
                   const std::wstring &caption, HFONT font);

// A check box without text: the classic 13-pixel box with a sunken edge on
// the control's colour, its mark (greyed: in grey), and the focus ring.
struct CheckBoxLook {
    Colour back;
    int value;
    bool focused;
};
void paintCheckBox(HDC dc, const Placement &place, const CheckBoxLook &look);

} // namespace tessaro::win32
