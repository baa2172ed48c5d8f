// SPDX-License-Identifier: GPL-3.0-or-later
#include "ruzozura.h"

#include "ruzozura_groups.h"
#include "ruzozura_window.h"
#include "tick.h"

#include <array>
#include <utility>

namespace tessaro
{
namespace
{

namespace groups = ruzozura::groups;

constexpr std::int32_t startLitColour = 0xC00000;  // blue
constexpr std::int32_t startDarkColour = 0x80FF80; // light green

// Greyed (2) or anything else but 1 counts as unchecked.
bool isChecked(Elements &elements, ElementKey box)
{
    return elements.value(box) == 1;
}

void showDecimalReadouts(Elements &elements, bool shown)
{
    for (ElementKey readout : groups::decimalReadouts) {
        elements.setVisible(readout, shown);
        elements.setBorderStyle(readout, shown ? 1 : 0);
    }
    // With the readouts on, the hours row is titled as the clock's hour.
    elements.setCaption(groups::hoursTitle, shown ? "Uhr" : "Stunden");
}

void showBitAndByteInfo(Elements &elements, bool shown)
{
    for (ElementKey element : groups::bitAndByteInfo)
        elements.setVisible(element, shown);
}

void setHexDigitsVisible(Elements &elements, bool shown)
{
    for (ElementKey digit : groups::hexDigits)
        elements.setVisible(digit, shown);
}

void setHexHeadingsVisible(Elements &elements, bool shown)
{
    for (ElementKey heading : groups::hexRows)
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
    m_ticker = {}; // a window loaded anew shows nothing yet
}

void Ruzozura::onTimer(Window &window, ElementKey key)
{
    if (key != ruzozura::Timer1)
        return;
    m_ticker.tick(m_clock, ruzozuraClockLayout(), window, {Colour(col), Colour(col2)});
}

void Ruzozura::onClick(Window &window, ElementKey key)
{
    for (const groups::ColourButton &button : groups::colourButtons) {
        if (key == button.button) {
            // Seen at the next tick, which paints every lit cell anew.
            col = button.colour;
            return;
        }
    }
    if (key == ruzozura::Check1)
        showDecimalReadouts(window, isChecked(window, key));
    else if (key == ruzozura::Check2)
        showBitAndByteInfo(window, isChecked(window, key));
    else if (key == ruzozura::Check3)
        showHexReadout(window, isChecked(window, key));
    else if (key == ruzozura::Command1)
        m_toolkit.endProgram();
    else if (key == ruzozura::Command5 && m_openAbout)
        m_openAbout();
}

} // namespace tessaro
