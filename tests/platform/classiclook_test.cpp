// SPDX-License-Identifier: GPL-3.0-or-later
// The classic look that every toolkit draws, and the dialog keys.
#include "classiclook.h"
#include "infotessaro_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaro::look
{
namespace
{

// Runs along the line as (start, length) in device pixels, and their width.
using Runs = std::pair<std::vector<std::pair<int, int>>, int>;

Runs runsOf(const PixelLine &line, LineStyle style, double ratio, const LinePatterns &pens)
{
    Runs runs{{}, 0};
    for (const DeviceEdges &e : lineRuns(line, style, ratio, pens)) {
        const bool horizontal = line.y1 == line.y2;
        runs.first.emplace_back(horizontal ? e.left : e.top,
                                horizontal ? e.right - e.left : e.bottom - e.top);
        runs.second = horizontal ? e.bottom - e.top : e.right - e.left;
    }
    return runs;
}

// Each toolkit's pattern from the line's first point, in runs of whole
// device pixels, each edge rounded on its own (1 logical pixel is 1.5 device
// pixels at 144 dpi, and a line stays one device pixel wide there).
TEST(ClassicLook, LinesKeepTheirPatternAtEveryScale)
{
    const std::tuple<PixelLine, LineStyle, double, const LinePatterns &, Runs> rows[] = {
        {{0, 5, 6, 5}, LineStyle::Dotted, 1.0, qtPens, {{{0, 1}, {3, 1}, {6, 1}}, 1}},
        {{0, 5, 6, 5}, LineStyle::Dotted, scaleOf(192), qtPens, {{{0, 2}, {6, 2}, {12, 2}}, 2}},
        {{0, 5, 6, 5}, LineStyle::Dotted, scaleOf(144), qtPens, {{{0, 2}, {5, 1}, {9, 2}}, 1}},
        {{6, 5, 0, 5}, LineStyle::Dotted, 1.0, qtPens, {{{6, 1}, {3, 1}, {0, 1}}, 1}},
        {{2, 0, 2, 11}, LineStyle::DashDotDot, 1.0, qtPens, {{{0, 4}, {6, 1}, {9, 1}}, 1}},
        {{2, 0, 2, 11}, LineStyle::DashDotDot, 3.0, qtPens, {{{0, 12}, {18, 3}, {27, 3}}, 3}},
        {{0, 5, 6, 5}, LineStyle::Dotted, 1.0, gdiPens, {{{0, 3}, {6, 1}}, 1}},
        {{2, 0, 2, 23}, LineStyle::DashDotDot, 2.0, gdiPens, {{{0, 18}, {24, 6}, {36, 6}}, 2}},
        {{0, 0, 3, 0}, LineStyle::Solid, scaleOf(168), gdiPens, {{{0, 7}}, 1}},
    };
    for (const auto &[line, style, ratio, pens, runs] : rows)
        EXPECT_EQ(runsOf(line, style, ratio, pens), runs)
            << int(style) << " at " << ratio << " from " << line.x1;
}

TEST(ClassicLook, FramesAndFocusRings)
{
    // Bottom and right own the corners they share with top and left.
    const FrameRuns frame = frameRuns({10, 20, 30, 40}, 2);
    EXPECT_EQ(frame.topLeft[0], (DeviceEdges{10, 20, 30, 22}));
    EXPECT_EQ(frame.bottomRight[1], (DeviceEdges{28, 20, 30, 40}));

    using K = ElementKind;
    const DeviceEdges box{0, 0, 46, 40}, none{};
    // kind, size, face, line width, then the ring (none: no ring), its lines and colour
    const std::tuple<K, PixelRect, Colour, int, DeviceEdges, int, Colour> rows[] = {
        {K::Button, {0, 0, 23, 20}, colours::blue, 2, {6, 6, 40, 34}, 1, colours::white},
        {K::Button, {0, 0, 23, 20}, colours::yellow, 1, {3, 3, 43, 37}, 1, colours::black},
        {K::Button, {0, 0, 13, 8}, colours::olive, 1, none, 0, 0},
        {K::PictureBox, {0, 0, 23, 20}, rgb(240, 240, 240), 1, box, 1, colours::black},
        {K::CheckBox, {0, 0, 13, 13}, colours::windowGreen, 2, box, 2, colours::black},
        {K::Label, {0, 0, 23, 20}, colours::white, 1, none, 0, 0},
    };
    for (const auto &[kind, size, face, lineWidth, outer, lines, colour] : rows) {
        const auto ring = focusRing(kind, box, size, face, lineWidth);
        EXPECT_EQ(ring ? std::tuple(ring->outer, ring->lines, ring->colour)
                       : std::tuple(none, 0, Colour(0)),
                  std::tuple(outer, lines, colour))
            << int(kind);
    }
}

TEST(ClassicLook, TextPlacement)
{
    EXPECT_EQ(alignmentOf(0), Alignment::Left);
    EXPECT_EQ(alignmentOf(flags::alignRight | flags::border), Alignment::Right);
    EXPECT_EQ(alignmentOf(flags::alignCentre), Alignment::Centre);
    EXPECT_EQ(textRect({5, 6, 20, 10}, true), (PixelRect{6, 7, 18, 8}));
    EXPECT_EQ(textRect({5, 6, 20, 10}, false), (PixelRect{5, 6, 20, 10}));
    EXPECT_EQ(lineStep(3, 60, 11, 13), 13) << "room enough: the font's spacing";
    EXPECT_EQ(lineStep(4, 48, 11, 13), 12) << "closer, to show the last line whole";
    EXPECT_EQ(lineStep(5, 48, 11, 13), 11) << "never closer than the font's height";

    const WebFrameLayout frame = webFrameLayout(200, 30, 11, 13, 90);
    EXPECT_EQ(frame.border, (PixelRect{0, 5, 200, 25}));
    EXPECT_EQ(frame.captionBack, (PixelRect{3, 0, 92, 13}));
    EXPECT_EQ(frame.text, (PixelRect{4, 0, 91, 13}));
    EXPECT_EQ(webFrameLayout(50, 8, 11, 13, 90).captionBack, (PixelRect{3, 0, 44, 13}))
        << "a caption longer than the frame ends three pixels before its right";
}

TEST(ClassicLook, AWiderFaceTakesTheWindowsFittingOfTheCaptionItStandsFor)
{
    const ElementDef heading{.key = {"Label14"}, .caption = "16  8"};
    const WideFaceCaption fittings[] = {{{"Label14"}, {}, "16 8"},
                                        {{"Label14"}, "7  2", "7 2", true}};
    const WindowDef window{.wideFaceCaptions = fittings};
    const std::tuple<std::string_view, bool, std::string_view, bool> rows[] = {
        {"16  8", true, "16 8", false},
        {"7  2", true, "7 2", true},
        {"16  8", false, "16  8", false},
        {"4  1", true, "4  1", false}};
    for (const auto &[caption, substitute, text, condensed] : rows) {
        const FittedCaption fitted = captionForFace(window, heading, caption, substitute);
        EXPECT_EQ(std::pair(fitted.text, fitted.condensed), std::pair(text, condensed))
            << caption << substitute;
    }
}

// Every character one unit wide.
TEST(ClassicLook, WrapsAtBlanksAndKeepsRunsWithinALine)
{
    const std::tuple<std::string, int, std::vector<std::string>> rows[] = {
        {"Dezimalwert  16     8", 40, {"Dezimalwert  16     8"}},
        {" std", 10, {" std"}},
        {"aa bb cc", 5, {"aa bb", "cc"}},
        {"a   b    c", 6, {"a   b", "c"}},
        {"4 Bit System          0 bis", 14, {"4 Bit System", "0 bis"}},
        {"abcdefgh ij", 4, {"abcdefgh", "ij"}},
        {"Info ", 4, {"Info"}},
        {"Info ", 5, {"Info "}},
        {"", 3, {""}},
    };
    for (const auto &[text, width, expected] : rows) {
        std::vector<std::string> lines;
        for (const std::string_view line : wrapAtBlanks<char>(
                 text, width, [](std::string_view piece) { return int(piece.size()); }))
            lines.emplace_back(line);
        EXPECT_EQ(lines, expected) << '"' << text << '"' << " in " << width;
    }
}

TEST(ClassicLook, DialogKeysPressTheDefaultTheCancelOrTheFocusedButton)
{
    const WindowModel model(infotessaroWindow());
    const std::size_t ok = model.indexOf(infotessaro::cmdOK),
                      sysInfo = model.indexOf(infotessaro::cmdSysInfo),
                      picture = model.indexOf(infotessaro::picIcon);
    EXPECT_EQ(buttonForKey(model, DialogKey::Enter, std::nullopt), ok);
    EXPECT_EQ(buttonForKey(model, DialogKey::Enter, sysInfo), sysInfo);
    EXPECT_EQ(buttonForKey(model, DialogKey::Enter, picture), ok);
    EXPECT_EQ(buttonForKey(model, DialogKey::Escape, sysInfo), ok);
}

} // namespace
} // namespace tessaro::look
