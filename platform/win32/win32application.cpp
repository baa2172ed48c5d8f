// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "win32dpi.h"
#include "win32toolkit.h"

#include <commctrl.h>

namespace tessaro
{

int runApplication(int &, char **, const ProgramStart &start)
{
    win32::becomeDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    win32::Win32Toolkit toolkit;
    const std::shared_ptr<void> program = start(toolkit);
    return toolkit.run();
}

} // namespace tessaro
