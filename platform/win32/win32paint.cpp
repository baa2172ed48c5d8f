// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32paint.h"

#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tessaro::win32
{
namespace
{

// Selects a GDI object for the lifetime of the guard.
class Selected
{
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(m_dc, m_previous); }
    Selected(const Selected &) = delete;
    Selected &operator=(const Selected &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Selects a font unless the device context holds it already. Under wine
// every font selection on a screen-compatible context asks the X display
// for its font settings again (a file search and a uname each time, on a
// display without resources); a second's repaint paints many labels in a
// few faces. The surface's paint restores the context's font once at its end.
void useFont(HDC dc, HFONT font)
{
    if (GetCurrentObject(dc, OBJ_FONT) != font)
        SelectObject(dc, font);
}

// A picture's pixels as a 32-bit bitmap (0x00RRGGBB), top row first.
std::vector<std::uint32_t> toBitmapBits(const PixelPicture &picture)
{
    std::vector<std::uint32_t> bits;
    bits.reserve(static_cast<std::size_t>(picture.width * picture.height));
    for (const std::string_view row : picture.rows)
        for (const char key : row) {
            const auto index = paletteIndex(picture, key);
            const Colour c = index ? picture.palette[*index].colour : colours::buttonFace;
            const COLORREF colour = colorRef(c);
            bits.push_back(std::uint32_t(GetRValue(colour)) << 16 |
                           std::uint32_t(GetGValue(colour)) << 8 | GetBValue(colour));
        }
    return bits;
}

// A frame one line wide along the inside of `outer`.
void frame(HDC dc, const DeviceEdges &outer, int lineWidth, COLORREF topLeft, COLORREF bottomRight)
{
    const look::FrameRuns runs = look::frameRuns(outer, lineWidth);
    for (const DeviceEdges &run : runs.topLeft)
        fill(dc, run, topLeft);
    for (const DeviceEdges &run : runs.bottomRight)
        fill(dc, run, bottomRight);
}

void frame(HDC dc, const DeviceEdges &outer, int lineWidth, COLORREF colour)
{
    frame(dc, outer, lineWidth, colour, colour);
}

// The classic two-line edges in the system's 3D colours, outer line first.
enum class Edge { Raised, Sunken, Etched };
void drawEdge(HDC dc, const DeviceEdges &outer, int lineWidth, Edge edge)
{
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF highlight = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    const DeviceEdges inner = look::inset(outer, 1, lineWidth);
    switch (edge) {
    case Edge::Raised:
        frame(dc, outer, lineWidth, light, darkShadow);
        frame(dc, inner, lineWidth, highlight, shadow);
        break;
    case Edge::Sunken:
        frame(dc, outer, lineWidth, shadow, highlight);
        frame(dc, inner, lineWidth, darkShadow, light);
        break;
    case Edge::Etched:
        frame(dc, outer, lineWidth, shadow, highlight);
        frame(dc, inner, lineWidth, highlight, shadow);
        break;
    }
}

void drawRing(HDC dc, const look::FocusRing &ring, int lineWidth)
{
    for (int line = 0; line < ring.lines; ++line)
        frame(dc, look::inset(ring.outer, line, lineWidth), lineWidth, colorRef(ring.colour));
}

// One line from the left, each letter `closer` device pixels nearer the one
// before than the face sets it, rounded letter by letter.
void drawCondensed(HDC dc, const RECT &line, std::wstring_view text, double closer)
{
    const int count = static_cast<int>(text.size());
    std::vector<int> ends(text.size());
    SIZE extent{};
    GetTextExtentExPointW(dc, text.data(), count, 0, nullptr, ends.data(), &extent);
    std::vector<INT> advances(text.size());
    int placed = 0;
    for (int i = 0; i < count; ++i) {
        const int end = static_cast<int>(std::lround(ends[std::size_t(i)] - closer * (i + 1)));
        advances[std::size_t(i)] = end - placed;
        placed = end;
    }
    ExtTextOutW(dc, line.left, line.top, ETO_CLIPPED, &line, text.data(), static_cast<UINT>(count),
                advances.data());
}

UINT alignmentOf(const ElementDef &def)
{
    switch (look::alignmentOf(def.flags)) {
    case look::Alignment::Right:
        return DT_RIGHT;
    case look::Alignment::Centre:
        return DT_CENTER;
    case look::Alignment::Left:
        break;
    }
    return DT_LEFT;
}

} // namespace

COLORREF colorRef(Colour colour)
{
    if (isSystemColour(colour))
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return RGB(redOf(colour), greenOf(colour), blueOf(colour));
}

RECT toRect(const DeviceEdges &e)
{
    return {e.left, e.top, e.right, e.bottom};
}

DeviceEdges Placement::edges(const PixelRect &local) const
{
    DeviceEdges e = deviceEdges(
        {logical.left + local.left, logical.top + local.top, local.width, local.height}, ratio);
    return {e.left - origin.x, e.top - origin.y, e.right - origin.x, e.bottom - origin.y};
}

void fill(HDC dc, const DeviceEdges &edges, COLORREF colour)
{
    if (edges.right <= edges.left || edges.bottom <= edges.top)
        return;
    // ExtTextOut with an opaque rectangle fills without creating a brush.
    const RECT rect = toRect(edges);
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void fill(HDC dc, const RECT &rect, Colour colour)
{
    fill(dc, DeviceEdges{rect.left, rect.top, rect.right, rect.bottom}, colorRef(colour));
}

void paintLabel(HDC dc, const Placement &place, const LabelLook &look)
{
    const DeviceEdges outer = place.whole();
    if (!(look.def.flags & flags::transparent))
        fill(dc, outer, colorRef(look.state.back));
    const bool border = look.state.border == 1;
    if (border)
        frame(dc, outer, place.lineWidth(), RGB(0, 0, 0));
    if (look.text.empty())
        return;
    const PixelRect inside =
        look::textRect({0, 0, place.logical.width, place.logical.height}, border);
    const RECT rect = toRect(place.edges(inside));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(look.def.foreColour));
    const double closer = look.condensed ? 0.5 : 0.0;
    const auto widthOf = [dc, closer](std::wstring_view piece) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, piece.data(), static_cast<int>(piece.size()), &extent);
        return static_cast<int>(extent.cx - closer * static_cast<double>(piece.size()));
    };
    useFont(dc, look.layoutFont);
    const std::vector<std::wstring_view> lines =
        look::wrapAtBlanks<wchar_t>(look.text, inside.width, widthOf);
    useFont(dc, look.font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // Line by line from the top, closer where the face runs a little wider
    // than the label was made for; what still does not fit is cut off at the
    // bottom edge.
    const double step =
        look::lineStep(static_cast<int>(lines.size()), rect.bottom - rect.top,
                       metrics.tmHeight - metrics.tmInternalLeading, metrics.tmHeight);
    for (std::size_t at = 0; at < lines.size(); ++at) {
        RECT line = rect;
        line.top = rect.top + static_cast<LONG>(std::lround(step * static_cast<double>(at)));
        if (line.top >= rect.bottom)
            break;
        line.bottom = std::min<LONG>(line.top + metrics.tmHeight, rect.bottom);
        const std::wstring_view text = lines[at];
        if (look.condensed)
            drawCondensed(dc, line, text, closer * place.ratio);
        else
            DrawTextW(dc, text.data(), static_cast<int>(text.size()), &line,
                      DT_TOP | DT_SINGLELINE | DT_NOPREFIX | alignmentOf(look.def));
    }
}

void paintLine(HDC dc, const PixelLine &line, LineStyle style, double ratio)
{
    // Runs of whole device pixels: a wide GDI pen draws only solid lines.
    for (const DeviceEdges &run : look::lineRuns(line, style, ratio, look::gdiPens))
        fill(dc, run, RGB(0, 0, 0));
}

void paintGroupFrame(HDC dc, const Placement &place)
{
    drawEdge(dc, place.whole(), place.lineWidth(), Edge::Etched);
}

void paintPictureBox(HDC dc, const Placement &place, PictureId picture, bool focused)
{
    const DeviceEdges outer = place.whole();
    const int lineWidth = place.lineWidth();
    fill(dc, outer, colorRef(colours::buttonFace));
    drawEdge(dc, outer, lineWidth, Edge::Sunken);
    const RECT inside = toRect(look::inset(outer, 2, lineWidth));
    const PixelPicture pixels = tessaro::picture(picture);
    if (!pixels.empty()) {
        const std::vector<std::uint32_t> bits = toBitmapBits(pixels);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = pixels.width;
        info.bmiHeader.biHeight = -pixels.height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // The picture fills the box inside its border, at the screen's scale.
        const int size = std::min(inside.right - inside.left, inside.bottom - inside.top);
        StretchDIBits(dc, inside.left, inside.top, size, size, 0, 0, pixels.width, pixels.height,
                      bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    if (!focused)
        return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    if (const auto ring =
            look::focusRing(ElementKind::PictureBox, outer, place.logical,
                            rgb(GetRValue(face), GetGValue(face), GetBValue(face)), lineWidth))
        drawRing(dc, *ring, lineWidth);
}

void paintButton(HDC dc, const Placement &place, const ButtonLook &look)
{
    const DeviceEdges outer = place.whole();
    const int lineWidth = place.lineWidth();
    fill(dc, outer, colorRef(look.face));
    drawEdge(dc, outer, lineWidth, look.pressed ? Edge::Sunken : Edge::Raised);
    if (!look.caption.empty()) {
        Selected font(dc, look.font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(look.text));
        RECT text = toRect(look::inset(outer, 2, lineWidth));
        if (look.pressed)
            OffsetRect(&text, lineWidth, lineWidth);
        DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (!look.focused)
        return;
    const COLORREF face = colorRef(look.face);
    if (const auto ring =
            look::focusRing(ElementKind::Button, outer, place.logical,
                            rgb(GetRValue(face), GetGValue(face), GetBValue(face)), lineWidth))
        drawRing(dc, *ring, lineWidth);
}

void paintWebFrame(HDC dc, const Placement &place, const ElementDef &def,
                   const std::wstring &caption, HFONT font)
{
    fill(dc, place.whole(), colorRef(def.backColour));
    Selected selected(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    // The layout counts in logical pixels, like the window's geometry.
    const auto logical = [&place](LONG device) {
        return static_cast<int>(std::lround(device / place.ratio));
    };
    const look::WebFrameLayout layout =
        look::webFrameLayout(place.logical.width, place.logical.height, logical(metrics.tmAscent),
                             logical(metrics.tmHeight), logical(extent.cx));
    frame(dc, place.edges(layout.border), place.lineWidth(), RGB(128, 128, 128));
    fill(dc, place.edges(layout.captionBack), colorRef(def.backColour));
    RECT text = toRect(place.edges(layout.text));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(def.foreColour));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void paintCheckBox(HDC dc, const Placement &place, const CheckBoxLook &look)
{
    const int lineWidth = place.lineWidth();
    fill(dc, place.whole(), colorRef(look.back));
    const PixelRect box = look::checkBoxRect(place.logical.width, place.logical.height);
    const DeviceEdges outer = place.edges(box);
    fill(dc, outer, RGB(255, 255, 255));
    drawEdge(dc, outer, lineWidth, Edge::Sunken);
    if (look.value != 0) {
        const COLORREF mark = look.value == 1 ? RGB(0, 0, 0) : RGB(128, 128, 128);
        for (const PixelRect &column : look::checkMark(box))
            fill(dc, place.edges(column), mark);
    }
    if (!look.focused)
        return;
    if (const auto ring =
            look::focusRing(ElementKind::CheckBox, outer, place.logical, colours::white, lineWidth))
        drawRing(dc, *ring, lineWidth);
}

} // namespace tessaro::win32
