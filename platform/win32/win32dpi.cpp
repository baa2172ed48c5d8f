// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32dpi.h"

namespace tessaro::win32
{
namespace
{

// A function of user32 that older Windows lacks, or nullptr.
template <typename Function> Function user32(const char *name)
{
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(user, name)))
                : nullptr;
}

using SetAwarenessContext = BOOL(WINAPI *)(HANDLE);
using DpiForSystem = UINT(WINAPI *)();
using DpiForWindow = UINT(WINAPI *)(HWND);
using AdjustForDpi = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);

} // namespace

void becomeDpiAware()
{
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; the manifest asks for the
    // same, so a failure here (already set) changes nothing.
    if (const auto set = user32<SetAwarenessContext>("SetProcessDpiAwarenessContext"))
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
}

int systemDpi()
{
    if (const auto forSystem = user32<DpiForSystem>("GetDpiForSystem"))
        return static_cast<int>(forSystem());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int windowDpi(HWND hwnd)
{
    if (const auto forWindow = user32<DpiForWindow>("GetDpiForWindow"))
        if (const UINT dpi = forWindow(hwnd))
            return static_cast<int>(dpi);
    return systemDpi();
}

void adjustWindowRect(RECT &rect, DWORD style, DWORD exStyle, int dotsPerInch)
{
    if (const auto adjust = user32<AdjustForDpi>("AdjustWindowRectExForDpi"))
        if (adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dotsPerInch)))
            return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

} // namespace tessaro::win32
