// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modelwindow.h"
#include "toolkit.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace tessaro::win32
{

class Win32Window;

// Builds native Win32 windows from window descriptions and runs their event
// loop, with the dialog manager for tab order, default and cancel buttons
// and Alt shortcuts.
class Win32Toolkit final : public Toolkit, private WindowHost
{
public:
    Win32Toolkit();
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit &) = delete;
    Win32Toolkit &operator=(const Win32Toolkit &) = delete;

    Window &load(const WindowDef &def, WindowEvents &events) override;
    void endProgram() override;
    void messageBox(std::string_view text, std::string_view title) override;

    // Runs the event loop until endProgram() or until the last window has
    // closed; returns the exit status.
    int run();

private:
    friend class Win32Window;
    void runLater(std::function<void()> task) override;
    void nativeWindowOpened(Win32Window &window);
    void nativeWindowClosed(Win32Window &window);
    bool dialogMessage(MSG &message);
    void runTasks();
    static LRESULT CALLBACK taskProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_tasks = nullptr; // message-only window that runs deferred work
    std::vector<std::function<void()>> m_pending;
    std::vector<Win32Window *> m_open;
};

} // namespace tessaro::win32
