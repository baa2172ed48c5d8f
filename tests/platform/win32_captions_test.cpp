// SPDX-License-Identifier: GPL-3.0-or-later
// The captions of Tessaro.exe's windows where its painter lays them out with
// GDI, after a move to a screen of 96, 120, 144 or 192 dpi, in the face the
// font mapper hands. It opens real windows, so scripts/test-windows-window.sh
// runs it on a display, with the classic face and with wine's substitute.
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

// Every word of every label and button lies within its text rectangle, and
// every line down to its baseline.
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

// The place values of a heading from its word `first` on stand each over
// the centre of its column (month cells share the day columns), also those
// of the seven-place year heading from 2048 on; "Byte1", "Byte 0" and
// "Addiert" each lie between the digit cell before them and their own.
TEST_P(Captions, HeadingsStandOverTheirCells)
{
    win32::Win32Window &window = open(ruzozuraWindow(), m_events);
    using Columns = std::vector<std::vector<ElementKey>>;
    Columns time;
    for (int i = 5; i >= 0; --i)
        time.push_back(i < 5 ? std::vector{binmin1[i], binsec1[i], bin1[i]}
                             : std::vector{binmin1[i], binsec1[i]});
    const Columns year{{Frame39}, {Frame38}, {Frame37}, {Frame36}, {Frame35}, {Frame34},
                       {Frame33}, {Frame32}, {Frame31}, {Frame30}, {Frame29}};
    const Columns day{
        {Frame23}, {Frame22, Frame25}, {Frame21, Frame26}, {Frame20, Frame27}, {Frame19, Frame28}};
    const std::string_view timeHeading = findRuzozuraElement(Label6)->caption;
    const std::tuple<ElementKey, std::string_view, std::size_t, Columns, double> headings[] = {
        {Label14, findRuzozuraElement(Label14)->caption, 1, day, 3.0},
        // "32 16" stands closer together than its two columns, 24 px apart.
        {Label6, timeHeading, 1, {time[0], time[1]}, 6.0},
        {Label6, timeHeading, 3, {time.begin() + 2, time.end()}, 3.0},
        {Label15, yearHeadingElevenPlaces, 0, year, 3.0},
        {Label15, yearHeadingSevenPlaces, 0, {year.begin() + 4, year.end()}, 3.0}};
    for (const auto &[label, caption, first, columns, tolerance] : headings) {
        window.setCaption(label, caption);
        const std::vector<Span> spans = words(layout(window, label));
        ASSERT_GE(spans.size(), first + columns.size()) << describe(label);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            double centre = 0;
            for (const ElementKey key : columns[i])
                centre += (cell(key).left + cell(key).right) / 2.0 / double(columns[i].size());
            const auto [left, right] = spans[first + i];
            EXPECT_LE(std::abs((left + right) / 2.0 - centre), tolerance * ratio())
                << describe(label) << " over " << describe(columns[i].front());
        }
    }
    for (const auto &keys : {std::array{hex1[2], hexa1[4], hexa1[5], hexa1[3]},
                             std::array{hex1[1], hexa1[8], hexa1[7], hexa1[6]},
                             std::array{hex1[0], hexa1[1], hexa1[0], hexa1[2]}}) {
        const std::vector<Span> spans = words(layout(window, keys[0]));
        ASSERT_EQ(spans.size(), 5u) << describe(keys[0]);
        // A word's last letter may end in the cell with its blank column.
        const int blank = deviceLineWidth(ratio());
        const int edges[] = {
            spans[1].first, spans[1].second - blank, cell(keys[1]).left, cell(keys[1]).right,
            spans[2].first, spans[3].second - blank, cell(keys[2]).left, cell(keys[2]).right,
            spans[4].first, spans[4].second - blank, cell(keys[3]).left};
        EXPECT_TRUE(std::is_sorted(std::begin(edges), std::end(edges))) << describe(keys[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Captions, ::testing::Values(96, 120, 144, 192));

} // namespace
