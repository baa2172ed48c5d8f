// SPDX-License-Identifier: GPL-3.0-or-later
// The hexadecimal readout of hours, minutes and seconds.

#include "readouts.h"
#include "recording_window.h"
#include "ruzozura_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tessaro
{
namespace
{

using testing::Property;
using testing::RecordingWindow;

struct Unit {
    const char *name;
    const clock::HexCells &cells;
    int high, low, combined; // hexa1 indices, as they stand in the window
};

const Unit units[] = {
    {"hours", clock::hoursHex, 4, 5, 3},
    {"minutes", clock::minutesHex, 8, 7, 6},
    {"seconds", clock::secondsHex, 1, 0, 2},
};

std::string twoHexDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

TEST(HexSection, EveryValueUpTo63ShowsItsTwoDigitsInItsUnitsCells)
{
    for (const Unit &unit : units) {
        for (int value = 0; value <= 63; ++value) {
            SCOPED_TRACE(std::string(unit.name) + " " + std::to_string(value));
            RecordingWindow window(ruzozuraElements());
            clock::writeHexSection(value, unit.cells, window);

            const std::string digits = twoHexDigits(value);
            EXPECT_EQ(window.captionOf({"hexa1", unit.high}), digits.substr(0, 1));
            EXPECT_EQ(window.captionOf({"hexa1", unit.low}), digits.substr(1, 1));
            EXPECT_EQ(window.captionOf({"hexa1", unit.combined}), digits);
            EXPECT_EQ(window.writes().size(), 3u) << "three captions and nothing else";
            EXPECT_EQ(window.writesOf(Property::Caption).size(), 3u);
        }
    }
}

TEST(DecimalText, ShowsDigitsOnlyWithoutPaddingOrLeadingZero)
{
    const std::pair<int, const char *> cases[] = {{0, "0"},       {7, "7"},         {59, "59"},
                                                  {2047, "2047"}, {32767, "32767"}, {-5, "-5"}};
    for (const auto &[value, text] : cases)
        EXPECT_EQ(clock::DecimalText(value).view(), text);
}

} // namespace
} // namespace tessaro
