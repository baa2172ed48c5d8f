// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace tessaro::win32
{

// The process draws for each monitor's own resolution. The functions for it
// came with Windows 10; on older systems the program stays system-aware.
void becomeDpiAware();
int systemDpi();
int windowDpi(HWND hwnd);
// The window rectangle for a client rectangle at a resolution.
void adjustWindowRect(RECT &rect, DWORD style, DWORD exStyle, int dotsPerInch);

} // namespace tessaro::win32
