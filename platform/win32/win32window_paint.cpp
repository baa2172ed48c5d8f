// SPDX-License-Identifier: GPL-3.0-or-later
// The part of Win32Window that draws: the window's own surface (labels,
// lines, the group frame, the picture) and the cells and web-address frame.
#include "win32paint.h"
#include "win32window.h"

#include <algorithm>

namespace tessaro::win32
{

HDC BackBuffer::prepare(HDC screen, int width, int height)
{
    if (m_dc && m_width == width && m_height == height)
        return m_dc;
    release();
    m_dc = CreateCompatibleDC(screen);
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    m_previous = SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
    return m_dc;
}

void BackBuffer::release()
{
    if (!m_dc)
        return;
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
}

bool Win32Window::paintedBySurface(std::size_t at) const
{
    switch (model().element(at).kind) {
    case ElementKind::Label:
    case ElementKind::Line:
    case ElementKind::GroupFrame: // never takes the focus or a click
    case ElementKind::PictureBox:
        return true;
    default:
        return false;
    }
}

int Win32Window::scaled(int twips) const
{
    return devicePixels(twips, m_dpi);
}

// An element's rectangle on the client area (for a child window: on its
// parent) in device pixels; a contained element counts from its container.
RECT Win32Window::deviceRect(std::size_t at) const
{
    const TwipRect &r = model().element(at).rect;
    RECT rect{scaled(r.left), scaled(r.top), 0, 0};
    rect.right = rect.left + scaled(r.width);
    rect.bottom = rect.top + scaled(r.height);
    const auto container = model().containerOf(at);
    if (container && !m_children[*container]) {
        const RECT outer = deviceRect(*container);
        OffsetRect(&rect, outer.left, outer.top);
    }
    return rect;
}

// What an element covers on the window's surface, lines included.
RECT Win32Window::bounds(std::size_t at) const
{
    const ElementDef &def = model().element(at);
    if (def.kind != ElementKind::Line)
        return deviceRect(at);
    const TwipRect &r = def.rect;
    const int x1 = scaled(r.left), y1 = scaled(r.top), x2 = scaled(r.width), y2 = scaled(r.height);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
}

void Win32Window::invalidate(std::size_t at)
{
    const RECT r = bounds(at);
    InvalidateRect(m_hwnd, &r, FALSE);
}

void Win32Window::paint()
{
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(m_hwnd, &ps);
    RECT client;
    GetClientRect(m_hwnd, &client);
    HDC buffer = m_buffer.prepare(screen, client.right, client.bottom);
    const RECT &area = ps.rcPaint;
    paintSurface(buffer, area);
    BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer,
           area.left, area.top, SRCCOPY);
    EndPaint(m_hwnd, &ps);
}

// Only what lies in the area is drawn, bottom-most first, so each element
// covers those beneath it.
void Win32Window::paintSurface(HDC dc, const RECT &area)
{
    SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    fill(dc, area, model().window().backColour);
    for (std::size_t at = 0; at < model().size(); ++at) {
        if (!paintedBySurface(at) || !model().state(at).visible)
            continue;
        RECT covered;
        const RECT r = bounds(at);
        if (IntersectRect(&covered, &r, &area))
            paintElement(dc, at);
    }
    RestoreDC(dc, -1);
}

void Win32Window::paintElement(HDC dc, std::size_t at)
{
    const ElementDef &def = model().element(at);
    switch (def.kind) {
    case ElementKind::Label:
        paintLabel(dc, deviceRect(at),
                   {def, model().state(at), m_texts[at], m_fonts.font(def.font)});
        break;
    case ElementKind::Line:
        paintLine(dc,
                  {scaled(def.rect.left), scaled(def.rect.top), scaled(def.rect.width),
                   scaled(def.rect.height)},
                  def.lineStyle);
        break;
    case ElementKind::GroupFrame:
        paintGroupFrame(dc, deviceRect(at));
        break;
    case ElementKind::PictureBox:
        paintPictureBox(dc, deviceRect(at), def.picture);
        break;
    default:
        break;
    }
}

void Win32Window::paintChild(std::size_t at, HWND child)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(child, &ps);
    RECT r;
    GetClientRect(child, &r);
    const ElementDef &def = model().element(at);
    if (def.kind == ElementKind::WebFrame)
        paintWebFrame(dc, r, def, m_texts[at], m_fonts.font(def.font));
    else
        fill(dc, r, model().state(at).back);
    EndPaint(child, &ps);
}

} // namespace tessaro::win32
