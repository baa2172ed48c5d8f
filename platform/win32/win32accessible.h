// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "accessibility.h"

#include <windows.h>

#include <memory>

namespace tessaro::win32
{

// Posted to a window to run an element's default action once the screen
// reader's call has returned: a handler may close the window.
constexpr UINT accessibleActionMessage = WM_APP + 17;

// What the accessible object of a window needs of it.
class AccessibleHost
{
public:
    virtual ~AccessibleHost() = default;
    [[nodiscard]] virtual HWND accessibleWindowHandle() const = 0;
    [[nodiscard]] virtual std::string accessibleTitle() const = 0;
    // An element's rectangle in screen coordinates.
    [[nodiscard]] virtual RECT screenRect(std::size_t element) const = 0;
    // The element's own child window, if it has one.
    [[nodiscard]] virtual HWND childWindow(std::size_t element) const = 0;
};

class WindowAccessible;
// The server and its objects share it; the server cuts it when it goes.
struct AccessibleLink;

// The MSAA server of one window. It exists from the first WM_GETOBJECT (or
// while Windows says a screen reader runs): a window nobody reads pays
// nothing. Its IAccessible outlives it only as an empty shell that answers
// RPC_E_DISCONNECTED.
class AccessibleServer
{
public:
    AccessibleServer(const WindowModel &model, AccessibleHost &host);
    ~AccessibleServer();
    AccessibleServer(const AccessibleServer &) = delete;
    AccessibleServer &operator=(const AccessibleServer &) = delete;

    // Answers WM_GETOBJECT; 0 for objects other than the client area.
    LRESULT getObject(WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool asked() const { return m_asked; }
    // Tells listening clients what a change of an element means to them.
    void notifyChange(std::size_t element, Change change) const;
    void notifyFocus(std::size_t element) const;
    // Tells listening clients that the window's own description changed.
    void notifyWindowDescription() const;

private:
    AccessibleWindow m_accessible;
    std::shared_ptr<AccessibleLink> m_link;
    WindowAccessible *m_object = nullptr;
    bool m_asked = false;
};

} // namespace tessaro::win32
