// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 registry and file test for real, under wine: a registry seeded
// by seed-wine-registry.sh and files on disk (the window tests start programs).
#include "sysinfo.h"
#include "win32/win32services.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

using namespace tessaro;

namespace fs = std::filesystem;

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
    fs::remove_all(dir);
}
