// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout.h"
#include "windowdef.h"

#include <span>

namespace tessaro
{

// The main window: title, size, colour, icon and all 95 elements in the state
// in which the window opens. Toolkit-neutral and constant.
const WindowDef &ruzozuraWindow();

// The main window's elements that the clock paints, by their keys in the
// table.
const clock::ClockLayout &ruzozuraClockLayout();

// The main window's elements, in the order of the window's design: date
// band, time band, explanatory texts and brackets, settings band, timer.
std::span<const ElementDef> ruzozuraElements();

// The element with this name and index, or nullptr if the window has none.
const ElementDef *findRuzozuraElement(ElementKey key);

} // namespace tessaro
