// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32toolkit.h"

#include "win32services.h"
#include "win32window.h"

#include <algorithm>
#include <memory>

namespace tessaro::win32
{
namespace
{

constexpr UINT runTasksMessage = WM_APP + 1;

} // namespace

Win32Toolkit::Win32Toolkit()
{
    Win32Window::registerClasses();
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = taskProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"TessaroTasks";
    RegisterClassExW(&cls);
    m_tasks = CreateWindowExW(0, cls.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              cls.hInstance, nullptr);
    SetWindowLongPtrW(m_tasks, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Toolkit::~Win32Toolkit()
{
    destroyAll();
    SetWindowLongPtrW(m_tasks, GWLP_USERDATA, 0);
    DestroyWindow(m_tasks);
}

Window &Win32Toolkit::load(const WindowDef &def, WindowEvents &events)
{
    return adopt(std::make_unique<Win32Window>(*this, def, events));
}

void Win32Toolkit::endProgram()
{
    PostQuitMessage(0);
}

// The box belongs to the program's active window, the one whose button
// opened it, so that window gets the focus back after OK. The program's
// other windows wait for the box too.
void Win32Toolkit::messageBox(std::string_view text, std::string_view title)
{
    HWND owner = GetActiveWindow();
    const bool ours = std::any_of(m_open.begin(), m_open.end(),
                                  [owner](const Win32Window *w) { return w->handle() == owner; });
    if (!ours)
        owner = m_open.empty() ? nullptr : m_open.back()->handle();
    std::vector<HWND> waiting;
    for (const Win32Window *window : m_open)
        if (window->handle() != owner && IsWindowEnabled(window->handle())) {
            EnableWindow(window->handle(), FALSE);
            waiting.push_back(window->handle());
        }
    MessageBoxW(owner, toWide(text).value_or(L"").c_str(), toWide(title).value_or(L"").c_str(),
                UINT(MB_OK) | (owner ? UINT(MB_APPLMODAL) : UINT(MB_TASKMODAL)));
    for (HWND window : waiting)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}

int Win32Toolkit::run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialogMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// Tab, Enter, Escape and Alt shortcuts of the program's windows go through
// the dialog manager.
bool Win32Toolkit::dialogMessage(MSG &message)
{
    if (!message.hwnd)
        return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    const bool ours = std::any_of(m_open.begin(), m_open.end(), [top](const Win32Window *window) {
        return window->handle() == top;
    });
    return ours && IsDialogMessageW(top, &message);
}

void Win32Toolkit::runLater(std::function<void()> task)
{
    m_pending.push_back(std::move(task));
    PostMessageW(m_tasks, runTasksMessage, 0, 0);
}

void Win32Toolkit::runTasks()
{
    std::vector<std::function<void()>> tasks;
    tasks.swap(m_pending);
    for (auto &task : tasks)
        task();
}

LRESULT CALLBACK Win32Toolkit::taskProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<Win32Toolkit *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == runTasksMessage && self) {
        self->runTasks();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Toolkit::nativeWindowOpened(Win32Window &window)
{
    m_open.push_back(&window);
}

// The program ends once none of its windows is left open.
void Win32Toolkit::nativeWindowClosed(Win32Window &window)
{
    std::erase(m_open, &window);
    if (m_open.empty())
        PostQuitMessage(0);
}

} // namespace tessaro::win32
