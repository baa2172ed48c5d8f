// SPDX-License-Identifier: GPL-3.0-or-later
#include "ruzozura.h"

#include "tick.h"

#include <array>
#include <utility>

namespace tessaro
{
namespace
{

constexpr std::int32_t startLitColour = 0xC00000;  // blue
constexpr std::int32_t startDarkColour = 0x80FF80; // light green

// Each colour button selects the colour of its own face.
struct ColourButton {
    std::string_view name;
    std::int32_t colour;
};
constexpr std::array<ColourButton, 3> colourButtons{{
    {"Command2", 0x008080}, // olive: "Auf grüne Dioden umschalten"
    {"Command3", 0x0000FF}, // red
    {"Command4", 0xC00000}, // blue
}};

constexpr std::array<ElementKey, 6> decimalReadouts{
    {{"Stunde"}, {"z2"}, {"se"}, {"Tag1"}, {"Monat"}, {"Jahr"}}};

constexpr std::array<ElementKey, 9> bitAndByteInfo{{
    {"Label18"},
    {"Label17"},
    {"Label16"},
    {"Line5"},
    {"Line4"},
    {"Line3", 0},
    {"Line3", 1},
    {"Line6"},
    {"Line7"},
}};

constexpr std::array<ElementKey, 3> hexHeadings{{{"hex1", 0}, {"hex1", 1}, {"hex1", 2}}};

// Greyed (2) or anything else but 1 counts as unchecked.
bool isChecked(Elements &elements, ElementKey box)
{
    return elements.value(box) == 1;
}

void showDecimalReadouts(Elements &elements, bool shown)
{
    for (ElementKey readout : decimalReadouts) {
        elements.setVisible(readout, shown);
        elements.setBorderStyle(readout, shown ? 1 : 0);
    }
    // With the readouts on, the hours row is titled as the clock's hour.
    elements.setCaption({"Label1"}, shown ? "Uhr" : "Stunden");
}

void showBitAndByteInfo(Elements &elements, bool shown)
{
    for (ElementKey element : bitAndByteInfo)
        elements.setVisible(element, shown);
}

void setHexDigitsVisible(Elements &elements, bool shown)
{
    for (int index = 0; index <= 8; ++index)
        elements.setVisible({"hexa1", index}, shown);
}

void setHexHeadingsVisible(Elements &elements, bool shown)
{
    for (ElementKey heading : hexHeadings)
        elements.setVisible(heading, shown);
}

// Headings first when showing, digit cells first when hiding.
void showHexReadout(Elements &elements, bool shown)
{
    if (shown) {
        setHexHeadingsVisible(elements, true);
        setHexDigitsVisible(elements, true);
    } else {
        setHexDigitsVisible(elements, false);
        setHexHeadingsVisible(elements, false);
    }
}

} // namespace

Ruzozura::Ruzozura(Toolkit &toolkit, LocalClock &clock, std::function<void()> openAbout)
    : m_toolkit(toolkit), m_clock(clock), m_openAbout(std::move(openAbout))
{
}

void Ruzozura::onLoad(Window &)
{
    col = startLitColour;
    col2 = startDarkColour;
}

void Ruzozura::onTimer(Window &window, ElementKey key)
{
    if (key != ElementKey{"Timer1"})
        return;
    clock::runTick(m_clock, window, {Colour(col), Colour(col2)});
}

void Ruzozura::onClick(Window &window, ElementKey key)
{
    for (const ColourButton &button : colourButtons) {
        if (key == ElementKey{button.name}) {
            // Seen at the next tick, which paints every lit cell anew.
            col = button.colour;
            return;
        }
    }
    if (key == ElementKey{"Check1"})
        showDecimalReadouts(window, isChecked(window, key));
    else if (key == ElementKey{"Check2"})
        showBitAndByteInfo(window, isChecked(window, key));
    else if (key == ElementKey{"Check3"})
        showHexReadout(window, isChecked(window, key));
    else if (key == ElementKey{"Command1"})
        m_toolkit.endProgram();
    else if (key == ElementKey{"Command5"} && m_openAbout)
        m_openAbout();
}

} // namespace tessaro
