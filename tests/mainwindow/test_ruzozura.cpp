// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the captions it opens with and its handlers.
#include "recording_window.h"
#include "ruzozura.h"
#include "ruzozura_headings.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"

#include <algorithm>

namespace tessaro
{
namespace
{

using namespace ruzozura;

const ElementDef &def(ElementKey key)
{
    return *findRuzozuraElement(key);
}

// Where elements overlap, the one drawn over the other lies above it.
TEST(RuzozuraElements, OverlapsStackAsDrawn)
{
    std::vector<std::pair<ElementKey, ElementKey>> aboveBelow{
        {Line2, Label10}, {Label9, Label16}, {binsec1[5], se}};
    for (int cell = 0; cell <= 8; ++cell)
        for (int row = 0; row <= 2; ++row)
            aboveBelow.emplace_back(hexa1[cell], hex1[row]);
    for (const auto &[above, below] : aboveBelow)
        EXPECT_LT(def(above).stackRank, def(below).stackRank)
            << describe(above) << " under " << describe(below);
}

// A caption with each run of two or more spaces written as its length in braces.
std::string withRuns(std::string_view caption)
{
    std::string text;
    for (std::size_t at = 0; at < caption.size();) {
        const std::size_t run = std::min(caption.find_first_not_of(' ', at), caption.size()) - at;
        text += run > 1 ? '{' + std::to_string(run) + '}' : std::string(1, caption[at]);
        at += std::max<std::size_t>(run, 1);
    }
    return text;
}

// Runs of spaces place the values over their columns and the texts around
// the digit cells and over their lines: each stands exactly as designed.
TEST(RuzozuraElements, SpacedCaptionsStandExactlyAsDesigned)
{
    const std::pair<std::string_view, std::string_view> captions[] = {
        {def(Label14).caption, "Dezimalwert{2}16{5}8{6}4{6}2{6}I "},
        {yearHeadingElevenPlaces, "1024{2}512{2}256{2}128{2}64{3}32{4}16{5}8{5}4{7}2{5}I "},
        {yearHeadingSevenPlaces, "{31}64{2}32{3}16{4}8{4}4{6}2{5}I "},
        {yearHeadingElevenPlacesSpoken, "1024 512 256 128 64 32 16 8 4 2 1"}, // read aloud
        {yearHeadingSevenPlacesSpoken, "64 32 16 8 4 2 1"},
        {def(Label6).caption, "Dezimalwert{3}32 16{4}8{4}4{5}2{4}I"},
        {def(hex1[2]).caption, "Hexadeximal Byte1{17}Byte 0{20}Addiert"},
        {def(hex1[1]).caption, "Hexadeximal Byte1{18}Byte 0{19}Addiert"},
        {def(hex1[0]).caption, "Hexadeximal Byte1{18}Byte 0{19}Addiert"},
        {def(Label16).caption, "4 Bit System{76}0 bis 15 =16{2}Stellen{35}4 Bit = 1 Byte{5}"
                               "danach übertrag in{2}das nächste Byete"},
    };
    for (const auto &[caption, designed] : captions)
        EXPECT_EQ(withRuns(caption), designed);
}

struct NoToolkit final : Toolkit {
    Window &load(const WindowDef &, WindowEvents &) override { throw std::logic_error("unused"); }
    void endProgram() override {}
    void messageBox(std::string_view, std::string_view) override {}
};

const std::string blue = std::to_string(0xC00000), lightGreen = std::to_string(0x80FF80);

class RuzozuraTest : public ::testing::Test
{
protected:
    void SetUp() override { ruzozura.onLoad(window); }
    void tick() { ruzozura.onTimer(window, Timer1); }
    void click(ElementKey key) { ruzozura.onClick(window, key); }

