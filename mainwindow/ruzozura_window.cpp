// SPDX-License-Identifier: GPL-3.0-or-later
#include "ruzozura_window.h"

#include "ruzozura_groups.h"
#include "ruzozura_headings.h"
#include "ruzozura_keys.h"
#include "stacking.h"
#include "tessaro_version.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace tessaro
{
namespace
{

using Kind = ElementKind;
namespace f = flags;

using namespace ruzozura;

constexpr std::string_view placeValueTip = "Die aktiven Werte addieren um auf die Zeit zu kommen!";

// Place-value and hexadecimal headings, and the text about the 4-bit system.
// Their runs of spaces put each place value over its cell column, leave room
// for the yellow digit cells after their words, and spread the 4-bit text
// over its lines, all in the window's own face (the year headings, which the
// clock switches, are in ruzozura_headings.h).
// Runs: 2, 5, 6, 6, 6, then 1 trailing.
constexpr std::string_view dayHeading = "Dezimalwert  16     8      4      2      I ";
// Runs: 3, 4, 4, 5, 4; "32 16" keeps its single space.
constexpr std::string_view timeHeading = "Dezimalwert   32 16    8    4     2    I";
// Runs: 17, 20.
constexpr std::string_view hexHeadingHours =
    "Hexadeximal Byte1                 Byte 0                    Addiert";
// Runs: 18, 19.
constexpr std::string_view hexHeadingMinutesSeconds =
    "Hexadeximal Byte1                  Byte 0                   Addiert";
// Runs: 76, 2, 35, 5, 2. Wrapping spreads it over three lines: "4 Bit
// System"; "0 bis 15 =16 Stellen" with "4 Bit = 1 Byte" inside the 4-bit
// bracket; the rest.
constexpr std::string_view fourBitText =
    "4 Bit System                                                                            "
    "0 bis 15 =16  Stellen                                   4 Bit = 1 Byte     "
    "danach übertrag in  das nächste Byete";

static_assert(dayHeading.size() == 43 && timeHeading.size() == 40 && hexHeadingHours.size() == 67 &&
              hexHeadingMinutesSeconds.size() == 67 &&
              fourBitText.size() == 200 + 2); // "ü" and "ä" take two bytes each

// A colour-only bit cell of the date rows.
constexpr ElementDef dateCell(ElementKey key, int left, int top, int width,
                              std::string_view accessibleName)
{
    return {.kind = Kind::CellFrame,
            .key = key,
            .rect = {left, top, width, 144},
            .backColour = colours::paleCellGreen,
            .accessibleName = accessibleName};
}

// A bit cell of the time rows: a label that also shows "0" or "1".
constexpr ElementDef timeCell(ElementKey key, int left, int top, std::string_view accessibleName)
{
    return {.key = key,
            .rect = {left, top, 150, 195},
            .caption = "0",
            .font = FontId::Bold,
            .backColour = colours::paleCellGreen,
            .foreColour = colours::white,
            .accessibleName = accessibleName};
}

// A yellow hexadecimal digit cell.
constexpr ElementDef hexCell(int index, TwipRect rect, std::string_view accessibleName)
{
    return {.key = hexa1[index],
            .rect = rect,
            .caption = "0",
            .backColour = colours::yellow,
            .flags = f::alignCentre,
            .accessibleName = accessibleName};
}

// A decimal readout, hidden until "Digitale Zeitanzeige" is switched on.
// All but the seconds readout let their bit row show through.
constexpr ElementDef readout(ElementKey key, TwipRect rect, std::string_view caption,
                             std::string_view accessibleName, bool opaque = false)
{
    return {.key = key,
            .rect = rect,
            .caption = caption,
            .font = FontId::Bold,
            .flags = std::uint16_t(f::hidden | f::alignRight | (opaque ? 0 : f::transparent)),
            .accessibleName = accessibleName};
}

// The boxed name at the right end of a bit row.
constexpr ElementDef rowName(ElementKey key, TwipRect rect, std::string_view caption)
{
    return {.key = key, .rect = rect, .caption = caption, .font = FontId::Bold, .flags = f::border};
}

constexpr ElementDef binaryValueBox(int index, TwipRect rect, std::uint16_t extraFlags = 0)
{
    return {.key = bin[index],
            .rect = rect,
            .caption = "Binärwert",
            .flags = std::uint16_t(f::border | extraFlags)};
}

constexpr ElementDef hexRow(int index, int top, std::string_view caption)
{
    return {.key = hex1[index],
            .rect = {1215, top, 4515, 240},
            .caption = caption,
            .flags = f::border | f::transparent};
}

constexpr ElementDef line(ElementKey key, int x1, int y1, int x2, int y2,
                          LineStyle style = LineStyle::Solid)
{
    return {.kind = Kind::Line, .key = key, .rect = {x1, y1, x2, y2}, .lineStyle = style};
}

constexpr ElementDef colourButton(ElementKey key, int left, Colour face, std::string_view toolTip,
                                  int tabIndex, std::string_view accessibleName)
{
    return {.kind = Kind::Button,
            .key = key,
            .rect = {left, 5085, 192, 192},
            .backColour = face,
            .toolTip = toolTip,
            .tabIndex = tabIndex,
            .accessibleName = accessibleName};
}

constexpr ElementDef checkBox(ElementKey key, TwipRect rect, Colour back, std::uint16_t state,
                              std::string_view toolTip, int tabIndex,
                              std::string_view accessibleName)
{
    return {.kind = Kind::CheckBox,
            .key = key,
            .rect = rect,
            .backColour = back,
            .flags = state,
            .toolTip = toolTip,
            .tabIndex = tabIndex,
            .accessibleName = accessibleName};
}

constexpr std::size_t elementCount = 95;
using ElementTable = std::array<ElementDef, elementCount>;

// Labels and lines from the topmost down, as the window was designed. Child
// windows lie above all of them.
constexpr auto designedStacking = std::to_array<ElementKey>({
    Line3[1],   Label9,     Line4,      Line3[0],   Label16,    hex1[2],    hex1[1],    hex1[0],
    Line2,      hexa1[8],   hexa1[7],   hexa1[6],   hexa1[5],   hexa1[4],   hexa1[3],   Jahr,
    Monat,      Tag1,       z2,         bin[1],     Label21,    hexa1[2],   hexa1[1],   hexa1[0],
    Label19,    Label18,    Label17,    Line7,      Line6,      Line5,      binsec1[0], binsec1[1],
    binsec1[2], binsec1[3], binsec1[4], binsec1[5], binmin1[5], binmin1[4], binmin1[3], binmin1[2],
    binmin1[1], binmin1[0], bin1[4],    bin1[3],    bin1[2],    bin1[1],    bin1[0],    Label15,
    Label14,    Label13,    Label12,    Label11,    Label10,    Label8,     Line1,      Label7,
    Label6,     Label4,     Label3,     Label2,     Label1,     se,         bin[0],     bin[2],
    Stunde,
});

// The designed order puts the three hexadecimal rows above all nine digit
// cells, although each cell is set into its row and must cover the row's
// border and text where they overlap. The rows move to just below the
// lowest digit cell, hexa1(0); nothing else changes.
constexpr std::array<ElementKey, designedStacking.size()> withHexRowsBelowTheirDigits()
{
    std::array<ElementKey, designedStacking.size()> order{};
    std::size_t at = 0;
    const auto isHexRow = [](ElementKey key) { return key.name == hex1.name; };
    for (ElementKey key : designedStacking) {
        if (isHexRow(key))
            continue;
        order[at++] = key;
        if (key == hexa1[0])
            for (ElementKey row : designedStacking)
                if (isHexRow(row))
                    order[at++] = row;
    }
    return order;
}

constexpr auto labelAndLineStacking = withHexRowsBelowTheirDigits();

constexpr ElementTable elements = withStackRanks<elementCount>(
    {{
        // Date band.
        {.key = Label4, .rect = {2655, 0, 990, 255}, .caption = "Datum:", .font = FontId::Heading},
        {.key = Label14,
         .rect = {1890, 495, 2610, 225},
         .caption = dayHeading,
         .flags = f::border,
         .toolTip = placeValueTip,
         .accessibleName = "Dezimalwert 16 8 4 2 1"},
        dateCell(Frame23, 2895, 720, 144, "Tag, Wert 16"),
        dateCell(Frame22, 3240, 720, 144, "Tag, Wert 8"),
        dateCell(Frame21, 3600, 720, 144, "Tag, Wert 4"),
        dateCell(Frame20, 3960, 720, 144, "Tag, Wert 2"),
        dateCell(Frame19, 4290, 720, 144, "Tag, Wert 1"),
        readout(Tag1, {2745, 720, 2340, 225}, "Ta", "Tag dezimal"),
        rowName(Label11, {5085, 720, 420, 240}, "Tag"),
        dateCell(Frame25, 3240, 990, 144, "Monat, Wert 8"),
        dateCell(Frame26, 3600, 990, 144, "Monat, Wert 4"),
        dateCell(Frame27, 3960, 990, 144, "Monat, Wert 2"),
        dateCell(Frame28, 4320, 990, 144, "Monat, Wert 1"),
        readout(Monat, {3015, 945, 2070, 225}, "Mo", "Monat dezimal"),
        rowName(Label12, {5085, 945, 600, 240}, "Monat"),
        {.key = Label15,
         .rect = {675, 1170, 3870, 255},
         .caption = yearHeadingElevenPlaces,
         .flags = f::border,
         .toolTip = placeValueTip,
         .accessibleName = yearHeadingElevenPlacesSpoken},
        dateCell(Frame39, 810, 1440, 150, "Jahr, Wert 1024"),
        dateCell(Frame38, 1164, 1440, 150, "Jahr, Wert 512"),
        dateCell(Frame37, 1518, 1440, 150, "Jahr, Wert 256"),
        dateCell(Frame36, 1872, 1440, 150, "Jahr, Wert 128"),
        dateCell(Frame35, 2226, 1440, 150, "Jahr, Wert 64"),
        dateCell(Frame34, 2580, 1440, 144, "Jahr, Wert 32"),
        dateCell(Frame33, 2928, 1440, 144, "Jahr, Wert 16"),
        dateCell(Frame32, 3276, 1440, 144, "Jahr, Wert 8"),
        dateCell(Frame31, 3624, 1440, 144, "Jahr, Wert 4"),
        dateCell(Frame30, 3972, 1440, 144, "Jahr, Wert 2"),
        dateCell(Frame29, 4320, 1440, 144, "Jahr, Wert 1"),
        readout(Jahr, {630, 1395, 4455, 255}, "Ja", "Jahr dezimal"),
        rowName(Label13, {5085, 1395, 465, 285}, "Jahr"),
        line(Line1, 180, 1710, 5850, 1710),

        // Time band.
        {.key = Label9,
         .rect = {2295, 1755, 1140, 240},
         .caption = "Uhrzeit:",
         .font = FontId::Heading},
        {.key = Label6,
         .rect = {1215, 2520, 3180, 255},
         .caption = timeHeading,
         .font = FontId::Bold,
         .flags = f::border,
         .toolTip = placeValueTip,
         .accessibleName = "Dezimalwert 32 16 8 4 2 1"},
        binaryValueBox(1, {1215, 2790, 3165, 285}, f::transparent),
        timeCell(bin1[4], 2790, 2880, "Stunden, Wert 16"),
        timeCell(bin1[3], 3150, 2880, "Stunden, Wert 8"),
        timeCell(bin1[2], 3510, 2880, "Stunden, Wert 4"),
        timeCell(bin1[1], 3870, 2880, "Stunden, Wert 2"),
        timeCell(bin1[0], 4230, 2880, "Stunden, Wert 1"),
        readout(Stunde, {2655, 2835, 2340, 255}, " std", "Stunden dezimal"),
        rowName(Label1, {4995, 2835, 780, 240}, "Stunden"),
        hexRow(2, 3105, hexHeadingHours),
        hexCell(4, {2565, 3150, 495, 210}, "Stunden hexadezimal, Byte 1"),
        hexCell(5, {3915, 3150, 495, 225}, "Stunden hexadezimal, Byte 0"),
        hexCell(3, {5220, 3105, 495, 210}, "Stunden hexadezimal, addiert"),
        binaryValueBox(2, {1215, 3375, 3210, 240}),
        timeCell(binmin1[5], 2475, 3420, "Minuten, Wert 32"),
        timeCell(binmin1[4], 2835, 3420, "Minuten, Wert 16"),
        timeCell(binmin1[3], 3150, 3420, "Minuten, Wert 8"),
        timeCell(binmin1[2], 3510, 3420, "Minuten, Wert 4"),
        timeCell(binmin1[1], 3870, 3420, "Minuten, Wert 2"),
        timeCell(binmin1[0], 4185, 3420, "Minuten, Wert 1"),
        readout(z2, {2295, 3375, 2655, 270}, " min", "Minuten dezimal"),
        rowName(Label3, {4995, 3375, 735, 285}, "Minuten"),
        hexRow(1, 3645, hexHeadingMinutesSeconds),
        hexCell(8, {2610, 3645, 495, 210}, "Minuten hexadezimal, Byte 1"),
        hexCell(7, {3915, 3645, 495, 210}, "Minuten hexadezimal, Byte 0"),
        hexCell(6, {5265, 3645, 495, 210}, "Minuten hexadezimal, addiert"),
        binaryValueBox(0, {1215, 3915, 3210, 285}),
        timeCell(binsec1[5], 2475, 3960, "Sekunden, Wert 32"),
        timeCell(binsec1[4], 2835, 3960, "Sekunden, Wert 16"),
        timeCell(binsec1[3], 3150, 3960, "Sekunden, Wert 8"),
        timeCell(binsec1[2], 3510, 3960, "Sekunden, Wert 4"),
        timeCell(binsec1[1], 3870, 3960, "Sekunden, Wert 2"),
        timeCell(binsec1[0], 4185, 3960, "Sekunden, Wert 1"),
        readout(se, {2385, 3915, 2610, 300}, "sec", "Sekunden dezimal", true),
        rowName(Label2, {4995, 3915, 960, 285}, "Sekunden"),
        hexRow(0, 4230, hexHeadingMinutesSeconds),
        hexCell(1, {2565, 4275, 495, 210}, "Sekunden hexadezimal, Byte 1"),
        hexCell(0, {3915, 4275, 495, 210}, "Sekunden hexadezimal, Byte 0"),
        hexCell(2, {5220, 4275, 495, 210}, "Sekunden hexadezimal, addiert"),
        line(Line2, 90, 4860, 5895, 4860),

        // Explanatory texts and the bracket lines about bits and bytes.
        {.key = Label18, .rect = {135, 90, 2085, 195}, .caption = "1 Bit = eine Speicherstelle"},
        {.key = Label17,
         .rect = {180, 315, 1230, 690},
         .caption = "8 Bit System von 0 bis 255 = 256 Zahlen/Zeichen",
         .toolTip = "Heutige PC haben ein 63 bit bis 128 bit Systeme"},
        {.key = Label16, .rect = {180, 1800, 4290, 690}, .caption = fourBitText},
        line(Line7, 1800, 405, 4545, 405, LineStyle::DashDotDot),
        line(Line6, 1800, 1620, 1800, 495, LineStyle::DashDotDot),
        line(Line5, 4500, 1620, 4500, 450, LineStyle::DashDotDot),
        line(Line4, 3105, 2205, 4455, 2205, LineStyle::Dotted),
        line(Line3[0], 3060, 2070, 3060, 4590, LineStyle::Dotted),
        line(Line3[1], 4410, 2070, 4410, 4590, LineStyle::Dotted),

        // Settings band.
        {.key = Label10,
         .rect = {1080, 4725, 1560, 210},
         .caption = "Einstellungen:",
         .font = FontId::SettingsHeading},
        {.kind = Kind::WebFrame,
         .key = Frame18,
         .rect = {3825, 4770, 1590, 285},
         .caption = app::webAddress,
         .backColour = colours::lightGreen,
         .foreColour = colours::windowText,
         .toolTip = "von dort kommt das Programm"},
        {.key = Label8, .rect = {1125, 5100, 435, 225}, .caption = "Farbe"},
        colourButton(Command2, 1740, colours::olive, "Auf grüne Dioden umschalten", 2,
                     "Farbe Grün"),
        colourButton(Command3, 2025, colours::red, "Auf rote Dioden umschalten", 3, "Farbe Rot"),
        colourButton(Command4, 2340, colours::blue, "Au blaue Dioden umschalten", 4, "Farbe Blau"),
        {.kind = Kind::Button,
         .key = Command5,
         .rect = {4365, 5130, 1095, 510},
         .caption = "Info ",
         .backColour = colours::yellow,
         .tabIndex = 5,
         .accessibleName = "Info"},
        {.key = Label7,
         .rect = {1080, 5535, 2415, 255},
         .caption = "Digitale Zeitanzeige ein/aus",
         .flags = f::transparent},
        checkBox(Check1, {3285, 5535, 225, 225}, colours::windowGreen, 0,
                 "Die Digitalanzeige ein und aus schalten", 1, "Digitale Zeitanzeige ein/aus"),
        {.kind = Kind::Button,
         .key = Command1,
         .rect = {4365, 5760, 1095, 540},
         .caption = "Exit",
         .font = FontId::Exit,
         .backColour = colours::orange,
         .toolTip = "Nicht drücken sonst bin ich weg!!!",
         .tabIndex = 0,
         .accessibleName = "Exit"},
        {.key = Label19,
         .rect = {1080, 5925, 2580, 285},
         .caption = "Infos zu Bit und Byte an/aus"},
        checkBox(Check2, {3285, 5970, 195, 195}, colours::buttonFace, f::checked, {}, 6,
                 "Infos zu Bit und Byte an/aus"),
        {.key = Label21, .rect = {1080, 6345, 2175, 240}, .caption = "Hexadezimalanzeige ein/aus"},
        checkBox(Check3, {3285, 6390, 195, 195}, colours::buttonFace, f::checked, {}, 7,
                 "Hexadezimalanzeige ein/aus"),

        // Drives the clock; enabled from the start.
        {.kind = Kind::Timer, .key = Timer1, .intervalMs = 100},
    }},
    labelAndLineStacking);

// Every element that the clock and the handlers write or read is in the
// table: a key that names no element stops the build.
constexpr bool hasElement(ElementKey key)
{
    return std::any_of(elements.begin(), elements.end(),
                       [key](const ElementDef &e) { return e.key == key; });
}

template <typename Range, typename KeyOf> constexpr bool hasAll(const Range &range, KeyOf keyOf)
{
    return std::all_of(std::begin(range), std::end(range),
                       [&](const auto &item) { return hasElement(keyOf(item)); });
}

constexpr auto itself = [](ElementKey key) { return key; };

static_assert(hasAll(groups::decimalReadouts, itself) && hasAll(groups::bitAndByteInfo, itself) &&
              hasAll(groups::hexRows, itself) && hasAll(groups::hexDigits, itself) &&
              hasAll(std::array{groups::hoursTitle, Check1, Check2, Check3, Command1, Command5,
                                Timer1},
                     itself) &&
              hasAll(groups::colourButtons,
                     [](const groups::ColourButton &button) { return button.button; }));

// --- What the clock paints ---------------------------------------------------

// The name the table gives an element. A key the table lacks stops the build.
constexpr std::string_view nameOf(ElementKey key)
{
    for (const ElementDef &e : elements) {
        if (e.key == key)
            return e.accessibleName;
    }
    throw std::logic_error("the clock names an element the window does not have");
}

constexpr clock::BitCell dateBit(ElementKey key, int weight)
{
    return {key, weight, false};
}

constexpr clock::DecimalReadout decimal(ElementKey key)
{
    return {key, nameOf(key)};
}

constexpr clock::HexCells hexCells(ElementKey high, ElementKey low, ElementKey combined)
{
    return {high, low, combined, nameOf(combined)};
}

// Each row from its highest weight down to 1. The frame numbers of the date
// rows run in different directions, so every cell is listed by name.
constexpr std::array dayCells{dateBit(Frame23, 16), dateBit(Frame22, 8), dateBit(Frame21, 4),
                              dateBit(Frame20, 2), dateBit(Frame19, 1)};
constexpr std::array monthCells{dateBit(Frame25, 8), dateBit(Frame26, 4), dateBit(Frame27, 2),
                                dateBit(Frame28, 1)};
constexpr std::array yearCells{dateBit(Frame39, 1024), dateBit(Frame38, 512), dateBit(Frame37, 256),
                               dateBit(Frame36, 128),  dateBit(Frame35, 64),  dateBit(Frame34, 32),
                               dateBit(Frame33, 16),   dateBit(Frame32, 8),   dateBit(Frame31, 4),
                               dateBit(Frame30, 2),    dateBit(Frame29, 1)};
// In the label arrays of the time rows, element i carries the weight 2^i;
// their cells also read "1" or "0".
template <std::size_t count>
constexpr std::array<clock::BitCell, count> timeCells(ElementArray array)
{
    std::array<clock::BitCell, count> cells{};
    for (std::size_t at = 0; at < count; ++at) {
        const int index = int(count - 1 - at);
        cells[at] = {array[index], 1 << index, true};
    }
    return cells;
}
constexpr auto hoursCells = timeCells<5>(bin1);
constexpr auto minutesCells = timeCells<6>(binmin1);
constexpr auto secondsCells = timeCells<6>(binsec1);

constexpr clock::ClockLayout clockLayout{
    .day = {dayCells, {Label11, "Tag"}, decimal(Tag1)},
    .month = {monthCells, {Label12, "Monat"}, decimal(Monat)},
    .year = {yearCells, {Label13, "Jahr"}, decimal(Jahr)},
    .yearHeading = {Label15, yearHeadingElevenPlaces, yearHeadingSevenPlaces,
                    yearHeadingElevenPlacesSpoken, yearHeadingSevenPlacesSpoken},
    .hours = {{hoursCells, {Label1, "Stunden"}, decimal(Stunde)},
              hexCells(hexa1[4], hexa1[5], hexa1[3])},
    .minutes = {{minutesCells, {Label3, "Minuten"}, decimal(z2)},
                hexCells(hexa1[8], hexa1[7], hexa1[6])},
    .seconds = {{secondsCells, {Label2, "Sekunden"}, decimal(se)},
                hexCells(hexa1[1], hexa1[0], hexa1[2])},
};

// Every element the clock paints is in the table.
constexpr bool hasEveryElementOf(const clock::ClockLayout &layout)
{
    bool all = hasElement(layout.yearHeading.key);
    for (const clock::ValueRow *row : {&layout.day, &layout.month, &layout.year, &layout.hours.row,
                                       &layout.minutes.row, &layout.seconds.row}) {
        all = all && hasAll(row->cells, [](const clock::BitCell &cell) { return cell.key; }) &&
              hasElement(row->title.label) && hasElement(row->decimal.key);
    }
    for (const clock::TimeRow *unit : {&layout.hours, &layout.minutes, &layout.seconds})
        all = all && hasAll(std::array{unit->hex.high, unit->hex.low, unit->hex.combined}, itself);
    return all;
}

static_assert(hasEveryElementOf(clockLayout));
static_assert(clockLayout.year.cells.size() == clock::yearCellCount);

// The headings' runs of spaces suit "MS Sans Serif". Liberation Sans, which
// stands in for it where it is missing, runs wider; measured with it at
// 11 px, these put each place value within 3 px of its column's centre
// ("32 16", one segment, between its two columns) and each hexadecimal word
// between the digit cell before it and its own.
constexpr std::array wideFaceCaptions{
    // Runs: 2, 4, 6, 6, 6, 1.
    WideFaceCaption{Label14, {}, "Dezimalwert  16    8      4      2      I "},
    // Runs: 7, 6, 5, 6, 6.
    WideFaceCaption{Label6, {}, "Dezimalwert       32 16      8     4      2      I"},
    // Runs: 1, 2, 2, 2, 4, 4, 4, 6, 5, 6, 1.
    WideFaceCaption{Label15, yearHeadingElevenPlaces,
                    "1024 512  256  128  64    32    16    8      4     2      I "},
    // Runs: 33, 4, 3, 5, 6, 6, 5, 1.
    WideFaceCaption{Label15, yearHeadingSevenPlaces,
                    "                                 64    32   16     8      4      2     I "},
    // In "MS Sans Serif" the seven-place heading as the clock writes it
    // stands up to 26 px left of its columns. Runs: 34, 4, 4, 4, 6, 6, 6.
    WideFaceCaption{Label15, yearHeadingSevenPlaces,
                    "                                  64    32    16    8      4      2      I",
                    false, true},
    // "Hexadeximal Byte1" has no run of spaces to shorten, so the rows are
    // condensed. Runs: 25, 21; the minutes row's digit cells sit 3 px further
    // right, so there "Addiert" gets 23.
    WideFaceCaption{hex1[2],
                    {},
                    "Hexadeximal Byte1                         Byte 0                     Addiert",
                    true},
    WideFaceCaption{
        hex1[1],
        {},
        "Hexadeximal Byte1                         Byte 0                       Addiert",
        true},
    WideFaceCaption{hex1[0],
                    {},
                    "Hexadeximal Byte1                         Byte 0                     Addiert",
                    true},
};

constexpr WindowDef window{
    .name = "Ruzozura",
    .caption = app::title,
    .clientWidth = 6105,
    .clientHeight = 7035,
    .backColour = colours::windowGreen,
    .icon = IconId::LogicGate,
    .dialogFrame = false,
    .elements = elements,
    .wideFaceCaptions = wideFaceCaptions,
};

} // namespace

const WindowDef &ruzozuraWindow()
{
    return window;
}

const clock::ClockLayout &ruzozuraClockLayout()
{
    return clockLayout;
}

std::span<const ElementDef> ruzozuraElements()
{
    return elements;
}

const ElementDef *findRuzozuraElement(ElementKey key)
{
    const auto found = std::find_if(elements.begin(), elements.end(),
                                    [key](const ElementDef &e) { return e.key == key; });
    return found == elements.end() ? nullptr : &*found;
}

} // namespace tessaro
