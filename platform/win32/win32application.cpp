// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "win32dpi.h"
#include "win32toolkit.h"

namespace tessaro
{

int runApplication(int &, char **, const std::function<std::shared_ptr<void>(Toolkit &)> &start)
{
    win32::becomeDpiAware();
    win32::Win32Toolkit toolkit;
    const std::shared_ptr<void> program = start(toolkit);
    return toolkit.run();
}

} // namespace tessaro
