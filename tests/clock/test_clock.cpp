// SPDX-License-Identifier: GPL-3.0-or-later
// The clock's readouts: bit rows, hexadecimal cells, the date rows with the
// year row's seven cells from 2048 on, and one tick, on a layout of the
// test's own: a cell is keyed by its row's spoken name and its weight.
#include "datesection.h"
#include "readouts.h"
#include "recording_window.h"
#include "tick.h"

#include <sstream>

namespace tessaro
{
namespace
{

using testing::RecordingWindow;

template <std::size_t count> constexpr auto cells(std::string_view row, bool text)
{
    std::array<clock::BitCell, count> all{};
    for (std::size_t at = 0; at < count; ++at) {
        const int weight = 1 << (count - 1 - at);
        all[at] = {{row, weight}, weight, text, row};
    }
    return all;
}
constexpr auto day = cells<5>("Tag", false), hours = cells<5>("Stunden", true);
constexpr auto month = cells<4>("Monat", false);
constexpr auto year = cells<11>("Jahr", false);
constexpr auto minutes = cells<6>("Minuten", true), seconds = cells<6>("Sekunden", true);

// Title and decimal readout keyed by what a reader calls them.
constexpr clock::ValueRow valueRow(clock::BitRow row, std::string_view title,
                                   std::string_view decimal)
{
    return {row, {{title}, title}, {{decimal}, decimal}};
}
constexpr clock::HexCells hexCells(std::string_view name)
{
    return {{name, 1}, {name, 0}, {name, 2}, name, name, name};
}
constexpr ElementKey heading{"Jahr Stellen"};
constexpr clock::ClockLayout layout{
    valueRow(day, "Tag", "Tag dezimal"),
    valueRow(month, "Monat", "Monat dezimal"),
    valueRow(year, "Jahr", "Jahr dezimal"),
    {heading, "1024 .. I", "64 .. I", "1024 .. 1", "64 .. 1"},
    {valueRow(hours, "Stunden", "Stunden dezimal"), hexCells("Stunden hexadezimal")},
    {valueRow(minutes, "Minuten", "Minuten dezimal"), hexCells("Minuten hexadezimal")},
    {valueRow(seconds, "Sekunden", "Sekunden dezimal"), hexCells("Sekunden hexadezimal")}};
constexpr ElementKey Frame39{"Jahr", 1024}, Frame38{"Jahr", 512}, Frame37{"Jahr", 256},
    Frame36{"Jahr", 128};

constexpr clock::CellColours lightsOnOff{0xC00000, 0x80FF80};
const std::string litColour = std::to_string(lightsOnOff.lit);
const std::string darkColour = std::to_string(lightsOnOff.dark);

// Rows as the window shows them, highest weight first, apart by a space: '1'
// lit, '0' dark, '-' never painted.
std::string shown(const RecordingWindow &window, std::initializer_list<clock::BitRow> rows)
{
    std::string bits;
    for (clock::BitRow row : rows) {
        bits += bits.empty() ? "" : " ";
        for (const clock::BitCell &cell : row) {
            const std::string colour = window("BackColor", {cell.key});
            bits += colour == litColour ? '1' : colour == darkColour ? '0' : '-';
        }
    }
    return bits;
}

TEST(BitRow, LightsTheGreedyBitsInColourTextAndSpokenName)
{
    const std::pair<clock::BitRow, const char *> cases[] = {
        {hours, "0:00000 16:10000 23:10111 31:11111 40:11111 -1:00000"},
        {minutes, "1:000001 32:100000 59:111011 64:111111"},
        {seconds, "31:011111 63:111111"},
        {day, "1:00001 31:11111"},
        {month, "12:1100 16:1111"},
        {year, "1024:10000000000 2047:11111111111 2048:11111111111"}};
    for (const auto &[row, values] : cases) {
        std::istringstream in(values);
        int value = 0;
        char colon = 0;
        for (std::string bits; in >> value >> colon >> bits;) {
            SCOPED_TRACE(std::to_string(value) + " on " + describe(row[0].key));
            RecordingWindow window;
            clock::PaintBitRow(value, row, window, lightsOnOff);
            ASSERT_EQ(shown(window, {row}), bits);
            for (std::size_t i = 0; i < row.size(); ++i) {
                const bool lit = bits[i] == '1';
                EXPECT_EQ(window("Caption", {row[i].key}),
                          row[i].textCell ? (lit ? "1" : "0") : "");
                EXPECT_EQ(window("Name", {row[i].key}),
                          std::string(row[i].accessibleBase) + (lit ? ", an" : ", aus"));
            }
        }
    }
}

TEST(HexSection, ShowsEachDigitAndBothTogether)
{
    const std::map<int, std::string> values{{0, "00"},  {10, "0A"}, {15, "0F"},
                                            {16, "10"}, {23, "17"}, {47, "2F"},
                                            {48, "30"}, {59, "3B"}, {63, "3F"}};
    // The high digit, the low digit and both, as they stand in the window.
    const clock::HexCells &cells = layout.minutes.hex;
    for (const auto &[value, digits] : values) {
        RecordingWindow window;
        clock::writeHexSection(value, cells, window);
        EXPECT_EQ(window("Caption", {cells.high, cells.low, cells.combined}),
                  (std::string{digits[0], ' ', digits[1], ' '} + digits));
        EXPECT_EQ(window.log.size(), 6u);
    }
}

// The clock runs through these dates: from 2048 the year minus 2000 stands on
// the seven lowest cells and the four hidden ones keep their colour; from 2128
// it no longer fits and all seven are lit.
TEST(DateSection, RowsReadoutsAndYearRowShowTheDate)
{
    const std::pair<LocalDateTime, const char *> dates[] = {
        {{1, 1, 2048}, "00001 0001 ----0110000 | 1 1 2048 | 0 0 0 0"},
        {{6, 12, 2026}, "00110 1100 11111101010 | 6 12 2026 | 1 1 1 1"},
        {{31, 12, 2047}, "11111 1100 11111111111 | 31 12 2047 | 1 1 1 1"},
        {{15, 6, 2099}, "01111 0110 11111100011 | 15 6 2099 | 0 0 0 0"},
        {{29, 2, 2100}, "11101 0010 11111100100 | 29 2 2100 | 0 0 0 0"},
        {{1, 1, 2128}, "00001 0001 11111111111 | 1 1 2128 | 0 0 0 0"}};
    RecordingWindow window;
    for (const auto &[date, expected] : dates) {
        clock::writeDateSection(date, layout, window, lightsOnOff);
        EXPECT_EQ(shown(window, {day, month, year}) + " | " +
                      window("Caption", {layout.day.decimal.key, layout.month.decimal.key,
                                         layout.year.decimal.key}) +
                      " | " + window("Visible", {Frame39, Frame38, Frame37, Frame36}),
                  expected);
        EXPECT_EQ(window("Caption", {heading}), date.year >= 2048 ? "64 .. I" : "1024 .. I");
    }
}

TEST(Tick, ShowsTheTimeInBinaryDecimalAndHexadecimalFromOneReadingPerTick)
{
    const std::pair<LocalDateTime, const char *> times[] = {
        {{1, 1, 2026, 0, 0, 0}, "00000 000000 000000 | 00 00 00 | 0 0 0"},
        {{1, 1, 2026, 12, 34, 56}, "01100 100010 111000 | 0C 22 38 | 12 34 56"},
        {{1, 1, 2026, 23, 59, 59}, "10111 111011 111011 | 17 3B 3B | 23 59 59"}};
    testing::PlaybackClock clock({times[0].first, times[1].first, times[2].first});
    RecordingWindow window;
    int ticks = 0;
    for (const auto &[time, expected] : times) {
        clock::runTick(clock, layout, window, lightsOnOff);
        EXPECT_EQ(clock.reads, ++ticks);
        EXPECT_EQ(
            shown(window, {hours, minutes, seconds}) + " | " +
                window("Caption", {layout.hours.hex.combined, layout.minutes.hex.combined,
                                   layout.seconds.hex.combined}) +
                " | " +
                window("Caption", {layout.hours.row.decimal.key, layout.minutes.row.decimal.key,
                                   layout.seconds.row.decimal.key}),
            expected);
    }
}

// What a screen reader hears at a frozen moment: each row's title named
// after the value the row shows, each readout and digit cell with its value,
// the year heading with "1" for the weight written "I".
TEST(Tick, NamesEveryRowReadoutAndDigitCellWithItsValue)
{
    const std::pair<LocalDateTime, const char *> moments[] = {
        {{6, 12, 2026, 12, 34, 56},
         "Tag: 6|Monat: 12|Jahr: 2026|Stunden: 12|Minuten: 34|Sekunden: 56|"
         "Tag dezimal: 6|Jahr dezimal: 2026|Stunden dezimal: 12|Sekunden dezimal: 56|"
         "Stunden hexadezimal: 0|Stunden hexadezimal: C|"
         "Minuten hexadezimal: 22|Sekunden hexadezimal: 38|"
         "1024 .. 1"},
        {{1, 1, 2048, 23, 59, 9},
         "Tag: 1|Monat: 1|Jahr: 48|Stunden: 23|Minuten: 59|Sekunden: 9|"
         "Tag dezimal: 1|Jahr dezimal: 2048|Stunden dezimal: 23|Sekunden dezimal: 9|"
         "Stunden hexadezimal: 1|Stunden hexadezimal: 7|"
         "Minuten hexadezimal: 3B|Sekunden hexadezimal: 09|"
         "64 .. 1"},
        // Seven cells hold no more than 127.
        {{31, 12, 2130, 0, 0, 0},
         "Tag: 31|Monat: 12|Jahr: 127|Stunden: 0|Minuten: 0|Sekunden: 0|"
         "Tag dezimal: 31|Jahr dezimal: 2130|Stunden dezimal: 0|Sekunden dezimal: 0|"
         "Stunden hexadezimal: 0|Stunden hexadezimal: 0|"
         "Minuten hexadezimal: 00|Sekunden hexadezimal: 00|"
         "64 .. 1"}};
    for (const auto &[moment, expected] : moments) {
        RecordingWindow window;
        clock::showDateTime(moment, layout, window, lightsOnOff);
        std::string heard;
        for (ElementKey key :
             {layout.day.title.label, layout.month.title.label, layout.year.title.label,
              layout.hours.row.title.label, layout.minutes.row.title.label,
              layout.seconds.row.title.label, layout.day.decimal.key, layout.year.decimal.key,
              layout.hours.row.decimal.key, layout.seconds.row.decimal.key, layout.hours.hex.high,
              layout.hours.hex.low, layout.minutes.hex.combined, layout.seconds.hex.combined,
              heading})
            heard += (heard.empty() ? "" : "|") + window("Name", {key});
        EXPECT_EQ(heard, expected);
    }
}

// Without a reader the tick builds no name at all, and the rows, readouts
// and digit cells show the same.
TEST(Tick, BuildsNoNamesWhileNoReaderListens)
{
    RecordingWindow quiet;
    quiet.listening = false;
    RecordingWindow read;
    const LocalDateTime moment{6, 12, 2026, 12, 34, 56};
    clock::showDateTime(moment, layout, quiet, lightsOnOff);
    clock::showDateTime(moment, layout, read, lightsOnOff);
    EXPECT_EQ(std::count_if(quiet.log.begin(), quiet.log.end(),
                            [](const std::string &write) { return write.starts_with("Name "); }),
              0);
    std::vector<std::string> shownWrites;
    std::copy_if(read.log.begin(), read.log.end(), std::back_inserter(shownWrites),
                 [](const std::string &write) { return !write.starts_with("Name "); });
    EXPECT_EQ(quiet.log, shownWrites);
}

} // namespace
} // namespace tessaro
