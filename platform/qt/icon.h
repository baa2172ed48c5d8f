// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

namespace tessaro::qt {

// The program's logic-gate icon at one size in pixels (16 and 32 are the
// hand-tuned sizes; others are drawn from the same design).
QImage renderTessaroIcon(int size);

// The window icon with its 16 and 32 pixel images.
QIcon tessaroIcon();

} // namespace tessaro::qt
