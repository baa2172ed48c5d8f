// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of its MSAA server: the server is made when a client
// first asks or while a screen reader runs, and only then are changes told.
#include "win32window.h"

namespace tessaro::win32
{

LRESULT Win32Window::onGetObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<long>(lParam) != static_cast<long>(OBJID_CLIENT))
        return DefWindowProcW(m_hwnd, WM_GETOBJECT, wParam, lParam);
    if (!m_accessibleServer)
        m_accessibleServer =
            std::make_unique<AccessibleServer>(model(), static_cast<AccessibleHost &>(*this));
    return m_accessibleServer->getObject(wParam, lParam);
}

// The server while a client has asked or a screen reader runs, else none.
AccessibleServer *Win32Window::listeningServer()
{
    if (!m_accessibleServer && m_readerListening)
        m_accessibleServer =
            std::make_unique<AccessibleServer>(model(), static_cast<AccessibleHost &>(*this));
    return m_accessibleServer.get();
}

void Win32Window::notifyAccessible(std::size_t at, Change change)
{
    if (AccessibleServer *server = listeningServer())
        server->notifyChange(at, change);
}

void Win32Window::showAccessibleDescription()
{
    if (AccessibleServer *server = listeningServer())
        server->notifyWindowDescription();
}

void Win32Window::notifyAccessibleFocus(std::size_t at)
{
    if (AccessibleServer *server = listeningServer())
        server->notifyFocus(at);
}

// A check box toggles and its handler runs once; a button is pressed.
void Win32Window::runAccessibleAction(std::size_t at)
{
    if (at >= model().size() || !model().state(at).visible || !m_children[at])
        return;
    switch (model().element(at).kind) {
    case ElementKind::CheckBox: {
        const int value = model().state(at).value == 1 ? 0 : 1;
        SendMessageW(m_children[at], BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
        valueChanged(at, value);
        break;
    }
    case ElementKind::Button:
    case ElementKind::PushButton:
        clicked(at);
        break;
    default:
        break;
    }
}

std::string Win32Window::accessibleTitle() const
{
    const int length = GetWindowTextLengthW(m_hwnd);
    std::wstring title(std::size_t(length) + 1, L'\0');
    title.resize(std::size_t(GetWindowTextW(m_hwnd, title.data(), length + 1)));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, title.data(), int(title.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(std::size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, title.data(), int(title.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    return utf8;
}

RECT Win32Window::screenRect(std::size_t at) const
{
    RECT r{};
    if (m_children[at]) {
        GetWindowRect(m_children[at], &r);
        return r;
    }
    r = deviceRect(at);
    const auto container = model().containerOf(at);
    HWND origin = container && m_children[*container] ? m_children[*container] : m_hwnd;
    MapWindowPoints(origin, nullptr, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

HWND Win32Window::childWindow(std::size_t at) const
{
    return m_children[at];
}

} // namespace tessaro::win32
