// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32services.h"

#include <windows.h>

namespace tessaro::win32
{
namespace
{

std::optional<std::wstring> multiByteToWide(unsigned codePage, DWORD flags, std::string_view text)
{
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed);
    return wide;
}

// Nothing when a character has no exact counterpart in the code page: a
// best-fit substitute would name another key or file.
std::optional<std::string> wideToMultiByte(unsigned codePage, std::wstring_view wide)
{
    if (wide.empty()) {
        return std::string();
    }
    const bool ansi = codePage == CP_ACP;
    const DWORD flags = ansi ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL *const usedDefaultOut = ansi ? &usedDefault : nullptr;
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0,
                                           nullptr, usedDefaultOut);
    if (needed <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), length, text.data(), needed, nullptr,
                        nullptr);
    return text;
}

} // namespace

std::optional<std::wstring> toWide(std::string_view utf8)
{
    return multiByteToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
}

std::string toUtf8(std::wstring_view wide)
{
    return wideToMultiByte(CP_UTF8, wide).value_or("");
}

std::optional<std::string> Win32Registry::toSystemCodePage(std::string_view utf8) const
{
    const std::optional<std::wstring> wide = toWide(utf8);
    if (!wide) {
        return std::nullopt;
    }
    return wideToMultiByte(CP_ACP, *wide);
}

std::string Win32Registry::fromSystemCodePage(std::string_view bytes) const
{
    // Every byte of an ANSI code page maps to a character, so this never fails.
    return toUtf8(multiByteToWide(CP_ACP, 0, bytes).value_or(L""));
}

} // namespace tessaro::win32
