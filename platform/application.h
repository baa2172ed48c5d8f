// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "toolkit.h"

#include <functional>
#include <memory>

namespace tessaro
{

// Loads and shows the first windows and returns the object that owns the
// program's handlers; it lives until the event loop has ended.
using ProgramStart = std::function<std::shared_ptr<void>(Toolkit &)>;

// Runs the program's event loop on the toolkit the build was made with
// (Qt on Linux, Win32 on Windows). Returns the program's exit status.
int runApplication(int &argc, char **argv, const ProgramStart &start);

} // namespace tessaro
