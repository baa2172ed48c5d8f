// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessaro::win32
{

// The tooltips of one window: a child window's own, or a rectangle of the
// window's surface for a windowless label.
class Tooltips
{
public:
    struct Tool {
        UINT_PTR id; // of a rectangle; a child's tool is its handle
        HWND child;  // or nullptr for a rectangle
        RECT rect;   // of a rectangle, in the owner's client area
        std::wstring text;
    };

    // Creates the tooltip window with its tools, the first time only; none
    // where the common controls cannot be loaded.
    void create(HWND owner, const std::vector<Tool> &tools);
    [[nodiscard]] bool tried() const { return m_tried; }
    // A rectangle's new place; an empty one shows no tip.
    void moveTool(UINT_PTR id, const RECT &rect);
    // The owner is going, and its tooltip window with it.
    void forget() { m_window = nullptr; }

private:
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    bool m_tried = false;
};

} // namespace tessaro::win32
