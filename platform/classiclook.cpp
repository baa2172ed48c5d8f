// SPDX-License-Identifier: GPL-3.0-or-later
#include "classiclook.h"

#include <cmath>
#include <cstdlib>

namespace tessaro::look
{

std::vector<DeviceEdges> lineRuns(const PixelLine &line, LineStyle style, double ratio,
                                  const LinePatterns &pens)
{
    const bool horizontal = line.y1 == line.y2;
    const int delta = horizontal ? line.x2 - line.x1 : line.y2 - line.y1;
    const int length = std::abs(delta) + 1;
    const int lineWidth = deviceLineWidth(ratio);
    std::vector<DeviceEdges> runs;
    for (int step = 0; step < length;) {
        if (!linePixelDrawn(pens, style, step)) {
            ++step;
            continue;
        }
        int end = step;
        while (end < length && linePixelDrawn(pens, style, end))
            ++end;
        // Counted from the first point, whichever way the line runs.
        const int first = delta < 0 ? -(end - 1) : step;
        const int count = end - step;
        const PixelRect run = horizontal ? PixelRect{line.x1 + first, line.y1, count, 1}
                                         : PixelRect{line.x1, line.y1 + first, 1, count};
        DeviceEdges e = deviceEdges(run, ratio);
        if (horizontal)
            e.bottom = e.top + lineWidth;
        else
            e.right = e.left + lineWidth;
        runs.push_back(e);
        step = end;
    }
    return runs;
}

DeviceEdges lineBounds(const PixelLine &line, double ratio)
{
    const PixelRect box{std::min(line.x1, line.x2), std::min(line.y1, line.y2),
                        std::abs(line.x2 - line.x1) + 1, std::abs(line.y2 - line.y1) + 1};
    DeviceEdges e = deviceEdges(box, ratio);
    const int lineWidth = deviceLineWidth(ratio);
    e.right = std::max(e.right, e.left + lineWidth);
    e.bottom = std::max(e.bottom, e.top + lineWidth);
    return e;
}

FrameRuns frameRuns(const DeviceEdges &e, int w)
{
    return {{DeviceEdges{e.left, e.top, e.right, e.top + w}, {e.left, e.top, e.left + w, e.bottom}},
            {DeviceEdges{e.left, e.bottom - w, e.right, e.bottom},
             {e.right - w, e.top, e.right, e.bottom}}};
}

double contrastRatio(Colour a, Colour b)
{
    const auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const auto luminance = [&](Colour c) {
        return 0.2126 * channel(redOf(c)) + 0.7152 * channel(greenOf(c)) +
               0.0722 * channel(blueOf(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour focusColourOn(Colour face)
{
    return contrastRatio(colours::black, face) >= contrastRatio(colours::white, face)
               ? colours::black
               : colours::white;
}

std::optional<FocusRing> focusRing(ElementKind kind, const DeviceEdges &box, PixelRect size,
                                   Colour face, int lineWidth)
{
    switch (kind) {
    case ElementKind::Button:
    case ElementKind::PushButton:
        // Solid, not dotted: a dotted ring of 7 pixels on a 13-pixel colour
        // button is hard to see, whatever its colour.
        if (size.width <= 8 || size.height <= 8)
            return std::nullopt;
        return FocusRing{inset(box, 3, lineWidth), 1, focusColourOn(face)};
    case ElementKind::PictureBox:
        // The picture fills the box inside its border.
        return FocusRing{box, 1, focusColourOn(face)};
    case ElementKind::CheckBox:
        // Both lines of the edge turn black: a ring that stands out from the
        // white box and from any colour around it.
        return FocusRing{box, 2, focusColourOn(colours::white)};
    default:
        return std::nullopt;
    }
}

WebFrameLayout webFrameLayout(int width, int height, int ascent, int lineHeight, int textWidth)
{
    const int borderTop = std::min(ascent / 2, height / 2);
    const PixelRect back{3, 0, std::min(textWidth + 2, width - 6), lineHeight};
    return {{0, borderTop, width, height - borderTop},
            back,
            {back.left + 1, back.top, back.width - 1, back.height}};
}

FittedCaption captionForFace(const WindowDef &window, const ElementDef &element,
                             std::string_view caption, bool substituteFace)
{
    for (const WideFaceCaption &fitting : window.wideFaceCaptions) {
        const std::string_view replaced =
            fitting.caption.empty() ? element.caption : fitting.caption;
        if (fitting.ownFace != substituteFace && fitting.key == element.key && replaced == caption)
            return {fitting.fitted, fitting.condensed};
    }
    return {caption};
}

std::optional<std::size_t> buttonForKey(const WindowModel &model, DialogKey key,
                                        std::optional<std::size_t> focused)
{
    const auto isButton = [&](std::size_t at) {
        const ElementKind kind = model.element(at).kind;
        return kind == ElementKind::Button || kind == ElementKind::PushButton;
    };
    if (key == DialogKey::Enter && focused && isButton(*focused))
        return focused;
    const std::uint16_t wanted =
        key == DialogKey::Enter ? flags::defaultButton : flags::cancelButton;
    for (std::size_t at = 0; at < model.size(); ++at)
        if (isButton(at) && (model.element(at).flags & wanted))
            return at;
    return std::nullopt;
}

} // namespace tessaro::look
