// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux services for real, on files on disk (the window tests start programs).
#include "posix/posix_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace tessaro;
namespace fs = std::filesystem;

class PosixServices : public ::testing::Test
{
protected:
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    // A file that does nothing, executable or not.
    std::string file(const std::string &name, bool executable = true) const
    {
        std::ofstream(dir / name) << "#!/bin/sh\n";
        if (executable)
            fs::permissions(dir / name, fs::perms::owner_all);
        return dir / name;
    }

    const fs::path dir = fs::temp_directory_path() / ("tessaro-test-" + std::to_string(::getpid()));
};

// The started program or the message, in place of the real ones.
struct Outcome final : ProgramStarter, MessageService {
    std::vector<std::string> shown;
    bool start(std::string_view path) override
    {
        shown.emplace_back(path);
        return true;
    }
    void show(std::string_view text, std::string_view) override { shown.emplace_back(text); }
};

// Through the registry stand-in the launcher starts the first candidate that
// is an executable ordinary file. The file test counts only ordinary files.
TEST_F(PosixServices, StandInNamesTheFirstInstalledCandidate)
{
    fs::create_directory(dir / "directory");
    const std::string missing = dir / "fehlt", directory = dir / "directory",
                      plain = file("plain", false), first = file("first"), second = file("second");
    posix::PosixFileProbe files;
    EXPECT_EQ(files.test(first), FileTestResult::ordinaryFile);
    EXPECT_EQ(files.test(directory), FileTestResult::none);
    EXPECT_EQ(files.test(missing), FileTestResult::none);
    const std::string message(sysinfo::unavailableMessage);
    for (const auto &[candidates, started] :
         {std::pair{std::vector{first, second}, first},
          {std::vector{missing, directory, plain, second, first}, second},
          {std::vector{missing, directory, plain}, message}}) {
        posix::PosixRegistry registry(candidates);
        Outcome outcome;
        SysInfoServices services{registry, files, outcome, outcome};
        StartSysInfo(services);
        EXPECT_EQ(outcome.shown, std::vector{started});
    }
}

// One key, to be read only, whose key and value names match in any case.
TEST_F(PosixServices, StandInHasOneKeyToReadOnly)
{
    const std::string tool = file("probe tool");
    const std::string key(sysinfo::toolPathKey), otherKey(sysinfo::toolDirectoryKey);
    constexpr std::int32_t machine = registry::localMachine,
                           currentUser = std::int32_t(0x80000001u);
    constexpr std::uint32_t read = registry::keyRead, setValue = 0x2;
    constexpr long ok = registry::success, absent = registry::fileNotFound;
    // root, key, access, value, what opening gives and, once opened, what reading gives
    const std::tuple<std::int32_t, std::string, std::uint32_t, std::string, long, long> cases[] = {
        {machine, key, read, "PATH", ok, ok},
        {machine, "software\\MICROSOFT\\shared tools\\MsInfo", read, "Path", ok, ok},
        {machine, key, read | setValue, "PATH", registry::accessDenied, 0},
        {currentUser, key, read, "PATH", absent, 0},
        {machine, otherKey, read, "MSINFO", absent, 0},
        {machine, key, read, "MSINFO", ok, absent},
    };
    for (const auto &[root, name, access, value, opened, gives] : cases) {
        SCOPED_TRACE(name + " " + value + " " + std::to_string(access));
        posix::PosixRegistry registry({(dir / "fehlt").string(), tool});
        registry::Handle handle = 0;
        ASSERT_EQ(registry.openKey(root, name, access, handle), opened);
        if (opened != ok)
            continue;
        std::array<std::uint8_t, 1024> data{};
        std::uint32_t type = 0, size = data.size();
        EXPECT_EQ(registry.queryValue(handle, value, type, data, size), gives);
        if (gives == ok) {
            EXPECT_EQ(type, registry::typeString);
            EXPECT_EQ(std::string(reinterpret_cast<const char *>(data.data()), size), tool + '\0');
        }
        registry.closeKey(handle);
    }
}
