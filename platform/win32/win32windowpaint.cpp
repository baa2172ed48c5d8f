// SPDX-License-Identifier: GPL-3.0-or-later
// The part of Win32Window that draws: the window's own surface (labels,
// lines, the date cells, the group frame) and the picture and web-address
// frame on their own child windows.
#include "win32paint.h"
#include "win32window.h"

#include <algorithm>
#include <vector>

namespace tessaro::win32
{

bool Win32Window::paintedBySurface(std::size_t at) const
{
    switch (model().element(at).kind) {
    case ElementKind::Label:
    case ElementKind::Line:
    case ElementKind::CellFrame:  // only its colour, and its tip on the window's
    case ElementKind::GroupFrame: // never takes the focus or a click
        return true;
    default:
        return false;
    }
}

double Win32Window::ratio() const
{
    return scaleOf(m_dpi);
}

// An element's rectangle in the window's logical pixels; a contained
// element counts from its container.
PixelRect Win32Window::logicalRect(std::size_t at) const
{
    PixelRect rect = pixelRect(model().element(at).rect);
    if (const auto container = model().containerOf(at)) {
        const PixelRect outer = logicalRect(*container);
        rect.left += outer.left;
        rect.top += outer.top;
    }
    return rect;
}

// Where an element is painted: on the window's surface, or on its own child
// window, whose corner is then the origin.
Placement Win32Window::placement(std::size_t at) const
{
    Placement place{logicalRect(at), {}, ratio()};
    if (m_children[at]) {
        const DeviceEdges own = deviceEdges(place.logical, place.ratio);
        place.origin = {own.left, own.top};
    }
    return place;
}

LabelLook Win32Window::labelLook(std::size_t at) const
{
    const ElementDef &def = model().element(at);
    return {def,
            model().state(at),
            m_texts[at],
            m_fonts.font(def.font),
            m_outlineLayout ? m_layoutFonts.font(def.font) : nullptr,
            m_condensed[at]};
}

ButtonLook Win32Window::buttonLook(std::size_t at, bool pressed, bool focused) const
{
    const ElementDef &def = model().element(at);
    return {model().state(at).back, def.foreColour, m_texts[at],
            m_fonts.font(def.font), pressed,        focused};
}

CaptionLayout Win32Window::captionLayout(HDC dc, std::size_t at) const
{
    if (model().element(at).kind == ElementKind::Label)
        return layOutCaption(dc, placement(at), labelLook(at));
    return layOutButtonCaption(dc, placement(at), buttonLook(at, false, false));
}

// An element's rectangle on the client area (for a child window: on its
// parent) in device pixels.
RECT Win32Window::deviceRect(std::size_t at) const
{
    RECT rect = toRect(deviceEdges(logicalRect(at), ratio()));
    const auto container = model().containerOf(at);
    if (container && m_children[*container]) {
        const RECT outer = toRect(deviceEdges(logicalRect(*container), ratio()));
        OffsetRect(&rect, -outer.left, -outer.top);
    }
    return rect;
}

PixelLine Win32Window::logicalLine(std::size_t at) const
{
    return pixelLine(model().element(at).rect);
}

// What an element covers on the window's surface, lines included.
RECT Win32Window::bounds(std::size_t at) const
{
    if (model().element(at).kind != ElementKind::Line)
        return deviceRect(at);
    return toRect(look::lineBounds(logicalLine(at), ratio()));
}

void Win32Window::invalidate(std::size_t at)
{
    const RECT r = bounds(at);
    InvalidateRect(m_hwnd, &r, FALSE);
}

// Only what the update region touches is drawn, into a buffer at least the
// size of the region's bounds: an idle clock keeps no window-sized bitmap,
// and a second that changes repaints a few cells.
void Win32Window::paint()
{
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(m_hwnd, update, FALSE); // before BeginPaint validates it
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(m_hwnd, &ps);
    paintArea(screen, ps.rcPaint, update);
    EndPaint(m_hwnd, &ps);
    DeleteObject(update);
}

// The whole client area into a device context that someone else holds, as
// for a print or a picture of the window.
void Win32Window::printClient(HDC dc)
{
    RECT area;
    GetClientRect(m_hwnd, &area);
    HRGN update = CreateRectRgnIndirect(&area);
    paintArea(dc, area, update);
    DeleteObject(update);
}

// Both draw here: the surface within `area` (the bounds of `update`) goes
// to the screen in one copy.
void Win32Window::paintArea(HDC screen, const RECT &area, HRGN update)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC buffer = m_buffer.prepare(screen, width, height);
    SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
    paintSurface(buffer, area, update);
    SetViewportOrgEx(buffer, 0, 0, nullptr);
    BitBlt(screen, area.left, area.top, width, height, buffer, 0, 0, SRCCOPY);
    m_buffer.releaseIfLarge();
}

// Bottom-most first, so each element covers those beneath it; `area` is the
// bounds of `update`, both in client coordinates.
void Win32Window::paintSurface(HDC dc, const RECT &area, HRGN update)
{
    std::vector<std::size_t> touched;
    for (std::size_t at = 0; at < model().size(); ++at) {
        if (!paintedBySurface(at) || !model().state(at).visible)
            continue;
        const RECT r = bounds(at);
        if (RectInRegion(update, &r))
            touched.push_back(at);
    }
    // The buffer keeps one of the window's own fonts between paints, so the
    // restore below selects no stock font, whose default quality makes wine
    // ask the X server for its font settings.
    useFont(dc, m_fonts.font(FontId::Standard));
    SaveDC(dc);
    // Clip regions count in device pixels of the buffer.
    OffsetRgn(update, -area.left, -area.top);
    SelectClipRgn(dc, update);
    OffsetRgn(update, area.left, area.top);
    fill(dc, area, model().window().backColour);
    for (const std::size_t at : touched)
        paintElement(dc, at);
    RestoreDC(dc, -1);
}

const CaptionLayout &Win32Window::labelLayout(HDC dc, std::size_t at)
{
    std::optional<CaptionLayout> &layout = m_layouts[at];
    if (!layout)
        layout = layOutCaption(dc, placement(at), labelLook(at));
    return *layout;
}

void Win32Window::paintElement(HDC dc, std::size_t at)
{
    const ElementDef &def = model().element(at);
    switch (def.kind) {
    case ElementKind::Label:
        paintLabel(dc, placement(at), labelLook(at), labelLayout(dc, at));
        break;
    case ElementKind::Line:
        paintLine(dc, logicalLine(at), def.lineStyle, ratio());
        break;
    case ElementKind::GroupFrame:
        paintGroupFrame(dc, placement(at));
        break;
    case ElementKind::CellFrame:
        fill(dc, deviceRect(at), model().state(at).back);
        break;
    default:
        break;
    }
}

void Win32Window::paintChild(std::size_t at, HWND child)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(child, &ps);
    const ElementDef &def = model().element(at);
    if (def.kind == ElementKind::WebFrame)
        paintWebFrame(dc, placement(at), def, m_texts[at], m_fonts.font(def.font));
    else if (def.kind == ElementKind::PictureBox)
        paintPictureBox(dc, placement(at), def.picture, GetFocus() == child);
    EndPaint(child, &ps);
}

} // namespace tessaro::win32
