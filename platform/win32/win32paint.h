// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classiclook.h"
#include "windowdef.h"
#include "windowmodel.h"

#include <windows.h>

#include <string>
#include <vector>

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
    // Where not null, the same face `outlineMagnification` times larger at
    // 96 dpi: each word then starts where the face's outline widths put it,
    // as on Linux, and a caption breaks into the same lines at every scale,
    // where whole-pixel font sizes and advances would move place values off
    // their columns. Null: the face's own advances throughout (the classic
    // bitmap face at 96 dpi).
    HFONT layoutFont;
    bool condensed; // letters half a pixel closer (of the logical pixel)
};
constexpr int outlineMagnification = 16;

// One line of a caption where the label draws it, in device pixels of the
// surface: where its first letter starts, its top, and where each letter
// ends, counted from `left`.
struct CaptionLine {
    std::wstring_view text;
    int left = 0;
    int top = 0;
    std::vector<int> ends;
};
// A label's caption laid out in the label's text rectangle: wrapped at
// blanks, aligned, each line `height` device pixels high with its baseline
// `ascent` below its top. Nothing is clipped: what runs past `clip` is cut
// off when drawn.
struct CaptionLayout {
    RECT clip{};
    int height = 0;
    int ascent = 0;
    std::vector<CaptionLine> lines;
};
// Selects a font unless the device context holds it already. Under wine
// every selection of a font into a screen-compatible context asks the X
// display for its font settings again (a file search and a uname each time,
// on a display without resources); a second's repaint lays out and paints
// many labels in a few faces.
void useFont(HDC dc, HFONT font);
// Leaves the label's font selected in `dc`: the caller restores the
// context once it has laid out or painted every label.
CaptionLayout layOutCaption(HDC dc, const Placement &place, const LabelLook &look);
// Leaves the label's font selected in `dc` (see layOutCaption); `layout`
// is the caption laid out by it, perhaps at an earlier paint.
void paintLabel(HDC dc, const Placement &place, const LabelLook &look, const CaptionLayout &layout);

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
// Where a button draws its caption: one line, centred in the face inside
// its edge; the "&" before the access key takes no room.
CaptionLayout layOutButtonCaption(HDC dc, const Placement &place, const ButtonLook &look);

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
