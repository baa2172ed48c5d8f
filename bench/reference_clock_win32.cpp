// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of bench/idle-wine: the smallest sensible Win32 clock. One
// window with one line of text, the local time, read every 100 ms and
// repainted when it has changed. Its client area has the size of Tessaro's
// main window (407 x 469 at 96 dpi), so that the comparison is of what the
// windows hold, not of how many pixels they cover; "reference_clock_win32.exe
// WIDTH HEIGHT" gives it another size.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace
{

wchar_t shown[32] = L"";

void readTime(wchar_t (&text)[32])
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::swprintf(text, 32, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: {
        wchar_t now[32];
        readTime(now);
        if (std::wcscmp(now, shown) != 0) {
            std::wcscpy(shown, now);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawTextW(dc, shown, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    RECT frame{0, 0, argc == 3 ? std::atoi(argv[1]) : 407, argc == 3 ? std::atoi(argv[2]) : 469};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    WNDCLASSW cls{};
    cls.lpfnWndProc = windowProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = L"ReferenceClock";
    RegisterClassW(&cls);
    HWND hwnd = CreateWindowExW(0, cls.lpszClassName, L"Referenzuhr", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, cls.hInstance, nullptr);
    readTime(shown);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetTimer(hwnd, 1, 100, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
