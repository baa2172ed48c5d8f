// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32tooltips.h"

#include <commctrl.h>

namespace tessaro::win32
{
namespace
{

// The common controls, which hold the tooltip window, cost about a megabyte
// of private memory; they are loaded the first time the pointer comes over a
// window, not for a clock that nobody points at.
bool commonControlsLoaded()
{
    static const bool loaded = [] {
        HMODULE library = LoadLibraryW(L"comctl32.dll");
        using Init = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
        const auto init = library ? reinterpret_cast<Init>(reinterpret_cast<void *>(
                                        GetProcAddress(library, "InitCommonControlsEx")))
                                  : nullptr;
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        return init && init(&controls);
    }();
    return loaded;
}

} // namespace

void Tooltips::create(HWND owner, const std::vector<Tool> &tools)
{
    if (m_tried)
        return;
    m_tried = true;
    if (tools.empty() || !commonControlsLoaded())
        return;
    m_owner = owner;
    m_window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    for (const Tool &tool : tools) {
        std::wstring text = tool.text;
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = owner;
        info.lpszText = text.data();
        if (tool.child) {
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.uId = reinterpret_cast<UINT_PTR>(tool.child);
        } else {
            info.uFlags = TTF_SUBCLASS;
            info.uId = tool.id;
            info.rect = tool.rect;
        }
        SendMessageW(m_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void Tooltips::moveTool(UINT_PTR id, const RECT &rect)
{
    if (!m_window)
        return;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = m_owner;
    info.uId = id;
    info.rect = rect;
    SendMessageW(m_window, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace tessaro::win32
