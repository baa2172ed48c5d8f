// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "toolkit.h"

#include <functional>
#include <memory>

namespace tessaro
{

// Starts the event loop of the window toolkit the build chose
// (TESSARO_TOOLKIT). `start` loads and shows the first windows and returns
// the object that owns the program's handlers; it lives until the loop has
// ended. Returns the program's exit status. A toolkit that cannot show
// windows (no graphical session) says so in one line and returns 1.
int runApplication(int &argc, char **argv,
                   const std::function<std::shared_ptr<void>(Toolkit &)> &start);

} // namespace tessaro
