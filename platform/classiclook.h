// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "devicegeometry.h"
#include "windowdef.h"
#include "windowmodel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The classic look, once for every toolkit: where lines, borders, focus
// rings and captions go, on whole device pixels at any scale. A toolkit only
// fills the rectangles these rules give and draws text where they say.
namespace tessaro::look
{

// --- Lines and borders -----------------------------------------------------

// The pattern of a styled line at 100 %: the lengths of drawn and skipped
// pixels in turn, beginning with drawn ones.
struct DashPattern {
    std::array<std::uint8_t, 6> runs{};
    int count = 0;
};
struct LinePatterns {
    DashPattern dotted;     // the 4-bit bracket
    DashPattern dashDotDot; // the byte bracket
};

// What a one-pixel pen draws at 100 %: Qt's dots are one on, two off, and
// its dash-dot-dot four, two, one, two, one, two; GDI's cosmetic pens draw
// three on, three off, and nine, three, three, three, three, three. Each
// toolkit keeps the look it has always had at 100 % and scales it alike.
inline constexpr LinePatterns qtPens{{{1, 2}, 2}, {{4, 2, 1, 2, 1, 2}, 6}};
inline constexpr LinePatterns gdiPens{{{3, 3}, 2}, {{9, 3, 3, 3, 3, 3}, 6}};

// Whether the logical pixel `step` of a line, counted from its first point,
// is drawn in the line's style.
constexpr bool linePixelDrawn(const LinePatterns &pens, LineStyle style, int step)
{
    if (style == LineStyle::Solid)
        return true;
    const DashPattern &pattern = style == LineStyle::Dotted ? pens.dotted : pens.dashDotDot;
    int period = 0;
    for (int i = 0; i < pattern.count; ++i)
        period += pattern.runs[std::size_t(i)];
    int at = step % period;
    for (int i = 0; i < pattern.count; ++i) {
        if (at < pattern.runs[std::size_t(i)])
            return i % 2 == 0;
        at -= pattern.runs[std::size_t(i)];
    }
    return false;
}

// The device pixels of a horizontal or vertical line from (x1, y1) to
// (x2, y2), both drawn, in logical pixels of the window: one rectangle for
// each run of drawn pixels, one line width thick, so that the pattern keeps
// its rhythm at every scale.
std::vector<DeviceEdges> lineRuns(const PixelLine &line, LineStyle style, double ratio,
                                  const LinePatterns &pens);

// The device pixels a line covers, for the toolkit's repaint.
DeviceEdges lineBounds(const PixelLine &line, double ratio);

// `lines` line widths inside every edge.
constexpr DeviceEdges inset(DeviceEdges e, int lines, int lineWidth)
{
    const int by = lines * lineWidth;
    return {e.left + by, e.top + by, e.right - by, e.bottom - by};
}

// A frame one line wide along the inside of `outer`: top and left first,
// then bottom and right, which own the corners they share with them.
struct FrameRuns {
    std::array<DeviceEdges, 2> topLeft;
    std::array<DeviceEdges, 2> bottomRight;
};
FrameRuns frameRuns(const DeviceEdges &outer, int lineWidth);

// --- Focus -------------------------------------------------------------------

// Contrast ratio of two colours (1 to 21), from their relative luminance.
double contrastRatio(Colour a, Colour b);

// The colour of a focus ring on a face: black or white, whichever stands
// out more. One of them always reaches more than 4.5 : 1.
Colour focusColourOn(Colour face);

// A solid ring `lines` line widths thick along the inside of `outer`.
struct FocusRing {
    DeviceEdges outer;
    int lines = 1;
    Colour colour = colours::black;
};

// Where a focused control shows its focus: a button three lines inside its
// edge (none on a button too small for it); a picture box on its border; a
// check box on both lines of its box's edge, black on the white box. `box`
// is the control's device pixels (of a check box: its box), `size` its
// logical size, `face` the colour inside the ring.
std::optional<FocusRing> focusRing(ElementKind kind, const DeviceEdges &box, PixelRect size,
                                   Colour face, int lineWidth);

// The classic 13-pixel check box within a control of the given logical
// size: at the left, centred upright, smaller only in a smaller control.
constexpr int checkBoxSide = 13;
constexpr PixelRect checkBoxRect(int width, int height)
{
    const int side = std::min({checkBoxSide, width, height});
    return {0, (height - side) / 2, side, side};
}

// The check mark in a box: seven columns, each three pixels high, from the
// box's fourth pixel on (in a smaller box, proportionally less).
constexpr std::array<PixelRect, 7> checkMark(const PixelRect &box)
{
    constexpr int columnTops[] = {2, 3, 4, 3, 2, 1, 0};
    const int inset = (6 * box.width + checkBoxSide) / (2 * checkBoxSide); // rounded
    std::array<PixelRect, 7> columns{};
    for (std::size_t column = 0; column < columns.size(); ++column)
        columns[column] = {box.left + inset + int(column), box.top + inset + columnTops[column], 1,
                           3};
    return columns;
}

// --- Text --------------------------------------------------------------------

enum class Alignment : std::uint8_t { Left, Centre, Right };
constexpr Alignment alignmentOf(std::uint16_t elementFlags)
{
    if (elementFlags & flags::alignRight)
        return Alignment::Right;
    if (elementFlags & flags::alignCentre)
        return Alignment::Centre;
    return Alignment::Left;
}

// The rectangle a label's text is laid out in: inside its border, if it has
// one, with no padding.
constexpr PixelRect textRect(PixelRect label, bool border)
{
    return border ? PixelRect{label.left + 1, label.top + 1, label.width - 2, label.height - 2}
                  : label;
}

// The web-address frame, in its own logical pixels: the border starts
// halfway down the caption, as on a group box; the caption stands over the
// border three pixels from the left, on the frame's own colour, and its
// text one pixel further in; a caption too long for the frame is cut three
// pixels before its right edge.
struct WebFrameLayout {
    PixelRect border;
    PixelRect captionBack;
    PixelRect text;
};
WebFrameLayout webFrameLayout(int width, int height, int ascent, int lineHeight, int textWidth);

// The distance from one line of a wrapped caption to the next: the font's
// line spacing; where that needs more height than the label has, closer,
// but no closer than the font's own height, so no line is cut in half.
constexpr double lineStep(int lines, double height, double fontHeight, double lineSpacing)
{
    const double fitting = lines > 0 ? height / lines : lineSpacing;
    return std::max(fontHeight, std::min(fitting, lineSpacing));
}

// A caption as a face draws it: as it stands with the window's own face;
// with a wider substitute, the window's fitting for that element and caption,
// if it has one.
struct FittedCaption {
    std::string_view text;
    bool condensed = false; // letters set half a pixel closer
};
FittedCaption captionForFace(const WindowDef &window, const ElementDef &element,
                             std::string_view caption, bool substituteFace);

// Splits a caption into the lines a label shows: as many words as fit the
// width, the blanks between them kept (runs of blanks place numbers over
// their columns), the blanks where a line breaks dropped. A word wider than
// the label stands on a line of its own. `widthOf` measures a piece.
template <typename Char, typename Measure>
std::vector<std::basic_string_view<Char>> wrapAtBlanks(std::basic_string_view<Char> text, int width,
                                                       Measure widthOf)
{
    using View = std::basic_string_view<Char>;
    // The end of the next word at or after `from`, its leading blanks
    // included; the text's end if only blanks follow.
    const auto nextWordEnd = [&text](std::size_t from) {
        std::size_t at = text.find_first_not_of(Char(' '), from);
        if (at == View::npos)
            return text.size();
        at = text.find(Char(' '), at);
        return at == View::npos ? text.size() : at;
    };
    std::vector<View> lines;
    if (text.empty() || widthOf(text) <= width) {
        lines.push_back(text);
        return lines;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        // The first word always stays, even if it is too wide.
        std::size_t end = nextWordEnd(start);
        while (end < text.size()) {
            const std::size_t longer = nextWordEnd(end);
            if (widthOf(text.substr(start, longer - start)) > width)
                break;
            end = longer;
        }
        lines.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(Char(' '), end);
        if (start == View::npos)
            break;
    }
    return lines;
}

// --- Dialog keys -------------------------------------------------------------

// Which button a dialog key presses: Escape the cancel button; Enter the
// focused button, else the default button. `focused` is the element that has
// the focus, if any. Nothing if the window has no such button.
enum class DialogKey : std::uint8_t { Enter, Escape };
std::optional<std::size_t> buttonForKey(const WindowModel &model, DialogKey key,
                                        std::optional<std::size_t> focused);

} // namespace tessaro::look
