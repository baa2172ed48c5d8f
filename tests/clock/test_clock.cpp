// SPDX-License-Identifier: GPL-3.0-or-later
// The clock's readouts on a layout of the test's own: a cell is keyed by its
// row's spoken name and its weight.
#include "datesection.h"
#include "readouts.h"
#include "recording_window.h"
#include "tick.h"

#include <tuple>

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
        all[at] = {{row, weight}, weight, text};
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
constexpr clock::HexCells hexCells(std::string_view combined)
{
    return {{combined, 1}, {combined, 0}, {combined}, combined};
}
constexpr ElementKey heading{"Jahr Stellen"};
constexpr clock::ClockLayout layout{
    valueRow(day, "Tag", "Tag dezimal"),
    valueRow(month, "Monat", "Monat dezimal"),
    valueRow(year, "Jahr", "Jahr dezimal"),
    {heading, "1024 .. I", "64 .. I", "1024 .. 1", "64 .. 1"},
    {valueRow(hours, "Stunden", "Stunden dezimal"), hexCells("Stunden hexadezimal, addiert")},
    {valueRow(minutes, "Minuten", "Minuten dezimal"), hexCells("Minuten hexadezimal, addiert")},
    {valueRow(seconds, "Sekunden", "Sekunden dezimal"), hexCells("Sekunden hexadezimal, addiert")}};

constexpr clock::CellColours lightsOnOff{0xC00000, 0x80FF80};
const std::string litColour = std::to_string(lightsOnOff.lit),
                  darkColour = std::to_string(lightsOnOff.dark);

// Rows as the window shows them, highest weight first, apart by a space: '1' lit, '0' dark,
// '-' never painted; '?' where a time cell's digit is not its bit, or a date cell shows text.
std::string shown(const RecordingWindow &window, std::initializer_list<clock::BitRow> rows)
{
    std::string bits;
    for (clock::BitRow row : rows) {
        bits += bits.empty() ? "" : " ";
        for (const clock::BitCell &cell : row) {
            const std::string colour = window("BackColor", {cell.key});
            const char bit = colour == litColour ? '1' : colour == darkColour ? '0' : '-';
            const std::string text = cell.textCell ? std::string(1, bit) : "";
            bits += window("Caption", {cell.key}) == text ? bit : '?';
        }
    }
    return bits;
}

// Each tick reads the clock once and lights the greedy bits of each row. The date rows'
// readouts and the year heading show the date: from 2048 the year minus 2000 stands on the
// seven lowest cells, the four hidden ones keep their colour; from 2128 all seven are lit.
// A screen reader hears each row, readout and combined hexadecimal cell with its value, the
// year heading in words and the moment; only changes count, and no cell or single digit is
// renamed. Without a reader the tick builds no name, and everything else is the same. The
// window's ticker writes again only when the reading, the colours or a reader's presence
// change: the timer ticks ten times a second.
TEST(Tick, ShowsTheMomentAndTellsAReaderTheValuesOnceEachChange)
{
    const char *const in2026 =
        "00110 1100 11111101010 01100 100010 111000 | 6 12 2026 1024 .. I | 1 1 1 1";
    const std::tuple<LocalDateTime, const char *, const char *> moments[] = {
        {{6, 12, 2026, 12, 34, 56},
         in2026,
         "Tag dezimal: 6|Tag: 6|Monat dezimal: 12|Monat: 12|Jahr dezimal: 2026|1024 .. 1|"
         "Jahr: 2026|Stunden dezimal: 12|Stunden hexadezimal, addiert: 0C|Stunden: 12|"
         "Minuten dezimal: 34|Minuten hexadezimal, addiert: 22|Minuten: 34|"
         "Sekunden dezimal: 56|Sekunden hexadezimal, addiert: 38|Sekunden: 56|"
         "12:34:56, 06.12.2026"},
        {{6, 12, 2026, 12, 34, 56}, in2026, ""},
        {{6, 12, 2026, 12, 34, 57},
         "00110 1100 11111101010 01100 100010 111001 | 6 12 2026 1024 .. I | 1 1 1 1",
         "Sekunden dezimal: 57|Sekunden hexadezimal, addiert: 39|Sekunden: 57|"
         "12:34:57, 06.12.2026"},
        {{1, 1, 2048, 12, 34, 57},
         "00001 0001 11110110000 01100 100010 111001 | 1 1 2048 64 .. I | 0 0 0 0",
         "Tag dezimal: 1|Tag: 1|Monat dezimal: 1|Monat: 1|Jahr dezimal: 2048|64 .. 1|Jahr: 48|"
         "12:34:57, 01.01.2048"},
        // Seven cells hold no more than 127.
        {{1, 1, 2130, 12, 34, 57},
         "00001 0001 11111111111 01100 100010 111001 | 1 1 2130 64 .. I | 0 0 0 0",
         "Jahr dezimal: 2130|Jahr: 127|12:34:57, 01.01.2130"}};
    RecordingWindow window, quiet;
    quiet.listening = false;
    testing::FixedClock clock({});
    clock::Ticker ticker, quietTicker;
    const auto writes = [&](clock::CellColours colours) {
        const std::size_t before = window.log.size();
        ticker.tick(clock, layout, window, colours);
        return window.log.size() > before;
    };
    for (const auto &[moment, date, heard] : moments) {
        window.renames.clear();
        clock.moment = moment;
        EXPECT_EQ(writes(lightsOnOff), *heard != '\0') << "only a new reading writes";
        quietTicker.tick(clock, layout, quiet, lightsOnOff);
        EXPECT_EQ(shown(window, {day, month, year, hours, minutes, seconds}) + " | " +
                      window("Caption", {layout.day.decimal.key, layout.month.decimal.key,
                                         layout.year.decimal.key, heading}) +
                      " | " +
                      window("Visible", {year[0].key, year[1].key, year[2].key, year[3].key}),
                  date);
        EXPECT_EQ(window.renames, heard);
    }
    EXPECT_EQ(window("Description", {ElementKey{}}), "12:34:57, 01.01.2130");
    EXPECT_EQ(clock.reads, 10);
    EXPECT_TRUE(quiet.renames.empty());
    std::erase_if(window.log, [](const std::string &write) {
        return write.starts_with("Name ") || write.starts_with("Description ");
    });
    EXPECT_EQ(quiet.log, window.log);
    const clock::CellColours swapped{lightsOnOff.dark, lightsOnOff.lit};
    EXPECT_TRUE(writes(swapped)) << "new colours";
    window.listening = false;
    EXPECT_TRUE(writes(swapped)) << "the reader gone";
    EXPECT_FALSE(writes(swapped));
}

} // namespace
} // namespace tessaro
