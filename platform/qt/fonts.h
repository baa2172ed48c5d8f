// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <QFont>

namespace tessaro::qt
{

// The Qt font for one of the program's fonts: "MS Sans Serif" becomes
// Liberation Sans and "MS Serif" Liberation Serif, sized in pixels so that
// text scales with the geometry on high-DPI screens.
QFont font(FontId id);

} // namespace tessaro::qt
