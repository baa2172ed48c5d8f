// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 services for real, under wine: a registry seeded by
// seed-wine-registry.sh, files on disk and programs really started.
#include "sysinfo.h"
#include "win32/win32_services.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

namespace tessaro::testing
{
namespace
{

using namespace std::chrono_literals;

constexpr std::string_view seededKey = "SOFTWARE\\Tessaro\\Test";
// Where the seeded tool path points.
constexpr std::wstring_view seededToolDirectory = L"C:\\Tessaro Test\\System Info";
constexpr std::wstring_view seededTool = L"C:\\Tessaro Test\\System Info\\probe tool.exe";

std::wstring directoryOfThisProgram()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring probeProgram()
{
    return directoryOfThisProgram() + L"\\sysinfo_probe.exe";
}

std::string utf8(const std::wstring &wide)
{
    return win32::toUtf8(wide);
}

bool exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Creates every directory along the path.
void makeDirectories(const std::wstring &path)
{
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos;
         at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

void copyProbeTo(const std::wstring &path)
{
    makeDirectories(path.substr(0, path.find_last_of(L'\\')));
    DeleteFileW((path + L".ran").c_str());
    ASSERT_TRUE(CopyFileW(probeProgram().c_str(), path.c_str(), FALSE))
        << "cannot copy the probe to " << utf8(path);
}

bool ranWithin(const std::wstring &program, std::chrono::seconds limit)
{
    const std::wstring marker = program + L".ran";
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
        if (exists(marker))
            return true;
    }
    return false;
}

// A fresh directory under the temp directory, removed afterwards.
class TempDir
{
public:
    TempDir()
    {
        std::wstring base(MAX_PATH, L'\0');
        base.resize(GetTempPathW(static_cast<DWORD>(base.size()), base.data()));
        path_ = base + L"tessaro test " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64());
        makeDirectories(path_);
    }
    ~TempDir() { removeAll(path_); }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    [[nodiscard]] const std::wstring &path() const { return path_; }
    std::wstring file(const std::wstring &name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const
    {
        const std::wstring full = path_ + L"\\" + name;
        const HANDLE handle = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          attributes, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(handle, "Inhalt", 6, &written, nullptr);
            CloseHandle(handle);
        }
        return full;
    }

private:
    static void removeAll(const std::wstring &directory)
    {
        WIN32_FIND_DATAW entry;
        const HANDLE find = FindFirstFileW((directory + L"\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = directory + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeAll(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryW(directory.c_str());
    }

    std::wstring path_;
};

// --- The registry -------------------------------------------------------

class SeededRegistry : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        HKEY key = nullptr;
        seeded_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(seededKey).c_str(), 0, KEY_READ,
                                &key) == ERROR_SUCCESS;
        if (key)
            RegCloseKey(key);
    }
    void SetUp() override
    {
        ASSERT_TRUE(seeded_) << "the registry is not seeded: run scripts/test-windows.sh";
    }

    win32::Win32Registry registry;
    static bool seeded_;
};
bool SeededRegistry::seeded_ = false;

struct SeededValue {
    const char *value;
    bool found;
    std::string expected; // "vorher": left as it was
};

class SeededValues : public SeededRegistry, public ::testing::WithParamInterface<SeededValue>
{
};

