// SPDX-License-Identifier: GPL-3.0-or-later
// Captions as the GDI painter lays them out after a move to a screen of 96 to
// 192 dpi; scripts/test-windows-window.sh runs it on a display in both faces.
#include "infotessaro.h"
#include "infotessaro_window.h"
#include "ruzozura_headings.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"
#include "system_sysinfo.h"
#include "win32/win32toolkit.h"
#include "win32/win32window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

using namespace tessaro;
using namespace tessaro::ruzozura;

namespace
{

using Span = std::pair<int, int>; // device pixels, from the left

// Each word of a caption, split at blanks, where it is drawn.
std::vector<Span> words(const win32::CaptionLayout &layout)
{
    std::vector<Span> spans;
    for (const win32::CaptionLine &line : layout.lines)
        for (std::size_t at = 0, end = 0; at < line.text.size(); at = end + 1) {
            end = std::min(line.text.find(L' ', at), line.text.size());
            if (end > at)
                spans.emplace_back(line.left + (at ? line.ends[at - 1] : 0),
                                   line.left + line.ends[end - 1]);
        }
    return spans;
}

class Captions : public ::testing::TestWithParam<int>
{
protected:
    double ratio() const { return scaleOf(GetParam()); }
    win32::Win32Window &open(const WindowDef &def, WindowEvents &events)
    {
        auto &window = dynamic_cast<win32::Win32Window &>(m_toolkit.load(def, events));
        RECT frame{};
        GetWindowRect(window.handle(), &frame);
        // As Windows suggests it, grown with the resolution.
        frame.right = frame.left + std::lround((frame.right - frame.left) * ratio());
        frame.bottom = frame.top + std::lround((frame.bottom - frame.top) * ratio());
        SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(GetParam(), GetParam()),
                     reinterpret_cast<LPARAM>(&frame));
        return window;
    }
    win32::CaptionLayout layout(const win32::Win32Window &window, ElementKey label) const
    {
        return window.captionLayout(m_dc, window.model().indexOf(label));
    }
    DeviceEdges cell(ElementKey key) const
    {
        return deviceEdges(pixelRect(findRuzozuraElement(key)->rect), ratio());
    }

    win32::Win32Toolkit m_toolkit;
    WindowEvents m_events; // handlers that do nothing
    HDC m_dc = CreateCompatibleDC(nullptr);
};

// Every word and line (to its baseline) of a label or button lies in its text rectangle.
TEST_P(Captions, EveryCaptionFitsItsLabel)
{
    SystemSysInfo system(m_toolkit);
    Infotessaro about(m_toolkit, system.services());
    for (win32::Win32Window *window :
         {&open(ruzozuraWindow(), m_events), &open(infotessaroWindow(), about)})
        for (const ElementDef &e : window->model().window().elements) {
            if (e.kind != ElementKind::Label && e.kind != ElementKind::Button &&
                e.kind != ElementKind::PushButton)
                continue;
            const win32::CaptionLayout caption = layout(*window, e.key);
            const RECT &clip = caption.clip;
            for (const win32::CaptionLine &line : caption.lines)
                EXPECT_TRUE(line.top >= clip.top && line.top + caption.ascent <= clip.bottom)
                    << describe(e.key) << " line at " << line.top;
            for (const auto &[left, right] : words(caption))
                EXPECT_TRUE(left >= clip.left && right <= clip.right)
                    << describe(e.key) << " word at " << left << "-" << right;
        }
}

