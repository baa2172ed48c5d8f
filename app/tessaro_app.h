// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessaro
{

// Runs the clock: the main window, its tick and, on demand, the About dialog.
// Returns the exit status.
int runTessaro(int &argc, char **argv);

} // namespace tessaro
