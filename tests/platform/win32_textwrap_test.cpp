// SPDX-License-Identifier: GPL-3.0-or-later
// How the Win32 windows break a label's caption into lines, with every
// character one unit wide.
#include "win32textwrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tessaro::win32::wrapAtSpaces;

namespace
{

struct WrapCase {
    const char *name;
    std::wstring text;
    int width;
    std::vector<std::wstring> lines;
};

std::vector<std::wstring> wrapped(const std::wstring &text, int width)
{
    std::vector<std::wstring> lines;
    for (const std::wstring_view line : wrapAtSpaces(
             text, width, [](std::wstring_view piece) { return static_cast<int>(piece.size()); }))
        lines.emplace_back(line);
    return lines;
}

class Wrap : public testing::TestWithParam<WrapCase>
{
};

TEST_P(Wrap, BreaksAtBlanksAndKeepsRunsWithinALine)
{
    EXPECT_EQ(wrapped(GetParam().text, GetParam().width), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, Wrap,
    testing::Values(WrapCase{"fits", L"Dezimalwert  16     8", 40, {L"Dezimalwert  16     8"}},
                    WrapCase{"leadingBlankStays", L" std", 10, {L" std"}},
                    WrapCase{"breaksAtTheLastBlankThatFits", L"aa bb cc", 5, {L"aa bb", L"cc"}},
                    WrapCase{"runsStayWithinALine", L"a   b    c", 6, {L"a   b", L"c"}},
                    WrapCase{"runAtTheBreakIsDropped",
                             L"4 Bit System          0 bis",
                             14,
                             {L"4 Bit System", L"0 bis"}},
                    WrapCase{"tooWideWordStandsAlone", L"abcdefgh ij", 4, {L"abcdefgh", L"ij"}},
                    WrapCase{"trailingBlankThatDoesNotFit", L"Info ", 4, {L"Info"}},
                    WrapCase{"trailingBlankThatFits", L"Info ", 5, {L"Info "}},
                    WrapCase{"empty", L"", 3, {L""}}),
    [](const testing::TestParamInfo<WrapCase> &param) { return std::string(param.param.name); });

} // namespace
