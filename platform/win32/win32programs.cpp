// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32services.h"

#include <windows.h>

namespace tessaro::win32
{

FileTestResult Win32FileProbe::test(std::string_view path)
{
    const std::optional<std::wstring> name = toWide(path);
    if (!name || name->find(L'\0') != std::wstring::npos) {
        return FileTestResult::unusablePath;
    }
    const DWORD attributes = GetFileAttributesW(name->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (GetLastError()) {
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_INVALID_DRIVE:
            return FileTestResult::unusablePath;
        default:
            return FileTestResult::none;
        }
    }
    constexpr DWORD notOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & notOrdinary) == 0 ? FileTestResult::ordinaryFile : FileTestResult::none;
}

namespace
{

// A path with blanks is often stored in quotes; it names the same program,
// so one pair of surrounding quotes is dropped.
std::string_view withoutSurroundingQuotes(std::string_view path)
{
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        return path.substr(1, path.size() - 2);
    return path;
}

} // namespace

bool Win32ProgramStarter::start(std::string_view registeredPath)
{
    const std::string_view programPath = withoutSurroundingQuotes(registeredPath);
    const std::optional<std::wstring> program = toWide(programPath);
    if (programPath.empty() || !program || program->find(L'\0') != std::wstring::npos) {
        return false;
    }
    // The path names the program as a whole: passed as the application name
    // it is never split at blanks (C:\Program Files\... never starts
    // C:\Program.exe). The command line repeats it quoted as the program's
    // own first argument.
    std::wstring commandLine = L"\"" + *program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    // Not waited for and not tracked.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace tessaro::win32