// A heading's place values stand over the centre of their cells (month cells
// share the day columns), also the seven of the year from 2048 on; "Byte1",
// "Byte 0" and "Addiert" each lie between the digit cell before and their own.
TEST_P(Captions, HeadingsStandOverTheirCells)
{
    win32::Win32Window &window = open(ruzozuraWindow(), m_events);
    const clock::ClockLayout &clock = ruzozuraClockLayout();
    const clock::BitRow sevenPlaces = clock.year.cells.subspan(clock::yearCellsHiddenFrom2048);
    using Rows = std::vector<clock::BitRow>; // the first one has a cell for each place value
    const std::tuple<ElementKey, std::string_view, Rows> headings[] = {
        {Label14, findRuzozuraElement(Label14)->caption, {clock.day.cells, clock.month.cells}},
        {Label6,
         findRuzozuraElement(Label6)->caption,
         {clock.minutes.row.cells, clock.seconds.row.cells, clock.hours.row.cells}},
        {Label15, yearHeadingElevenPlaces, {clock.year.cells}},
        {Label15, yearHeadingSevenPlaces, {sevenPlaces}}};
    for (const auto &[label, caption, rows] : headings) {
        window.setCaption(label, caption);
        const std::vector<Span> spans = words(layout(window, label));
        ASSERT_GE(spans.size(), rows[0].size()) << describe(label);
        const std::size_t first = spans.size() - rows[0].size();
        for (std::size_t i = 0; i < rows[0].size(); ++i) {
            const int weight = rows[0][i].weight;
            double centre = 0, cells = 0;
            for (const clock::BitRow &row : rows)
                for (const clock::BitCell &bit : row)
                    if (bit.weight == weight)
                        centre += (cell(bit.key).left + cell(bit.key).right) / 2.0, ++cells;
            // "32 16" stands closer together than its two columns, 24 px apart.
            const double tolerance = label == Label6 && weight >= 16 ? 6.0 : 3.0;
            const auto [left, right] = spans[first + i];
            EXPECT_LE(std::abs((left + right) / 2.0 - centre / cells), tolerance * ratio())
                << describe(label) << " over " << describe(rows[0][i].key);
        }
    }
    for (const auto &[label, hex] : {std::pair{hex1[2], clock.hours.hex},
                                     {hex1[1], clock.minutes.hex},
                                     {hex1[0], clock.seconds.hex}}) {
        const std::vector<Span> spans = words(layout(window, label));
        ASSERT_EQ(spans.size(), 5u) << describe(label);
        // A word's last letter may end in the cell with its blank column.
        const int blank = deviceLineWidth(ratio());
        const int edges[] = {
            spans[1].first, spans[1].second - blank, cell(hex.high).left,    cell(hex.high).right,
            spans[2].first, spans[3].second - blank, cell(hex.low).left,     cell(hex.low).right,
            spans[4].first, spans[4].second - blank, cell(hex.combined).left};
        EXPECT_TRUE(std::is_sorted(std::begin(edges), std::end(edges))) << describe(label);
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Captions, ::testing::Values(96, 120, 144, 192));

// Text is smoothed as the screen's setting says: none, ClearType or greyscale
// (greyscale last: the setting the tests that run after expect).
TEST(Fonts, FollowTheScreensSmoothing)
{
    struct Setting {
        BOOL smoothing;
        UINT type;
        BYTE quality;
    };
    for (const Setting setting : {Setting{FALSE, FE_FONTSMOOTHINGSTANDARD, NONANTIALIASED_QUALITY},
                                  Setting{TRUE, FE_FONTSMOOTHINGCLEARTYPE, CLEARTYPE_QUALITY},
                                  Setting{TRUE, FE_FONTSMOOTHINGSTANDARD, ANTIALIASED_QUALITY}}) {
        SystemParametersInfoW(SPI_SETFONTSMOOTHING, UINT(setting.smoothing), nullptr, 0);
        SystemParametersInfoW(SPI_SETFONTSMOOTHINGTYPE, 0,
                              reinterpret_cast<void *>(std::uintptr_t(setting.type)), 0);
        win32::FontSet fonts;
        fonts.create(96, false);
        for (const FontId id : {FontId::Standard, FontId::Exit}) {
            LOGFONTW font{};
            GetObjectW(fonts.font(id), sizeof font, &font);
            EXPECT_EQ(font.lfQuality, setting.quality) << int(setting.smoothing) << setting.type;
        }
    }
}

} // namespace
