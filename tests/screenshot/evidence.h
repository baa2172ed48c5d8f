// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessaro::screenshot
{

// Called when a window test's wait runs out: keeps what was on the X screen
// then (the whole screen, the windows shown with titles and places, the one
// with the keyboard focus, the processes still running) in a new folder
// under TESSARO_SHOT_DIR or the temporary folder, and prints it with the
// folder's path. `what` names the wait.
void reportFailedWait(const QString &what);

} // namespace tessaro::screenshot
