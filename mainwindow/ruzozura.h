// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "localclock.h"
#include "tick.h"
#include "toolkit.h"

#include <cstdint>
#include <functional>

namespace tessaro
{

// The handlers of the main window: start-up colours, the clock tick, the
// colour buttons, the three option check boxes, "Exit" and "Info ".
class Ruzozura final : public WindowEvents
{
public:
    // Lit and dark colour of every bit cell (0x00BBGGRR), set on load. Public
    // so the window's owner may read them; only the handlers write them.
    std::int32_t col = 0;
    std::int32_t col2 = 0;

    // openAbout shows the About dialog (creating it on first use).
    Ruzozura(Toolkit &toolkit, LocalClock &clock, std::function<void()> openAbout);

    void onLoad(Window &window) override;
    void onClick(Window &window, ElementKey key) override;
    void onTimer(Window &window, ElementKey key) override;

private:
    Toolkit &m_toolkit;
    LocalClock &m_clock;
    clock::Ticker m_ticker;
    std::function<void()> m_openAbout;
};

} // namespace tessaro