    testing::RecordingWindow window;
    NoToolkit toolkit;
    testing::FixedClock clock{{6, 12, 2026, 12, 34, 56}};
    Ruzozura ruzozura{toolkit, clock, {}};
};

TEST_F(RuzozuraTest, LoadSetsTheColoursAndColourButtonsChangeTheLitOneAtTheNextTick)
{
    EXPECT_TRUE(window.log.empty()) << "load writes no element";
    tick();
    // 06.12.2026 12:34:56 in the window's own cells and readouts.
    EXPECT_EQ(window("Caption", {hexa1[0], hexa1[1], hexa1[2], hexa1[3], hexa1[4], hexa1[5],
                                 hexa1[6], hexa1[7], hexa1[8], Stunde, z2, se, Tag1, Monat, Jahr}),
              "8 3 38 0C 0 C 22 2 2 12 34 56 6 12 2026");
    EXPECT_EQ(window("Name", {Label13, Label2, hexa1[3], Stunde}),
              "Jahr: 2026 Sekunden: 56 Stunden hexadezimal, addiert: 0C Stunden dezimal: 12");
    EXPECT_EQ(window("BackColor", {binsec1[5], binsec1[0], Frame39}),
              blue + " " + lightGreen + " " + blue);
    for (const auto &[button, colour] :
         {std::pair{Command2, 0x008080}, {Command3, 0x0000FF}, {Command4, 0xC00000}}) {
        window.log.clear();
        click(button);
        EXPECT_TRUE(window.log.empty()) << "the click alone repaints nothing";
        tick();
        EXPECT_EQ(window("BackColor", {binsec1[5], binsec1[0], Frame39}),
                  std::to_string(colour) + " " + lightGreen + " " + std::to_string(colour));
    }
    EXPECT_EQ(clock.reads, 4) << "one reading per tick";
}

// One write per element and pattern; '@' stands for the element.
std::vector<std::string> writes(const std::vector<std::string> &patterns,
                                std::initializer_list<std::vector<ElementKey>> groups)
{
    std::vector<std::string> all;
    for (const auto &keys : groups)
        for (ElementKey key : keys)
            for (std::string part : patterns)
                all.push_back(part.replace(part.find('@'), 1, describe(key)));
    return all;
}

// Each box shows its group when checked, Value 2 (greyed) as unchecked; the
// readouts follow the clock while hidden.
TEST_F(RuzozuraTest, CheckBoxesShowOrHideTheirGroupsInOrder)
{
    tick();
    clock.moment = {7, 12, 2026, 8, 15, 3};
    tick();
    EXPECT_EQ(window("Visible", {Stunde}) + window("Caption", {Stunde}), "8") << "still hidden";
    const std::vector<ElementKey> hex{hex1[0], hex1[1], hex1[2]};
    const std::vector<ElementKey> digits{hexa1[0], hexa1[1], hexa1[2], hexa1[3], hexa1[4],
                                         hexa1[5], hexa1[6], hexa1[7], hexa1[8]};
    for (int value : {1, 0, 2}) {
        const std::string on = value == 1 ? "1" : "0", visible = "Visible @ " + on;
        auto decimal =
            writes({visible, "BorderStyle @ " + on}, {{Stunde, z2, se, Tag1, Monat, Jahr}});
        decimal.push_back("Caption " + describe(Label1) + (value == 1 ? " Uhr" : " Stunden"));
        const std::pair<ElementKey, std::vector<std::string>> boxes[] = {
            {Check1, decimal},
            {Check2, writes({visible}, {{Label18, Label17, Label16, Line5, Line4, Line3[0],
                                         Line3[1], Line6, Line7}})},
            {Check3,
             value == 1 ? writes({visible}, {hex, digits}) : writes({visible}, {digits, hex})}};
        for (const auto &[box, expected] : boxes) {
            window.values[describe(box)] = value;
            window.log.clear();
            click(box);
            EXPECT_EQ(window.log, expected) << describe(box) << " = " << value;
        }
    }
}

} // namespace
} // namespace tessaro
