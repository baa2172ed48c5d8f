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

// Where each letter of a line ends, counted from its start, each letter
// `closer` device pixels nearer the one before than the face sets it,
// rounded letter by letter.
std::vector<int> letterEnds(HDC dc, std::wstring_view text, double closer)
{
    const int count = static_cast<int>(text.size());
    std::vector<int> ends(text.size());
    SIZE extent{};
    GetTextExtentExPointW(dc, text.data(), count, 0, nullptr, ends.data(), &extent);
    for (int i = 0; i < count; ++i)
        ends[std::size_t(i)] =
            static_cast<int>(std::lround(ends[std::size_t(i)] - closer * (i + 1)));
    return ends;
}

// Where each letter of a line ends, counted from its start, at the scale
// `ratio`, measured with a font `outlineMagnification` times larger, each
// letter `closer` logical pixels nearer the one before. Rounded down, so
// that a line that fits its label at 96 dpi fits it at every scale.
std::vector<int> outlineEnds(HDC dc, std::wstring_view text, double closer, double ratio)
{
    std::vector<int> ends = letterEnds(dc, text, 0.0);
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const double logical = ends[i] / double(outlineMagnification) - closer * double(i + 1);
        ends[i] = static_cast<int>(std::floor(logical * ratio));
    }
    return ends;
}

// The letters of a line as the face sets them, each word moved to where the
// outline widths put it (`outline`: their letter ends): a place value over
// its column. A word that runs wider than there ends where it would have
// ended, so that it stays inside its label.
std::vector<int> wordsInPlace(std::wstring_view text, const std::vector<int> &outline,
                              const std::vector<int> &own)
{
    std::vector<int> ends(outline);
    const auto endBefore = [](const std::vector<int> &e, std::size_t at) {
        return at ? e[at - 1] : 0;
    };
    for (std::size_t at = 0, end = 0; at < text.size(); at = end + 1) {
        end = std::min(text.find(L' ', at), text.size());
        if (end == at)
            continue;
        const int width = own[end - 1] - endBefore(own, at);
        const int start = std::max(0, std::min(endBefore(outline, at), outline[end - 1] - width));
        for (std::size_t letter = at; letter < end; ++letter)
            ends[letter] = start + own[letter] - endBefore(own, at);
        // The blanks before the word end where it starts.
        for (std::size_t blank = at; blank > 0 && text[blank - 1] == L' '; --blank)
            ends[blank - 1] = std::min(ends[blank - 1], start);
    }
    // No letter before the end of the one before it.
    for (std::size_t at = 1; at < ends.size(); ++at)
        ends[at] = std::max(ends[at], ends[at - 1]);
    return ends;
}

// Where a line of this width starts, as DrawText aligns it.
int alignedLeft(const RECT &rect, int width, look::Alignment alignment)
{
    switch (alignment) {
    case look::Alignment::Right:
        return rect.right - width;
    case look::Alignment::Centre:
        return (rect.left + rect.right - width) / 2;
    case look::Alignment::Left:
        break;
    }
    return rect.left;
}

// Where a button's caption is centred: inside its edge, a line width down
// and right while it is pressed.
RECT buttonTextRect(const Placement &place, const ButtonLook &look)
{
    const int lineWidth = place.lineWidth();
    RECT text = toRect(look::inset(place.whole(), 2, lineWidth));
    if (look.pressed)
        OffsetRect(&text, lineWidth, lineWidth);
    return text;
}

} // namespace

void useFont(HDC dc, HFONT font)
{
    if (GetCurrentObject(dc, OBJ_FONT) != font)
        SelectObject(dc, font);
}

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

