// SPDX-License-Identifier: GPL-3.0-or-later
// One tick of the clock: what it shows for a reading, and that it shows one
// reading only.

#include "recording_window.h"
#include "ruzozura_window.h"
#include "tick.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tessaro
{
namespace
{

using testing::at;
using testing::Key;
using testing::PlaybackClock;
using testing::Property;
using testing::RecordingWindow;

constexpr clock::CellColours lightsOnOff{0xC00000, 0x80FF80};

// The captions of a time row from its highest cell down, e.g. "10111".
std::string rowCaptions(const RecordingWindow &window, const char *row, int highestIndex)
{
    std::string bits;
    for (int index = highestIndex; index >= 0; --index)
        bits += window.captionOf({row, index}).value_or("?");
    return bits;
}

struct TimeCase {
    LocalDateTime time;
    const char *hours, *minutes, *seconds;          // bit rows, highest cell first
    const char *stunde, *z2, *se;                   // decimal readouts
    const char *hexHours, *hexMinutes, *hexSeconds; // combined hex cells
};

void PrintTo(const TimeCase &c, std::ostream *out)
{
    *out << c.time.hour << ':' << c.time.minute << ':' << c.time.second;
}

class TickTimeTest : public ::testing::TestWithParam<TimeCase>
{
};

TEST_P(TickTimeTest, ShowsTheTimeInBinaryDecimalAndHexadecimal)
{
    const TimeCase &c = GetParam();
    PlaybackClock clock(c.time);
    RecordingWindow window(ruzozuraElements());
    clock::runTick(clock, window, lightsOnOff);

    EXPECT_EQ(rowCaptions(window, "bin1", 4), c.hours);
    EXPECT_EQ(rowCaptions(window, "binmin1", 5), c.minutes);
    EXPECT_EQ(rowCaptions(window, "binsec1", 5), c.seconds);
    EXPECT_EQ(window.captionOf("Stunde"), c.stunde);
    EXPECT_EQ(window.captionOf("z2"), c.z2);
    EXPECT_EQ(window.captionOf("se"), c.se);
    EXPECT_EQ(window.captionOf({"hexa1", 3}), c.hexHours);
    EXPECT_EQ(window.captionOf({"hexa1", 6}), c.hexMinutes);
    EXPECT_EQ(window.captionOf({"hexa1", 2}), c.hexSeconds);

    // The colour follows the caption in every time cell.
    for (const auto &[row, highest] : {std::pair{"bin1", 4}, {"binmin1", 5}, {"binsec1", 5}}) {
        for (int index = 0; index <= highest; ++index) {
            SCOPED_TRACE(Key(row, index));
            const bool lit = window.captionOf({row, index}) == "1";
            EXPECT_EQ(window.backColorOf({row, index}), lit ? lightsOnOff.lit : lightsOnOff.dark);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Times, TickTimeTest,
                         ::testing::Values(TimeCase{at(1, 1, 2026, 0, 0, 0), "00000", "000000",
                                                    "000000", "0", "0", "0", "00", "00", "00"},
                                           TimeCase{at(1, 1, 2026, 12, 34, 56), "01100", "100010",
                                                    "111000", "12", "34", "56", "0C", "22", "38"},
                                           TimeCase{at(1, 1, 2026, 23, 59, 59), "10111", "111011",
                                                    "111011", "23", "59", "59", "17", "3B", "3B"},
                                           TimeCase{at(1, 1, 2026, 7, 5, 9), "00111", "000101",
                                                    "001001", "7", "5", "9", "07", "05", "09"}));

TEST(Tick, ReadsTheClockOncePerTick)
{
    PlaybackClock clock(at(6, 12, 2026, 12, 34, 56));
    RecordingWindow window(ruzozuraElements());
    for (int tick = 1; tick <= 3; ++tick) {
        clock::runTick(clock, window, lightsOnOff);
        EXPECT_EQ(clock.readings(), tick);
    }
}

TEST(Tick, NeverMixesTwoReadingsWhenTheHourTurns)
{
    // Were the clock read again for the minutes, it would give 10:00:00.
    PlaybackClock clock;
    clock.queue(at(31, 12, 2047, 9, 59, 59));
    clock.queue(at(1, 1, 2048, 10, 0, 0));
    RecordingWindow window(ruzozuraElements());
    clock::runTick(clock, window, lightsOnOff);

    EXPECT_EQ(window.captionOf("Stunde"), "9");
    EXPECT_EQ(window.captionOf("z2"), "59");
    EXPECT_EQ(window.captionOf("se"), "59");
    EXPECT_EQ(window.captionOf("Jahr"), "2047");

    clock::runTick(clock, window, lightsOnOff);
    EXPECT_EQ(window.captionOf("Stunde"), "10");
    EXPECT_EQ(window.captionOf("z2"), "0");
    EXPECT_EQ(window.captionOf("Jahr"), "2048");
}

// Everything the tick drives, written again on every tick whether it changed
// or not, so a hidden readout shown again holds the latest value at once.
TEST(Tick, RewritesEveryReadoutAndCellOnEveryTick)
{
    PlaybackClock clock(at(6, 12, 2026, 12, 34, 56));
    RecordingWindow window(ruzozuraElements());
    clock::runTick(clock, window, lightsOnOff);
    window.clearLog();
    clock::runTick(clock, window, lightsOnOff);

    std::set<Key> captioned, coloured;
    for (const auto &write : window.writesOf(Property::Caption))
        captioned.insert(write.key);
    for (const auto &write : window.writesOf(Property::BackColor))
        coloured.insert(write.key);

    EXPECT_EQ(coloured.size(), 20u + 17u) << "20 date cells and 17 time cells";
    EXPECT_EQ(captioned.size(), 17u + 9u + 6u + 1u) << "time cells, hex cells, readouts, Label15";
    for (const char *readout : {"Tag1", "Monat", "Jahr", "Stunde", "z2", "se"})
        EXPECT_TRUE(captioned.count(readout)) << readout;
    for (int index = 0; index <= 8; ++index)
        EXPECT_TRUE(captioned.count({"hexa1", index})) << "hexa1(" << index << ")";
}

TEST(Tick, WritesDateThenHoursMinutesSecondsEachDecimalHexBits)
{
    PlaybackClock clock(at(6, 12, 2026, 12, 34, 56));
    RecordingWindow window(ruzozuraElements());
    clock::runTick(clock, window, lightsOnOff);

    const std::vector<Key> order{
        "Tag1",   "Frame23",       "Monat",          "Frame25", "Jahr",          "Frame39",
        "Stunde", Key("hexa1", 4), Key("bin1", 4),   "z2",      Key("hexa1", 8), Key("binmin1", 5),
        "se",     Key("hexa1", 1), Key("binsec1", 5)};
    for (std::size_t i = 1; i < order.size(); ++i) {
        EXPECT_LT(window.firstWriteTo(order[i - 1]), window.firstWriteTo(order[i]))
            << order[i - 1] << " before " << order[i];
    }
}

} // namespace
} // namespace tessaro
