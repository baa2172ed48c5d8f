// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "toolkit.h"

#include <functional>
#include <memory>

namespace tessaro::qt {

// Starts the program's Qt event loop. `start` loads and shows the first
// windows and returns the object that owns the program's handlers; it lives
// until the loop has ended. Returns the program's exit status. Without a
// graphical session it says so in one line on stderr and returns 1.
int runApplication(int &argc, char **argv,
                   const std::function<std::shared_ptr<void>(Toolkit &)> &start);

} // namespace tessaro::qt
