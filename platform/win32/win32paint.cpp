// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32paint.h"

#include "win32pictures.h"

#include <algorithm>
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

UINT alignmentOf(const ElementDef &def)
{
    if (def.flags & flags::alignRight)
        return DT_RIGHT;
    if (def.flags & flags::alignCentre)
        return DT_CENTER;
    return DT_LEFT;
}

int penStyleOf(LineStyle style)
{
    switch (style) {
    case LineStyle::Dotted:
        return PS_DOT;
    case LineStyle::DashDotDot:
        return PS_DASHDOTDOT;
    case LineStyle::Solid:
        break;
    }
    return PS_SOLID;
}

void frame(HDC dc, const RECT &rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

} // namespace

COLORREF colorRef(Colour colour)
{
    if (isSystemColour(colour))
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return RGB(redOf(colour), greenOf(colour), blueOf(colour));
}

void fill(HDC dc, const RECT &rect, Colour colour)
{
    // ExtTextOut with an opaque rectangle fills without creating a brush.
    SetBkColor(dc, colorRef(colour));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void paintLabel(HDC dc, RECT rect, const LabelLook &look)
{
    if (!(look.def.flags & flags::transparent))
        fill(dc, rect, look.state.back);
    if (look.state.border == 1) {
        frame(dc, rect, RGB(0, 0, 0));
        InflateRect(&rect, -1, -1);
    }
    if (look.text.empty())
        return;
    Selected font(dc, look.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(look.def.foreColour));
    DrawTextW(dc, look.text.c_str(), static_cast<int>(look.text.size()), &rect,
              DT_TOP | DT_WORDBREAK | DT_NOPREFIX | alignmentOf(look.def));
}

void paintLine(HDC dc, const PixelLine &line, LineStyle style)
{
    HPEN pen = CreatePen(penStyleOf(style), 1, RGB(0, 0, 0));
    {
        Selected selected(dc, pen);
        SetBkMode(dc, TRANSPARENT);
        // LineTo leaves out the last pixel; one more step along the line
        // draws it.
        const int stepX = line.x2 > line.x1 ? 1 : (line.x2 < line.x1 ? -1 : 0);
        const int stepY = line.y2 > line.y1 ? 1 : (line.y2 < line.y1 ? -1 : 0);
        MoveToEx(dc, line.x1, line.y1, nullptr);
        LineTo(dc, line.x2 + stepX, line.y2 + (stepX == 0 && stepY == 0 ? 1 : stepY));
    }
    DeleteObject(pen);
}

void paintGroupFrame(HDC dc, const RECT &rect)
{
    RECT edge = rect;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
}

void paintPictureBox(HDC dc, const RECT &rect, PictureId picture)
{
    fill(dc, rect, colours::buttonFace);
    RECT inside = rect;
    DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const PictureBits bits = pictureBits(picture);
    if (bits.pixels.empty())
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bits.width;
    info.bmiHeader.biHeight = -bits.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // The picture fills the box inside its border, at the screen's scale.
    const int size = std::min(inside.right - inside.left, inside.bottom - inside.top);
    StretchDIBits(dc, inside.left, inside.top, size, size, 0, 0, bits.width, bits.height,
                  bits.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void paintButton(HDC dc, const RECT &rect, const ButtonLook &look)
{
    fill(dc, rect, look.face);
    RECT inside = rect;
    DrawEdge(dc, &inside, look.pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (!look.caption.empty()) {
        Selected font(dc, look.font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(look.text));
        RECT text = inside;
        if (look.pressed)
            OffsetRect(&text, 1, 1);
        DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (look.focused && rect.right - rect.left > 8 && rect.bottom - rect.top > 8) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

void paintWebFrame(HDC dc, const RECT &rect, const ElementDef &def, const std::wstring &caption,
                   HFONT font)
{
    fill(dc, rect, def.backColour);
    Selected selected(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // The border starts halfway down the caption, as on a group box.
    RECT border = rect;
    border.top += std::min<LONG>(metrics.tmAscent / 2, (rect.bottom - rect.top) / 2);
    frame(dc, border, RGB(128, 128, 128));
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    RECT text{rect.left + 3, rect.top,
              rect.left + 3 + std::min<LONG>(extent.cx + 2, rect.right - rect.left - 6),
              rect.top + metrics.tmHeight};
    fill(dc, text, def.backColour);
    text.left += 1;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(def.foreColour));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace tessaro::win32
