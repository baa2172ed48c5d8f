// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's element table: which elements exist, how they start, how
// they stack and where they stand relative to each other.
#include "headings.h"
#include "ruzozura_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaro
{
namespace
{

const ElementDef &element(ElementKey key)
{
    const ElementDef *e = findRuzozuraElement(key);
    if (e == nullptr)
        throw std::runtime_error("no element " + std::string(key.name) + "(" +
                                 std::to_string(key.index) + ")");
    return *e;
}

std::string describe(ElementKey key)
{
    return key.index < 0 ? std::string(key.name)
                         : std::string(key.name) + "(" + std::to_string(key.index) + ")";
}

bool isLabelOrLine(const ElementDef &e)
{
    return e.kind == ElementKind::Label || e.kind == ElementKind::Line;
}

bool isChildWindow(const ElementDef &e)
{
    return !isLabelOrLine(e) && e.kind != ElementKind::Timer;
}

// Runs of spaces around and between the segments, if the caption consists of
// exactly these segments in this order with nothing but spaces between them.
std::optional<std::vector<int>> spaceRuns(std::string_view caption,
                                          const std::vector<std::string_view> &segments)
{
    std::vector<int> runs;
    std::size_t at = 0;
    auto skipSpaces = [&] {
        const std::size_t from = at;
        while (at < caption.size() && caption[at] == ' ')
            ++at;
        runs.push_back(int(at - from));
    };
    for (std::string_view segment : segments) {
        skipSpaces();
        if (caption.substr(at, segment.size()) != segment)
            return std::nullopt;
        at += segment.size();
    }
    skipSpaces();
    if (at != caption.size())
        return std::nullopt;
    return runs;
}

std::size_t characterCount(std::string_view utf8)
{
    return std::size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

int right(const TwipRect &r)
{
    return r.left + r.width;
}
int bottom(const TwipRect &r)
{
    return r.top + r.height;
}

TEST(RuzozuraWindow, IsTheFixedGreenTessaroWindowOfDesignSize)
{
    const WindowDef &window = ruzozuraWindow();
    EXPECT_EQ(window.name, "Ruzozura");
    EXPECT_EQ(window.caption, "Tessaro");
    EXPECT_EQ(window.clientWidth, 6105);
    EXPECT_EQ(window.clientHeight, 7035);
    EXPECT_EQ(window.backColour, colours::windowGreen);
    EXPECT_EQ(window.icon, IconId::LogicGate);
    EXPECT_FALSE(window.dialogFrame);
    EXPECT_EQ(window.elements.data(), ruzozuraElements().data());
    EXPECT_EQ(window.elements.size(), 95u);
}

TEST(RuzozuraElements, CountsByKind)
{
    const std::map<ElementKind, int> expected{
        {ElementKind::Label, 57},   {ElementKind::CellFrame, 20}, {ElementKind::WebFrame, 1},
        {ElementKind::CheckBox, 3}, {ElementKind::Button, 5},     {ElementKind::Line, 8},
        {ElementKind::Timer, 1},
    };
    std::map<ElementKind, int> counted;
    for (const ElementDef &e : ruzozuraElements())
        ++counted[e.kind];
    EXPECT_EQ(counted, expected);
}

TEST(RuzozuraElements, EveryElementIsFoundUnderItsOwnKeyAndNoOtherKeyExists)
{
    for (const ElementDef &e : ruzozuraElements()) {
        SCOPED_TRACE(describe(e.key));
        EXPECT_EQ(findRuzozuraElement(e.key), &e) << "the key is taken twice";
    }
    // Gaps in the numbering, indices beyond the arrays, array names without index.
    for (ElementKey unknown : {ElementKey{"Label5"}, ElementKey{"Frame24"}, ElementKey{"bin1", 5},
                               ElementKey{"hexa1", 9}, ElementKey{"bin1"}, ElementKey{"Label15", 0},
                               ElementKey{"Timer2"}}) {
        EXPECT_EQ(findRuzozuraElement(unknown), nullptr) << describe(unknown);
    }
}

TEST(RuzozuraElements, ControlArraysHoldExactlyTheirIndices)
{
    struct Array {
        std::string_view name;
        ElementKind kind;
        int count;
    };
    const Array arrays[] = {
        {"bin1", ElementKind::Label, 5},    {"binmin1", ElementKind::Label, 6},
        {"binsec1", ElementKind::Label, 6}, {"bin", ElementKind::Label, 3},
        {"hex1", ElementKind::Label, 3},    {"hexa1", ElementKind::Label, 9},
        {"Line3", ElementKind::Line, 2},
    };
    for (const Array &array : arrays) {
        SCOPED_TRACE(std::string(array.name));
        std::set<int> indices;
        for (const ElementDef &e : ruzozuraElements()) {
            if (e.key.name == array.name) {
                indices.insert(e.key.index);
                EXPECT_EQ(e.kind, array.kind);
            }
        }
        std::set<int> expected;
        for (int i = 0; i < array.count; ++i)
            expected.insert(i);
        EXPECT_EQ(indices, expected);
    }
    const auto isArray = [&](std::string_view name) {
        return std::any_of(std::begin(arrays), std::end(arrays),
                           [name](const Array &a) { return a.name == name; });
    };
    for (const ElementDef &e : ruzozuraElements()) {
        if (!isArray(e.key.name)) {
            EXPECT_EQ(e.key.index, -1) << describe(e.key) << " is a single element";
        }
    }
}

TEST(RuzozuraElements, SpacedHeadingsKeepTheirSegmentsInOrder)
{
    struct Heading {
        std::string_view name;
        std::string_view caption;
        std::vector<std::string_view> segments;
        int trailingSpaces;
    };
    const Heading headings[] = {
        {"Label14", element({"Label14"}).caption, {"Dezimalwert", "16", "8", "4", "2", "I"}, 1},
        {"Label6", element({"Label6"}).caption, {"Dezimalwert", "32 16", "8", "4", "2", "I"}, 0},
        {"Label15",
         element({"Label15"}).caption,
         {"1024", "512", "256", "128", "64", "32", "16", "8", "4", "2", "I"},
         1},
        {"year from 2048",
         clock::yearHeadingSevenPlaces,
         {"64", "32", "16", "8", "4", "2", "I"},
         1},
        {"hex1(0)", element({"hex1", 0}).caption, {"Hexadeximal Byte1", "Byte 0", "Addiert"}, 0},
        {"hex1(1)", element({"hex1", 1}).caption, {"Hexadeximal Byte1", "Byte 0", "Addiert"}, 0},
        {"hex1(2)", element({"hex1", 2}).caption, {"Hexadeximal Byte1", "Byte 0", "Addiert"}, 0},
    };
    for (const Heading &heading : headings) {
        SCOPED_TRACE(std::string(heading.name) + ": \"" + std::string(heading.caption) + "\"");
        const auto runs = spaceRuns(heading.caption, heading.segments);
        ASSERT_TRUE(runs.has_value()) << "other segments or other characters than spaces";
        EXPECT_EQ(runs->back(), heading.trailingSpaces);
        // Only the seven-place heading starts with spaces: its first value
        // stands over the fifth year cell.
        EXPECT_EQ(runs->front() > 0, heading.name == "year from 2048");
        EXPECT_TRUE(std::all_of(runs->begin() + 1, runs->end() - 1, [](int n) { return n >= 1; }))
            << "segments run together";
    }
    EXPECT_EQ(element({"Label15"}).caption, clock::yearHeadingElevenPlaces);
}

TEST(RuzozuraElements, FourBitTextWrapsThroughItsOwnRunsOfSpaces)
{
    const std::string_view text = element({"Label16"}).caption;
    const auto runs = spaceRuns(text, {"4 Bit System", "0 bis 15 =16", "Stellen", "4 Bit = 1 Byte",
                                       "danach übertrag in", "das nächste Byete"});
    ASSERT_TRUE(runs.has_value()) << text;
    EXPECT_EQ(*runs, (std::vector<int>{0, 76, 2, 35, 5, 2, 0}));
    EXPECT_EQ(characterCount(text), 200u);
}

TEST(RuzozuraElements, WindowOpensWithReadoutsHiddenAndTheOtherGroupsShown)
{
    struct Readout {
        std::string_view name;
        std::string_view caption;
        bool transparent;
    };
    for (const Readout &r : {Readout{"Tag1", "Ta", true}, Readout{"Monat", "Mo", true},
                             Readout{"Jahr", "Ja", true}, Readout{"Stunde", " std", true},
                             Readout{"z2", " min", true}, Readout{"se", "sec", false}}) {
        SCOPED_TRACE(std::string(r.name));
        const ElementDef &e = element({r.name});
        EXPECT_EQ(e.caption, r.caption);
        EXPECT_EQ(e.flags,
                  flags::hidden | flags::alignRight | (r.transparent ? flags::transparent : 0));
        EXPECT_EQ(e.font, FontId::Bold);
    }
    const auto hidden = std::count_if(ruzozuraElements().begin(), ruzozuraElements().end(),
                                      [](const ElementDef &e) { return e.flags & flags::hidden; });
    EXPECT_EQ(hidden, 6) << "only the six readouts start hidden";

    EXPECT_FALSE(element({"Check1"}).flags & flags::checked);
    EXPECT_TRUE(element({"Check2"}).flags & flags::checked);
    EXPECT_TRUE(element({"Check3"}).flags & flags::checked);
    EXPECT_EQ(element({"Label1"}).caption, "Stunden");
    EXPECT_EQ(element({"Timer1"}).style, 100) << "the tick comes every 100 ms";
}

TEST(RuzozuraElements, CellsStartPaleGreenAndDigitCellsYellow)
{
    int dateCells = 0;
    int timeCells = 0;
    int digitCells = 0;
    for (const ElementDef &e : ruzozuraElements()) {
        SCOPED_TRACE(describe(e.key));
        if (e.kind == ElementKind::CellFrame) {
            ++dateCells;
            EXPECT_EQ(e.backColour, colours::paleCellGreen);
            EXPECT_EQ(e.rect.height, 144);
        } else if (e.key.name == "bin1" || e.key.name == "binmin1" || e.key.name == "binsec1") {
            ++timeCells;
            EXPECT_EQ(e.caption, "0");
            EXPECT_EQ(e.backColour, colours::paleCellGreen);
            EXPECT_EQ(e.foreColour, colours::white);
            EXPECT_EQ(e.font, FontId::Bold);
            EXPECT_EQ(e.flags, 0) << "opaque, left-aligned, no border";
            EXPECT_EQ(e.rect.width, 150);
            EXPECT_EQ(e.rect.height, 195);
        } else if (e.key.name == "hexa1") {
            ++digitCells;
            EXPECT_EQ(e.caption, "0");
            EXPECT_EQ(e.backColour, colours::yellow);
            EXPECT_EQ(e.flags, flags::alignCentre);
        }
    }
    EXPECT_EQ(dateCells, 20);
    EXPECT_EQ(timeCells, 17);
    EXPECT_EQ(digitCells, 9);
}

TEST(RuzozuraElements, ButtonsAndWebAddress)
{
    struct Button {
        std::string_view name;
        Colour face;
        std::string_view caption;
        FontId font;
        std::string_view toolTip;
    };
    for (const Button &b : {
             Button{"Command2", colours::olive, "", FontId::Standard,
                    "Auf grüne Dioden umschalten"},
             Button{"Command3", colours::red, "", FontId::Standard, "Auf rote Dioden umschalten"},
             Button{"Command4", colours::blue, "", FontId::Standard, "Au blaue Dioden umschalten"},
             Button{"Command5", colours::yellow, "Info ", FontId::Standard, ""},
             Button{"Command1", colours::orange, "Exit", FontId::Exit,
                    "Nicht drücken sonst bin ich weg!!!"},
         }) {
        SCOPED_TRACE(std::string(b.name));
        const ElementDef &e = element({b.name});
        EXPECT_EQ(e.kind, ElementKind::Button);
        EXPECT_EQ(e.backColour, b.face);
        EXPECT_EQ(e.caption, b.caption);
        EXPECT_EQ(e.font, b.font);
        EXPECT_EQ(e.toolTip, b.toolTip);
    }
    const ElementDef &web = element({"Frame18"});
    EXPECT_EQ(web.kind, ElementKind::WebFrame);
    EXPECT_FALSE(web.caption.empty());
    EXPECT_EQ(web.backColour, colours::lightGreen);
    EXPECT_EQ(web.foreColour, colours::windowText);
    EXPECT_EQ(web.toolTip, "von dort kommt das Programm");
}

TEST(RuzozuraElements, PlaceValueHeadingsExplainHowToReadTheClock)
{
    for (std::string_view name : {"Label14", "Label15", "Label6"})
        EXPECT_EQ(element({name}).toolTip, "Die aktiven Werte addieren um auf die Zeit zu kommen!")
            << name;
    EXPECT_EQ(element({"Label17"}).toolTip, "Heutige PC haben ein 63 bit bis 128 bit Systeme");
    EXPECT_EQ(element({"Check1"}).toolTip, "Die Digitalanzeige ein und aus schalten");
}

TEST(RuzozuraElements, ScreenReadersHearANameForEveryCellReadoutAndControl)
{
    const std::set<std::string_view> readouts{"Tag1", "Monat", "Jahr", "Stunde", "z2", "se"};
    for (const ElementDef &e : ruzozuraElements()) {
        const bool cell = e.kind == ElementKind::CellFrame || e.key.name == "bin1" ||
                          e.key.name == "binmin1" || e.key.name == "binsec1" ||
                          e.key.name == "hexa1";
        const bool control = e.kind == ElementKind::Button || e.kind == ElementKind::CheckBox;
        if (cell || control || readouts.count(e.key.name) != 0) {
            EXPECT_FALSE(e.accessibleName.empty()) << describe(e.key);
        }
    }
    const std::pair<ElementKey, std::string_view> samples[] = {
        {{"bin1", 4}, "Stunden, Wert 16"},
        {{"binmin1", 0}, "Minuten, Wert 1"},
        {{"binsec1", 5}, "Sekunden, Wert 32"},
        {{"Frame23"}, "Tag, Wert 16"},
        {{"Frame25"}, "Monat, Wert 8"},
        {{"Frame39"}, "Jahr, Wert 1024"},
        {{"Frame29"}, "Jahr, Wert 1"},
        {{"hexa1", 8}, "Minuten hexadezimal, Byte 1"},
        {{"hexa1", 0}, "Sekunden hexadezimal, Byte 0"},
        {{"hexa1", 3}, "Stunden hexadezimal, addiert"},
        {{"se"}, "Sekunden dezimal"},
        {{"Command3"}, "Farbe Rot"},
        {{"Check3"}, "Hexadezimalanzeige ein/aus"},
    };
    for (const auto &[key, name] : samples)
        EXPECT_EQ(element(key).accessibleName, name) << describe(key);
}

TEST(RuzozuraStacking, ChildWindowsLieAboveEveryLabelAndLineInTableOrder)
{
    std::vector<int> childRanks;
    std::vector<int> labelAndLineRanks;
    for (const ElementDef &e : ruzozuraElements()) {
        if (isChildWindow(e))
            childRanks.push_back(e.stackRank);
        else if (isLabelOrLine(e))
            labelAndLineRanks.push_back(e.stackRank);
        else
            EXPECT_EQ(e.stackRank, -1) << "the timer is not drawn";
    }
    std::vector<int> expectedChildRanks(29);
    for (int i = 0; i < 29; ++i)
        expectedChildRanks[std::size_t(i)] = i;
    EXPECT_EQ(childRanks, expectedChildRanks);

    // Every label and line has a rank of its own, all below the child windows.
    std::sort(labelAndLineRanks.begin(), labelAndLineRanks.end());
    std::vector<int> expected(65);
    for (int i = 0; i < 65; ++i)
        expected[std::size_t(i)] = 29 + i;
    EXPECT_EQ(labelAndLineRanks, expected);
}

TEST(RuzozuraStacking, OverlappingElementsLieInTheDescribedOrder)
{
    const std::pair<ElementKey, ElementKey> upperOverLower[] = {
        {{"Line3", 1}, {"Label9"}},   // the topmost label or line
        {{"Label9"}, {"Label16"}},    // "Uhrzeit:" over the 4-bit text
        {{"Line2"}, {"Label10"}},     // the separator through "Einstellungen:"
        {{"Line3", 0}, {"Label6"}},   // bracket strokes over the time heading
        {{"Line6"}, {"Label15"}},     // byte bracket over the year heading
        {{"bin", 1}, {"bin1", 4}},    // the transparent box over the hours cells
        {{"binmin1", 0}, {"bin", 2}}, // minutes cells over their box
        {{"binsec1", 5}, {"se"}},     // seconds cells over the opaque readout
        {{"se"}, {"bin", 0}},         // the readout over the seconds box
        {{"Label2"}, {"Stunde"}},     // the bottommost label
    };
    for (const auto &[upper, lower] : upperOverLower) {
        EXPECT_LT(element(upper).stackRank, element(lower).stackRank)
            << describe(upper) << " must lie above " << describe(lower);
    }
    // The digit cells are set into the hexadecimal rows and cover them.
    for (int cell = 0; cell <= 8; ++cell) {
        for (int row = 0; row <= 2; ++row)
            EXPECT_LT(element({"hexa1", cell}).stackRank, element({"hex1", row}).stackRank)
                << "hexa1(" << cell << ") over hex1(" << row << ")";
    }
}

TEST(RuzozuraTabOrder, StartsAtExitAndVisitsOnlyButtonsAndCheckBoxes)
{
    const std::map<std::string_view, int> expected{
        {"Command1", 0}, {"Check1", 1},   {"Command2", 2}, {"Command3", 3},
        {"Command4", 4}, {"Command5", 5}, {"Check2", 6},   {"Check3", 7},
    };
    for (const ElementDef &e : ruzozuraElements()) {
        const auto it = expected.find(e.key.name);
        EXPECT_EQ(e.tabIndex, it == expected.end() ? -1 : it->second) << describe(e.key);
    }
}

TEST(RuzozuraGeometry, ChildWindowsDoNotOverlap)
{
    std::vector<const ElementDef *> children;
    for (const ElementDef &e : ruzozuraElements()) {
        if (isChildWindow(e))
            children.push_back(&e);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const TwipRect &a = children[i]->rect;
            const TwipRect &b = children[j]->rect;
            const bool apart = right(a) <= b.left || right(b) <= a.left || bottom(a) <= b.top ||
                               bottom(b) <= a.top;
            EXPECT_TRUE(apart) << describe(children[i]->key) << " and "
                               << describe(children[j]->key);
        }
    }
}

// The cells of each bit row, from the highest weight down to 1.
struct BitRow {
    std::string_view name;
    std::vector<ElementKey> cells;
    ElementKey readout;
};

std::vector<ElementKey> arrayCells(std::string_view name, int highestIndex)
{
    std::vector<ElementKey> cells;
    for (int i = highestIndex; i >= 0; --i)
        cells.push_back({name, i});
    return cells;
}

const std::vector<BitRow> &bitRows()
{
    static const std::vector<BitRow> rows{
        {"day", {{"Frame23"}, {"Frame22"}, {"Frame21"}, {"Frame20"}, {"Frame19"}}, {"Tag1"}},
        {"month", {{"Frame25"}, {"Frame26"}, {"Frame27"}, {"Frame28"}}, {"Monat"}},
        {"year",
         {{"Frame39"},
          {"Frame38"},
          {"Frame37"},
          {"Frame36"},
          {"Frame35"},
          {"Frame34"},
          {"Frame33"},
          {"Frame32"},
          {"Frame31"},
          {"Frame30"},
          {"Frame29"}},
         {"Jahr"}},
        {"hours", arrayCells("bin1", 4), {"Stunde"}},
        {"minutes", arrayCells("binmin1", 5), {"z2"}},
        {"seconds", arrayCells("binsec1", 5), {"se"}},
    };
    return rows;
}

TEST(RuzozuraGeometry, BitRowsRunFromTheHighestWeightOnTheLeftToOneOnTheRight)
{
    for (const BitRow &row : bitRows()) {
        SCOPED_TRACE(std::string(row.name));
        for (std::size_t i = 1; i < row.cells.size(); ++i) {
            const TwipRect &left = element(row.cells[i - 1]).rect;
            const TwipRect &next = element(row.cells[i]).rect;
            EXPECT_EQ(next.top, left.top);
            EXPECT_LT(right(left), next.left) << describe(row.cells[i]);
        }
    }
}

// A shown readout's border encloses its whole row without crossing a cell.
TEST(RuzozuraGeometry, EachReadoutEnclosesItsRow)
{
    for (const BitRow &row : bitRows()) {
        SCOPED_TRACE(std::string(row.name));
        const TwipRect &box = element(row.readout).rect;
        for (ElementKey key : row.cells) {
            const TwipRect &cell = element(key).rect;
            EXPECT_TRUE(box.left <= cell.left && right(cell) <= right(box) && box.top <= cell.top &&
                        bottom(cell) <= bottom(box))
                << describe(key);
        }
    }
}

TEST(RuzozuraGeometry, MonthCellsStandInTheColumnsOfTheDayCellsOfTheSameWeight)
{
    const std::vector<ElementKey> &day = bitRows()[0].cells;
    const std::vector<ElementKey> &month = bitRows()[1].cells;
    for (std::size_t i = 0; i < month.size(); ++i) {
        const int offset = element(month[i]).rect.left - element(day[i + 1]).rect.left;
        EXPECT_LE(std::abs(offset), 30) << describe(month[i]); // two pixels
    }
}

TEST(RuzozuraGeometry, BracketStrokesFlankTheirColumns)
{
    const auto x = [](ElementKey line) { return element(line).rect.left; };
    // Byte bracket: the eight lowest year weights, 128 to 1.
    EXPECT_LT(right(element({"Frame37"}).rect), x({"Line6"}));
    EXPECT_LT(x({"Line6"}), element({"Frame36"}).rect.left);
    EXPECT_LT(right(element({"Frame29"}).rect), x({"Line5"}));
    // 4-bit bracket: weights 8 to 1 of the time rows and the "Byte 0" cells.
    for (const BitRow &row : std::vector<BitRow>(bitRows().begin() + 3, bitRows().end())) {
        SCOPED_TRACE(std::string(row.name));
        const auto eight = row.cells.end() - 4;
        EXPECT_LT(right(element(*(eight - 1)).rect), x({"Line3", 0}));
        EXPECT_LT(x({"Line3", 0}), element(*eight).rect.left);
        EXPECT_LT(right(element(row.cells.back()).rect), x({"Line3", 1}));
    }
    for (int lowDigit : {5, 7, 0}) {
        const TwipRect &cell = element({"hexa1", lowDigit}).rect;
        EXPECT_LT(x({"Line3", 0}), cell.left);
        EXPECT_LE(right(cell), x({"Line3", 1}));
    }
}

} // namespace
} // namespace tessaro
