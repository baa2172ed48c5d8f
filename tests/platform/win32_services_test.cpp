// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 services for real, under wine: a registry seeded by
// seed-wine-registry.sh, files on disk and programs really started.
#include "sysinfo.h"
#include "win32/win32services.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace tessaro;

namespace fs = std::filesystem;

fs::path self()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}
fs::path ran(const fs::path &program)
{
    return program.wstring() + L".ran";
}

// A copy of this program under another name stands in for the system-
// information tool: it leaves "<its path>.ran" and ends before any test runs.
[[maybe_unused]] const bool isProbe = [] {
    if (self().filename().wstring().starts_with(L"win32_services_test"))
        return false;
    std::ofstream(ran(self())) << "lief";
    ExitProcess(0);
}();

TEST(Win32Registry, ReadsTheSeededValues)
{
    win32::Win32Registry registry;
    const std::string key = "SOFTWARE\\Tessaro\\Test";
    for (const auto &[value, found, expected] :
         {std::tuple{"Umlaut", true, "Größe"}, {"Acht", true, "8"}, {"Lang", false, ""}}) {
        std::string text = "vorher";
        const bool read = GetKeyValue(registry, registry::localMachine, key, value, text);
        EXPECT_EQ(read, found) << value << " (not seeded? run scripts/test-windows.sh)";
        EXPECT_EQ(text, expected) << value;
    }
}

TEST(Win32FileTest, CountsOnlyOrdinaryFiles)
{
    const fs::path dir = fs::temp_directory_path() / "tessaro test files";
    const fs::path file = dir / "MSINFO32.EXE", hidden = dir / "hidden.exe";
    fs::create_directories(dir);
    std::ofstream(file) << "program";
    std::ofstream(hidden) << "program";
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    win32::Win32FileProbe files;
    EXPECT_EQ(files.test(file.string()), FileTestResult::ordinaryFile);
    EXPECT_EQ(files.test(hidden.string()), FileTestResult::none);
    EXPECT_EQ(files.test(dir.string()), FileTestResult::none);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(dir);
}

// A path in quotes names the same program, never split at a blank; bare quotes start nothing.
TEST(Win32ProgramStart, TakesAQuotedPathWhole)
{
    win32::Win32ProgramStarter programs;
    // Each case has programs of its own: a running probe cannot be replaced.
    for (const auto &[folder, quoted] : {std::pair{"Quoted", true}, {"Plain", false}}) {
        const fs::path tool = std::string("C:\\Tessaro Test\\") + folder + " Tool\\probe tool.exe";
        const fs::path decoy = std::string("C:\\Tessaro Test\\") + folder + ".exe";
        fs::create_directories(tool.parent_path());
        for (const fs::path &copy : {tool, decoy}) {
            fs::copy_file(self(), copy, fs::copy_options::overwrite_existing);
            fs::remove(ran(copy));
        }
        const std::string registered = quoted ? '"' + tool.string() + '"' : tool.string();
        EXPECT_TRUE(programs.start(registered)) << registered;
        for (int i = 0; i < 1500 && !fs::exists(ran(tool)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(fs::exists(ran(tool))) << registered << " did not run";
        EXPECT_FALSE(fs::exists(ran(decoy))) << registered << " was split at a blank";
    }
    for (const char *nothing : {"\"\"", "\""})
        EXPECT_FALSE(programs.start(nothing)) << nothing;
}
