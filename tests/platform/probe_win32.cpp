// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the system-information tool of the window tests under wine. Like the
// real one it is a windowed program: a console program started from the About dialog gets
// a console window, which wine opens at the screen's corner over the main window's Exit
// button, a moment after the program has started. It leaves "<own path>.ran" and ends.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

int main()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    std::ofstream(std::filesystem::path(path + L".ran")) << "lief";
}
