// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for a system-information tool: it leaves "<own path>.ran" with
// its process id and ends.
#include <windows.h>

#include <string>

int main()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const std::wstring marker = path + L".ran";
    const std::wstring part = marker + L".part";

    const HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const std::string text = std::to_string(GetCurrentProcessId()) + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    // Appears whole or not at all.
    return MoveFileW(part.c_str(), marker.c_str()) ? 0 : 1;
}
