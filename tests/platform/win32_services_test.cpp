// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 services for real, under wine: a registry seeded by
// seed-wine-registry.sh, files on disk and programs really started.
#include "sysinfo.h"
#include "win32/win32_services.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace tessaro::testing
{
namespace
{

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::string_view seededKey = "SOFTWARE\\Tessaro\\Test";
// Where the seeded tool path points.
const fs::path seededTool = L"C:\\Tessaro Test\\System Info\\probe tool.exe";

std::string utf8(const fs::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

fs::path probeProgram()
{
    std::wstring self(MAX_PATH * 4, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return fs::path(self).parent_path() / L"sysinfo_probe.exe";
}

void placeProbe(const fs::path &where)
{
    fs::create_directories(where.parent_path());
    fs::copy_file(probeProgram(), where, fs::copy_options::overwrite_existing);
    fs::remove(where.wstring() + L".ran");
}

bool ranSoon(const fs::path &program)
{
    for (auto end = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(20ms))
        if (fs::exists(program.wstring() + L".ran"))
            return true;
    return false;
}

// A fresh directory with a blank in its name, removed afterwards.
class TempDir
{
public:
    TempDir() { fs::create_directories(path); }
    ~TempDir()
    {
        for (const auto &entry : fs::recursive_directory_iterator(path))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(path);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    fs::path file(const std::wstring &name, DWORD attributes = 0) const
    {
        std::ofstream(path / name) << "Inhalt";
        if (attributes != 0)
            SetFileAttributesW((path / name).c_str(), attributes);
        return path / name;
    }

    const fs::path path =
        fs::temp_directory_path() / (L"tessaro test " + std::to_wstring(GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(GetTickCount64()));
};

bool seeded()
{
    HKEY key = nullptr;
    const bool found = RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(seededKey).c_str(), 0,
                                     KEY_READ, &key) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

struct SeededValue {
    const char *value;
    bool found;
    std::string expected; // "vorher": left as it was
};

class SeededRegistry : public ::testing::TestWithParam<SeededValue>
{
protected:
    void SetUp() override { ASSERT_TRUE(seeded()) << "not seeded: run scripts/test-windows.sh"; }
    win32::Win32Registry registry;
};

TEST_P(SeededRegistry, ReadsAsText)
{
    std::string text = "vorher";
    EXPECT_EQ(GetKeyValue(registry, registry::localMachine, seededKey, GetParam().value, text),
              GetParam().found);
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SeededRegistry,
    ::testing::Values(
        SeededValue{"Text", true, "C:\\Programme\\Werkzeug.exe"},
        SeededValue{"Leerzeichen", true,
                    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe"},
        SeededValue{"Umlaut", true, "Größe"}, SeededValue{"Acht", true, "8"},
        SeededValue{"Zehntausend", true, "10000"}, SeededValue{"Erweitert", true, "vorher"},
        SeededValue{"Leer", true, ""}, SeededValue{"Genau", true, std::string(1023, 'a')},
        SeededValue{"Lang", false, ""}, SeededValue{"Fehlt", false, ""}),
    [](const auto &test) { return std::string(test.param.value); });

TEST(Win32Registry, ValueWithoutDataRaisesAFailure)
{
    ASSERT_TRUE(seeded());
    win32::Win32Registry registry;
    std::string text;
    EXPECT_THROW(GetKeyValue(registry, registry::localMachine, seededKey, "Nichts", text),
                 EmptyRegistryValue);
    EXPECT_FALSE(GetKeyValue(registry, registry::localMachine, "SOFTWARE\\Fehlt", "Text", text));
    EXPECT_FALSE(registry.toSystemCodePage("\xFF\xFE").has_value()) << "malformed UTF-8";
}

TEST(Win32FileTest, CountsOnlyOrdinaryFiles)
{
    TempDir dir;
    fs::create_directory(dir.path / L"MSINFO32.EXE");
    const struct {
        fs::path path;
        DWORD attributes; // the path must really have these
        FileTestResult expected;
    } cases[] = {
        {dir.file(L"gr\u00F6\u00DFe.exe"), 0, FileTestResult::ordinaryFile},
        {dir.file(L"nur lesen", FILE_ATTRIBUTE_READONLY), FILE_ATTRIBUTE_READONLY,
         FileTestResult::ordinaryFile},
        {dir.file(L"versteckt", FILE_ATTRIBUTE_HIDDEN), FILE_ATTRIBUTE_HIDDEN,
         FileTestResult::none},
        {dir.file(L"system", FILE_ATTRIBUTE_SYSTEM), FILE_ATTRIBUTE_SYSTEM, FileTestResult::none},
        {dir.path / L"MSINFO32.EXE", FILE_ATTRIBUTE_DIRECTORY, FileTestResult::none},
        {dir.path / L"fehlt", 0, FileTestResult::none},
        {dir.path.wstring() + L"\\\\gr\u00F6\u00DFe.exe", 0, FileTestResult::ordinaryFile},
    };
    win32::Win32FileProbe probe;
    for (const auto &c : cases) {
        const DWORD attributes = GetFileAttributesW(c.path.c_str());
        if (c.attributes != 0)
            ASSERT_EQ(attributes & c.attributes, c.attributes) << utf8(c.path);
        EXPECT_EQ(probe.test(utf8(c.path)), c.expected) << utf8(c.path);
    }
    EXPECT_EQ(probe.test("C:\\\xFF\xFE"), FileTestResult::unusablePath);
}

TEST(Win32ProgramStart, StartsTheWholePathWithBlanks)
{
    TempDir dir;
    const fs::path decoy = dir.path / L"tessaro.exe"; // where a split at the blank leads
    const fs::path program = dir.path / L"tessaro probe" / L"system info.exe";
    placeProbe(decoy);
    placeProbe(program);

    EXPECT_TRUE(win32::Win32ProgramStarter().start(utf8(program)));
    EXPECT_TRUE(ranSoon(program)) << "the program did not run";
    EXPECT_FALSE(fs::exists(decoy.wstring() + L".ran")) << "the path was split at a blank";
}

TEST(Win32ProgramStart, ReportsWhatCannotStart)
{
    TempDir dir;
    win32::Win32ProgramStarter starter;
    for (const fs::path &path :
         {fs::path(), dir.path / L"fehlt.exe", dir.path, dir.file(L"text.exe")})
        EXPECT_FALSE(starter.start(utf8(path))) << utf8(path);
}

class NoMessages final : public MessageService
{
public:
    void show(std::string_view message, std::string_view) override { ADD_FAILURE() << message; }
};

TEST(Win32SysInfo, LauncherStartsTheRegisteredToolAtAPathWithBlanks)
{
    ASSERT_TRUE(seeded());
    placeProbe(seededTool);
    win32::Win32Registry registry;
    win32::Win32FileProbe files;
    win32::Win32ProgramStarter programs;
    NoMessages messages;
    SysInfoServices services{registry, files, programs, messages};

    StartSysInfo(services);

    EXPECT_TRUE(ranSoon(seededTool));
}

} // namespace
} // namespace tessaro::testing
