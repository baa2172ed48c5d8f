// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's handlers: start-up colours, the timer, the colour
// buttons, the option check boxes, "Exit" and "Info ".

#include "recording_window.h"
#include "ruzozura.h"
#include "ruzozura_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaro
{
namespace
{

using testing::at;
using testing::borderStyle;
using testing::caption;
using testing::Key;
using testing::PlaybackClock;
using testing::RecordingWindow;
using testing::visible;
using testing::Write;

class CountingToolkit final : public Toolkit
{
public:
    Window &load(const WindowDef &, WindowEvents &) override { throw std::logic_error("unused"); }
    void endProgram() override { ++endings; }
    void messageBox(std::string_view, std::string_view) override { ++messages; }

    int endings = 0;
    int messages = 0;
};

constexpr Colour blue = 0xC00000;
constexpr Colour lightGreen = 0x80FF80;

class RuzozuraTest : public ::testing::Test
{
protected:
    void load() { ruzozura.onLoad(window); }
    void loadAndTick()
    {
        load();
        tick();
    }
    void tick() { ruzozura.onTimer(window, {"Timer1"}); }
    void click(const char *name) { ruzozura.onClick(window, {name}); }
    // binsec1(5) is lit at every second from 32 to 59.
    std::optional<Colour> colourOfLitSecond() { return window.backColorOf({"binsec1", 5}); }

    RecordingWindow window{ruzozuraElements()};
    CountingToolkit toolkit;
    PlaybackClock clock{at(6, 12, 2026, 12, 34, 56)}; // second 56: binsec1(5) lit
    int aboutOpenings = 0;
    Ruzozura ruzozura{toolkit, clock, [this] { ++aboutOpenings; }};
};

TEST_F(RuzozuraTest, LoadSetsBlueLitAndLightGreenDarkAndTouchesNoElement)
{
    load();
    EXPECT_EQ(ruzozura.col, 0xC00000);
    EXPECT_EQ(ruzozura.col2, 0x80FF80);
    EXPECT_TRUE(window.writes().empty());
}

TEST_F(RuzozuraTest, TimerPaintsLitCellsInColAndDarkCellsInCol2)
{
    loadAndTick();
    EXPECT_EQ(window.backColorOf({"binsec1", 5}), blue);
    EXPECT_EQ(window.backColorOf({"binsec1", 0}), lightGreen);
    EXPECT_EQ(window.captionOf("se"), "56");
    EXPECT_EQ(clock.readings(), 1) << "one reading per timer event";
}

TEST_F(RuzozuraTest, OnlyTheClockTimerTicks)
{
    load();
    ruzozura.onTimer(window, {"Timer2"});
    EXPECT_TRUE(window.writes().empty());
    EXPECT_EQ(clock.readings(), 0);
}

struct ColourButtonCase {
    const char *button;
    std::int32_t col;
};

class ColourButtonTest : public RuzozuraTest, public ::testing::WithParamInterface<ColourButtonCase>
{
};

TEST_P(ColourButtonTest, NewLitColourShowsAtTheNextTickAndNotBefore)
{
    loadAndTick();
    window.clearLog();

    click(GetParam().button);
    click(GetParam().button); // a second click changes nothing further
    EXPECT_EQ(ruzozura.col, GetParam().col);
    EXPECT_EQ(ruzozura.col2, 0x80FF80);
    EXPECT_TRUE(window.writes().empty()) << "the click alone repaints nothing";
    EXPECT_EQ(colourOfLitSecond(), blue);

    tick();
    EXPECT_EQ(colourOfLitSecond(), Colour(GetParam().col));
    EXPECT_EQ(window.backColorOf("Frame39"), Colour(GetParam().col)) << "date cells too";
    EXPECT_EQ(window.backColorOf({"binsec1", 0}), lightGreen) << "dark cells keep col2";
}

INSTANTIATE_TEST_SUITE_P(Buttons, ColourButtonTest,
                         ::testing::Values(ColourButtonCase{"Command2", 0x008080},
                                           ColourButtonCase{"Command3", 0x0000FF},
                                           ColourButtonCase{"Command4", 0xC00000}),
                         [](const auto &testParam) { return std::string(testParam.param.button); });

std::vector<Write> decimalReadoutsShown(bool shown)
{
    std::vector<Write> writes;
    for (const char *readout : {"Stunde", "z2", "se", "Tag1", "Monat", "Jahr"}) {
        writes.push_back(visible(readout, shown));
        writes.push_back(borderStyle(readout, shown ? 1 : 0));
    }
    writes.push_back(caption("Label1", shown ? "Uhr" : "Stunden"));
    return writes;
}

std::vector<Write> bitAndByteInfoShown(bool shown)
{
    std::vector<Write> writes;
    for (const Key &key :
         {Key("Label18"), Key("Label17"), Key("Label16"), Key("Line5"), Key("Line4"),
          Key("Line3", 0), Key("Line3", 1), Key("Line6"), Key("Line7")})
        writes.push_back(visible(key, shown));
    return writes;
}

std::vector<Write> hexReadoutShown(bool shown)
{
    std::vector<Write> headings, digits;
    for (int index = 0; index <= 2; ++index)
        headings.push_back(visible({"hex1", index}, shown));
    for (int index = 0; index <= 8; ++index)
        digits.push_back(visible({"hexa1", index}, shown));
    std::vector<Write> writes = shown ? headings : digits;
    const std::vector<Write> &rest = shown ? digits : headings;
    writes.insert(writes.end(), rest.begin(), rest.end());
    return writes;
}

struct CheckBoxCase {
    const char *box;
    int value;
    std::vector<Write> expected;
};

void PrintTo(const CheckBoxCase &c, std::ostream *out)
{
    *out << c.box << " = " << c.value;
}

class CheckBoxTest : public RuzozuraTest, public ::testing::WithParamInterface<CheckBoxCase>
{
};

TEST_P(CheckBoxTest, ShowsOrHidesItsGroupInOrder)
{
    load();
    window.setValue(GetParam().box, GetParam().value);
    click(GetParam().box);
    EXPECT_EQ(window.writes(), GetParam().expected);
    EXPECT_EQ(ruzozura.col, 0xC00000) << "check boxes leave the colours alone";
}

INSTANTIATE_TEST_SUITE_P(Boxes, CheckBoxTest,
                         ::testing::Values(CheckBoxCase{"Check1", 1, decimalReadoutsShown(true)},
                                           CheckBoxCase{"Check1", 0, decimalReadoutsShown(false)},
                                           CheckBoxCase{"Check1", 2, decimalReadoutsShown(false)},
                                           CheckBoxCase{"Check2", 1, bitAndByteInfoShown(true)},
                                           CheckBoxCase{"Check2", 0, bitAndByteInfoShown(false)},
                                           CheckBoxCase{"Check2", 2, bitAndByteInfoShown(false)},
                                           CheckBoxCase{"Check3", 1, hexReadoutShown(true)},
                                           CheckBoxCase{"Check3", 0, hexReadoutShown(false)},
                                           CheckBoxCase{"Check3", 2, hexReadoutShown(false)}));

TEST_F(RuzozuraTest, HiddenReadoutsFollowTheClockAndShowTheLatestValue)
{
    loadAndTick();
    clock.set(at(7, 12, 2026, 8, 15, 3));
    tick();
    EXPECT_EQ(window.visibleOf("Stunde"), std::nullopt) << "still hidden as the window opened";
    EXPECT_EQ(window.captionOf("Stunde"), "8");
    EXPECT_EQ(window.captionOf("Tag1"), "7");
    EXPECT_EQ(window.captionOf({"hexa1", 6}), "0F");

    window.setValue("Check1", 1);
    click("Check1");
    EXPECT_EQ(window.visibleOf("Stunde"), true);
    EXPECT_EQ(window.captionOf("Stunde"), "8");
}

TEST_F(RuzozuraTest, ExitEndsTheProgramAndInfoOpensAboutEachTime)
{
    load();
    click("Command5");
    click("Command5");
    EXPECT_EQ(aboutOpenings, 2);
    EXPECT_EQ(toolkit.endings, 0);

    click("Command1");
    EXPECT_EQ(toolkit.endings, 1);
    EXPECT_EQ(toolkit.messages, 0) << "no question asked";
    EXPECT_TRUE(window.writes().empty());
}

TEST_F(RuzozuraTest, ClicksOnOtherElementsDoNothing)
{
    load();
    for (const char *name : {"Label4", "Frame23", "Frame18", "Line1"})
        click(name);
    EXPECT_TRUE(window.writes().empty());
    EXPECT_EQ(aboutOpenings + toolkit.endings, 0);
    EXPECT_EQ(ruzozura.col, 0xC00000);
}

} // namespace
} // namespace tessaro