CaptionLayout layOutCaption(HDC dc, const Placement &place, const LabelLook &look)
{
    CaptionLayout layout;
    const PixelRect inside =
        look::textRect({0, 0, place.logical.width, place.logical.height}, look.state.border == 1);
    layout.clip = toRect(place.edges(inside));
    if (look.text.empty())
        return layout;
    const double closer = look.condensed ? 0.5 : 0.0;
    // Logical pixels, rounded up.
    const auto widthOf = [dc, closer](std::wstring_view piece, double magnification) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, piece.data(), static_cast<int>(piece.size()), &extent);
        return static_cast<int>(
            std::ceil(extent.cx / magnification - closer * static_cast<double>(piece.size())));
    };
    std::vector<std::wstring_view> lines;
    std::vector<std::vector<int>> ends;
    if (look.layoutFont) {
        useFont(dc, look.layoutFont);
        lines = look::wrapAtBlanks<wchar_t>(look.text, inside.width, [&](std::wstring_view piece) {
            return widthOf(piece, outlineMagnification);
        });
        for (const std::wstring_view line : lines)
            ends.push_back(outlineEnds(dc, line, closer, place.ratio));
    }
    useFont(dc, look.font);
    if (!look.layoutFont)
        lines = look::wrapAtBlanks<wchar_t>(
            look.text, inside.width, [&](std::wstring_view piece) { return widthOf(piece, 1.0); });
    ends.resize(lines.size());
    for (std::size_t at = 0; at < lines.size(); ++at) {
        std::vector<int> own = letterEnds(dc, lines[at], closer * place.ratio);
        ends[at] = look.layoutFont ? wordsInPlace(lines[at], ends[at], own) : std::move(own);
    }
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    layout.height = metrics.tmHeight;
    layout.ascent = metrics.tmAscent;
    // Line by line from the top, closer where the face runs a little wider
    // than the label was made for.
    const RECT &rect = layout.clip;
    const double step =
        look::lineStep(static_cast<int>(lines.size()), rect.bottom - rect.top,
                       metrics.tmHeight - metrics.tmInternalLeading, metrics.tmHeight);
    for (std::size_t at = 0; at < lines.size(); ++at) {
        CaptionLine line{lines[at], 0,
                         rect.top + static_cast<int>(std::lround(step * static_cast<double>(at))),
                         std::move(ends[at])};
        const int width = line.ends.empty() ? 0 : line.ends.back();
        line.left = alignedLeft(rect, width, look::alignmentOf(look.def.flags));
        layout.lines.push_back(std::move(line));
    }
    return layout;
}

void paintLabel(HDC dc, const Placement &place, const LabelLook &look, const CaptionLayout &layout)
{
    const DeviceEdges outer = place.whole();
    if (!(look.def.flags & flags::transparent))
        fill(dc, outer, colorRef(look.state.back));
    if (look.state.border == 1)
        frame(dc, outer, place.lineWidth(), RGB(0, 0, 0));
    useFont(dc, look.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(look.def.foreColour));
    std::vector<INT> advances;
    // What does not fit is cut off at the text rectangle's edges.
    for (const CaptionLine &line : layout.lines) {
        if (line.top >= layout.clip.bottom)
            break;
        const RECT clip{layout.clip.left, line.top, layout.clip.right,
                        std::min<LONG>(line.top + layout.height, layout.clip.bottom)};
        // The face's own advances unless the letters are placed otherwise.
        advances.clear();
        if (look.condensed || look.layoutFont)
            for (std::size_t i = 0; i < line.ends.size(); ++i)
                advances.push_back(line.ends[i] - (i ? line.ends[i - 1] : 0));
        ExtTextOutW(dc, line.left, line.top, ETO_CLIPPED, &clip, line.text.data(),
                    static_cast<UINT>(line.text.size()),
                    advances.empty() ? nullptr : advances.data());
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
        RECT text = buttonTextRect(place, look);
        Selected font(dc, look.font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(look.text));
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

CaptionLayout layOutButtonCaption(HDC dc, const Placement &place, const ButtonLook &look)
{
    CaptionLayout layout;
    layout.clip = buttonTextRect(place, look);
    if (look.caption.empty())
        return layout;
    Selected font(dc, look.font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    layout.height = metrics.tmHeight;
    layout.ascent = metrics.tmAscent;
    CaptionLine line{look.caption, 0, 0, {}};
    std::wstring shown;
    for (const wchar_t letter : look.caption) {
        if (letter != L'&')
            shown.push_back(letter);
        SIZE extent{};
        GetTextExtentPoint32W(dc, shown.data(), static_cast<int>(shown.size()), &extent);
        line.ends.push_back(extent.cx);
    }
    // As DrawText centres a single line.
    const RECT &rect = layout.clip;
    line.left = alignedLeft(rect, line.ends.back(), look::Alignment::Centre);
    line.top = rect.top + (rect.bottom - rect.top - metrics.tmHeight) / 2;
    layout.lines.push_back(std::move(line));
    return layout;
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
