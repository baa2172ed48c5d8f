// SPDX-License-Identifier: GPL-3.0-or-later
// Day, month and year rows, their readouts, and the year row's switch to
// seven cells from 2048 on.

#include "datesection.h"
#include "headings.h"
#include "recording_window.h"
#include "ruzozura_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tessaro
{
namespace
{

using testing::at;
using testing::Property;
using testing::RecordingWindow;

constexpr clock::CellColours lightsOnOff{0xC00000, 0x80FF80};

const std::vector<int> dayFrames{23, 22, 21, 20, 19};
const std::vector<int> monthFrames{25, 26, 27, 28};
const std::vector<int> upperYearFrames{39, 38, 37, 36};
const std::vector<int> lowerYearFrames{35, 34, 33, 32, 31, 30, 29};

std::string frame(int number)
{
    return "Frame" + std::to_string(number);
}

// The frames among `frames` that show the lit colour.
std::set<int> litFrames(const RecordingWindow &window, const std::vector<int> &frames)
{
    std::set<int> lit;
    for (int number : frames) {
        const auto colour = window.backColorOf(frame(number));
        EXPECT_TRUE(colour == lightsOnOff.lit || colour == lightsOnOff.dark) << frame(number);
        if (colour == lightsOnOff.lit)
            lit.insert(number);
    }
    return lit;
}

struct DateCase {
    LocalDateTime date;
    std::set<int> litDay, litMonth, litYear; // frame numbers
    bool sevenCells;
};

void PrintTo(const DateCase &c, std::ostream *out)
{
    *out << c.date.day << '.' << c.date.month << '.' << c.date.year;
}

class DateSectionTest : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(DateSectionTest, RowsReadoutsAndHeadingShowTheDate)
{
    const DateCase &c = GetParam();
    RecordingWindow window(ruzozuraElements());
    clock::writeDateSection(c.date, window, lightsOnOff);

    EXPECT_EQ(litFrames(window, dayFrames), c.litDay);
    EXPECT_EQ(litFrames(window, monthFrames), c.litMonth);
    EXPECT_EQ(litFrames(window, lowerYearFrames), c.litYear);
    EXPECT_EQ(window.captionOf("Tag1"), std::to_string(c.date.day));
    EXPECT_EQ(window.captionOf("Monat"), std::to_string(c.date.month));
    EXPECT_EQ(window.captionOf("Jahr"), std::to_string(c.date.year)) << "always the full year";

    EXPECT_EQ(window.captionOf("Label15"),
              c.sevenCells ? clock::yearHeadingSevenPlaces : clock::yearHeadingElevenPlaces);
    for (int number : upperYearFrames) {
        EXPECT_EQ(window.visibleOf(frame(number)), !c.sevenCells) << frame(number);
        if (c.sevenCells)
            EXPECT_EQ(window.backColorOf(frame(number)), std::nullopt) << "hidden cells unpainted";
        else
            EXPECT_EQ(window.backColorOf(frame(number)), lightsOnOff.lit) << "from 1024 to 128";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateSectionTest,
    ::testing::Values(
        // 31 = all five, 12 = 8 + 4, 2047 = all eleven.
        DateCase{
            at(31, 12, 2047), {23, 22, 21, 20, 19}, {25, 26}, {35, 34, 33, 32, 31, 30, 29}, false},
        // 2048: 48 = 32 + 16 on seven cells.
        DateCase{at(1, 1, 2048), {19}, {28}, {34, 33}, true},
        // 2026 = 1024 + 512 + 256 + 128 + 64 + 32 + 8 + 2.
        DateCase{at(6, 12, 2026), {21, 20}, {25, 26}, {35, 34, 32, 30}, false},
        DateCase{at(15, 6, 2099), {22, 21, 20, 19}, {26, 27}, {35, 34, 30, 29}, true},
        DateCase{at(29, 2, 2100), {23, 22, 21, 19}, {27}, {35, 34, 31}, true},
        DateCase{at(16, 8, 2127), {23}, {25}, {35, 34, 33, 32, 31, 30, 29}, true},
        // From 2128 the year minus 2000 no longer fits: all seven lit.
        DateCase{at(1, 1, 2128), {19}, {28}, {35, 34, 33, 32, 31, 30, 29}, true},
        DateCase{at(1, 1, 2500), {19}, {28}, {35, 34, 33, 32, 31, 30, 29}, true}));

TEST(YearSwitch, HiddenCellsKeepTheirLastColourWhileTheSwitchHolds)
{
    RecordingWindow window(ruzozuraElements());
    clock::writeDateSection(at(31, 12, 2047), window, lightsOnOff);
    window.clearLog();
    for (int year : {2048, 2100, 2200})
        clock::writeDateSection(at(1, 1, year), window, lightsOnOff);

    std::set<std::string> painted;
    for (const auto &write : window.writesOf(Property::BackColor))
        painted.insert(write.key.name);
    for (int number : upperYearFrames) {
        EXPECT_EQ(painted.count(frame(number)), 0u) << frame(number) << " painted while hidden";
        EXPECT_EQ(window.backColorOf(frame(number)), lightsOnOff.lit) << "as in 2047";
    }
}

TEST(YearSwitch, HidesTheFourHighestCellsFromLeftToRight)
{
    RecordingWindow window(ruzozuraElements());
    clock::writeDateSection(at(1, 1, 2048), window, lightsOnOff);
    std::vector<std::string> hidden;
    for (const auto &write : window.writesOf(Property::Visible))
        hidden.push_back(write.key.name);
    EXPECT_EQ(hidden, (std::vector<std::string>{"Frame39", "Frame38", "Frame37", "Frame36"}));
}

TEST(YearSwitch, SettingTheClockBackBringsTheElevenCellsBack)
{
    RecordingWindow window(ruzozuraElements());
    clock::writeDateSection(at(1, 1, 2048), window, lightsOnOff);
    clock::writeDateSection(at(6, 12, 2026), window, lightsOnOff);

    EXPECT_EQ(window.captionOf("Label15"), clock::yearHeadingElevenPlaces);
    for (int number : upperYearFrames) {
        EXPECT_EQ(window.visibleOf(frame(number)), true) << frame(number);
        EXPECT_EQ(window.backColorOf(frame(number)), lightsOnOff.lit) << frame(number);
    }
    EXPECT_EQ(litFrames(window, lowerYearFrames), (std::set<int>{35, 34, 32, 30}))
        << "2026, not 106";
    EXPECT_EQ(window.captionOf("Jahr"), "2026");
}

} // namespace
} // namespace tessaro