TEST_P(SeededValues, ReadAsText)
{
    std::string text = "vorher";
    EXPECT_EQ(GetKeyValue(registry, registry::localMachine, seededKey, GetParam().value, text),
              GetParam().found);
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SeededValues,
    ::testing::Values(
        SeededValue{"Text", true, "C:\\Programme\\Werkzeug.exe"},
        SeededValue{"Leerzeichen", true,
                    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe"},
        SeededValue{"Umlaut", true, "Größe"}, SeededValue{"Acht", true, "8"},
        SeededValue{"Zehntausend", true, "10000"}, SeededValue{"Erweitert", true, "vorher"},
        SeededValue{"Leer", true, ""}, SeededValue{"Genau", true, std::string(1023, 'a')},
        SeededValue{"Lang", false, ""}, SeededValue{"Fehlt", false, ""}),
    [](const auto &test) { return std::string(test.param.value); });

TEST_F(SeededRegistry, MissingKeyIsNotFound)
{
    std::string text = "vorher";
    EXPECT_FALSE(
        GetKeyValue(registry, registry::localMachine, "SOFTWARE\\Tessaro\\Fehlt", "Text", text));
    EXPECT_EQ(text, "");
}

TEST_F(SeededRegistry, ValueWithoutDataRaisesAFailure)
{
    std::string text;
    EXPECT_THROW(GetKeyValue(registry, registry::localMachine, seededKey, "Nichts", text),
                 EmptyRegistryValue);
}

TEST_F(SeededRegistry, TooSmallABufferReportsTheNeededSize)
{
    registry::Handle handle = 0;
    ASSERT_EQ(
        registry.openKey(registry::localMachine, std::string(seededKey), registry::keyRead, handle),
        registry::success);
    std::array<std::uint8_t, 1024> buffer{};
    std::uint32_t size = buffer.size();
    std::uint32_t type = 0;
    EXPECT_EQ(registry.queryValue(handle, "Lang", type, buffer, size), registry::moreData);
    EXPECT_EQ(size, 1025u);
    registry.closeKey(handle);
}

TEST_F(SeededRegistry, CodePageRoundTrip)
{
    EXPECT_EQ(registry.fromSystemCodePage(registry.toSystemCodePage("Größe").value()), "Größe");
    EXPECT_FALSE(registry.toSystemCodePage("\xFF\xFE").has_value()) << "malformed UTF-8";
}

// --- The file test -----------------------------------------------------

struct FileCase {
    const char *name;
    std::function<std::wstring(const TempDir &)> make;
    FileTestResult expected;
    // Attributes the made path must really have, so the case tests what it claims.
    DWORD attributes = 0;
};

class Win32FileTest : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(Win32FileTest, CountsOnlyOrdinaryFiles)
{
    TempDir dir;
    win32::Win32FileProbe probe;
    const std::wstring path = GetParam().make(dir);
    if (GetParam().attributes != 0) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "not made: " << utf8(path);
        ASSERT_EQ(attributes & GetParam().attributes, GetParam().attributes);
    }
    EXPECT_EQ(probe.test(utf8(path)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Win32FileTest,
    ::testing::Values(
        FileCase{"OrdinaryFile", [](const TempDir &d) { return d.file(L"MSINFO32.EXE"); },
                 FileTestResult::ordinaryFile},
        FileCase{"ReadOnlyFile",
                 [](const TempDir &d) { return d.file(L"nur lesen", FILE_ATTRIBUTE_READONLY); },
                 FileTestResult::ordinaryFile, FILE_ATTRIBUTE_READONLY},
        FileCase{"UmlautInName", [](const TempDir &d) { return d.file(L"gr\u00F6\u00DFe.exe"); },
                 FileTestResult::ordinaryFile},
        FileCase{"HiddenFile",
                 [](const TempDir &d) { return d.file(L"versteckt", FILE_ATTRIBUTE_HIDDEN); },
                 FileTestResult::none, FILE_ATTRIBUTE_HIDDEN},
        FileCase{"SystemFile",
                 [](const TempDir &d) { return d.file(L"system", FILE_ATTRIBUTE_SYSTEM); },
                 FileTestResult::none, FILE_ATTRIBUTE_SYSTEM},
        FileCase{"Directory",
                 [](const TempDir &d) {
                     CreateDirectoryW((d.path() + L"\\MSINFO32.EXE").c_str(), nullptr);
                     return d.path() + L"\\MSINFO32.EXE";
                 },
                 FileTestResult::none, FILE_ATTRIBUTE_DIRECTORY},
        FileCase{"Missing", [](const TempDir &d) { return d.path() + L"\\fehlt"; },
                 FileTestResult::none},
        FileCase{"DoubledBackslash",
                 [](const TempDir &d) {
                     d.file(L"MSINFO32.EXE");
                     return d.path() + L"\\\\MSINFO32.EXE";
                 },
                 FileTestResult::ordinaryFile}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(Win32FileTestNames, MalformedTextIsUnusable)
{
    win32::Win32FileProbe probe;
    EXPECT_EQ(probe.test("C:\\\xFF\xFE"), FileTestResult::unusablePath);
    EXPECT_EQ(probe.test(std::string("C:\\a\0b", 6)), FileTestResult::unusablePath);
}

// --- The program start --------------------------------------------------

TEST(Win32ProgramStart, StartsTheWholePathWithBlanks)
{
    TempDir dir;
    // A decoy where a split at the first blank would lead: "...\tessaro.exe".
    const std::wstring decoy = dir.path() + L"\\tessaro.exe";
    const std::wstring program = dir.path() + L"\\tessaro probe\\system info.exe";
    copyProbeTo(decoy);
    copyProbeTo(program);

    win32::Win32ProgramStarter starter;
    EXPECT_TRUE(starter.start(utf8(program)));
    EXPECT_TRUE(ranWithin(program, 30s)) << "the program did not run";
    EXPECT_FALSE(exists(decoy + L".ran")) << "the path was split at a blank";
}

struct NotStartable {
    const char *name;
    std::function<std::wstring(const TempDir &)> make;
};

class Win32NotStartable : public ::testing::TestWithParam<NotStartable>
{
};

TEST_P(Win32NotStartable, ReportsThatItCannotStart)
{
    TempDir dir;
    win32::Win32ProgramStarter starter;
    EXPECT_FALSE(starter.start(utf8(GetParam().make(dir))));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Win32NotStartable,
    ::testing::Values(
        NotStartable{"EmptyPath", [](const TempDir &) { return std::wstring(); }},
        NotStartable{"Missing", [](const TempDir &d) { return d.path() + L"\\fehlt.exe"; }},
        NotStartable{"Directory", [](const TempDir &d) { return d.path(); }},
        NotStartable{"NotAProgram", [](const TempDir &d) { return d.file(L"text.exe"); }}),
    [](const auto &test) { return std::string(test.param.name); });

// --- The launcher on these services ---------------------------------------

class RecordedMessages final : public MessageService
{
public:
    void show(std::string_view text, std::string_view) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

TEST_F(SeededRegistry, LauncherStartsTheRegisteredToolAtAPathWithBlanks)
{
    copyProbeTo(std::wstring(seededTool));
    win32::Win32FileProbe files;
    win32::Win32ProgramStarter programs;
    RecordedMessages messages;
    SysInfoServices services{registry, files, programs, messages};

    StartSysInfo(services);

    EXPECT_TRUE(ranWithin(std::wstring(seededTool), 30s));
    EXPECT_TRUE(messages.shown.empty());
    DeleteFileW((std::wstring(seededTool) + L".ran").c_str());
    DeleteFileW(std::wstring(seededTool).c_str());
    RemoveDirectoryW(std::wstring(seededToolDirectory).c_str());
}

} // namespace
} // namespace tessaro::testing
