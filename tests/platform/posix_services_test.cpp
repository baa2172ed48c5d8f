// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux services for real: files on disk, programs really started (the
// window tests start one at a path with blanks and see it reaped).
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

    // A program that does nothing.
    std::string program(const std::string &name) const
    {
        std::ofstream(dir / name) << "#!/bin/sh\n";
        fs::permissions(dir / name, fs::perms::owner_all);
        return dir / name;
    }

    const fs::path dir = fs::temp_directory_path() / ("tessaro-test-" + std::to_string(::getpid()));
};

TEST_F(PosixServices, FileTestCountsOnlyOrdinaryFiles)
{
    posix::PosixFileProbe files;
    EXPECT_EQ(files.test(program("MSINFO32.EXE")), FileTestResult::ordinaryFile);
    EXPECT_EQ(files.test(dir.string()), FileTestResult::none);
    EXPECT_EQ(files.test((dir / "fehlt").string()), FileTestResult::none);
}

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

// The launcher finds, through the registry stand-in, the first candidate that
// is an executable ordinary file, looked for in the given order.
TEST_F(PosixServices, StandInNamesTheFirstInstalledCandidate)
{
    enum Kind { missing, directory, plainFile, program };
    const struct {
        std::vector<Kind> candidates;
        int started; // the candidate started; -1: the message
    } cases[] = {
        {{program, program}, 0},
        {{missing, directory, plainFile, program, program}, 3},
        {{missing, directory, plainFile}, -1},
        {{}, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
        const fs::path rowDir = dir / std::to_string(&c - cases);
        fs::create_directories(rowDir);
        std::vector<std::string> candidates;
        for (const Kind kind : c.candidates) {
            const fs::path path = rowDir / ("tool" + std::to_string(candidates.size()));
            if (kind == directory)
                fs::create_directory(path);
            if (kind == plainFile || kind == program)
                std::ofstream(path) << "#!/bin/sh\n";
            if (kind == program)
                fs::permissions(path, fs::perms::owner_all);
            candidates.push_back(path);
        }
        posix::PosixRegistry registry(candidates);
        posix::PosixFileProbe files;
        Outcome outcome;
        SysInfoServices services{registry, files, outcome, outcome};
        StartSysInfo(services);
        EXPECT_EQ(outcome.shown,
                  std::vector<std::string>{c.started < 0 ? std::string(sysinfo::unavailableMessage)
                                                         : candidates.at(std::size_t(c.started))});
    }
}

// One key, to be read only, whose key and value names match without regard to
// case; any other root, key or value does not exist.
TEST_F(PosixServices, StandInHasOneKeyToReadOnly)
{
    const std::string tool = program("probe tool");
    const std::string key(sysinfo::toolPathKey);
    constexpr std::int32_t currentUser = static_cast<std::int32_t>(0x80000001u);
    constexpr std::uint32_t withWriteRights = 0x2003F, setValue = 0x2;
    const struct {
        std::int32_t root;
        std::string key;
        std::uint32_t access;
        std::string value;
        long opened;
        long read; // when opened
    } cases[] = {
        {registry::localMachine, key, registry::keyRead, "PATH", registry::success,
         registry::success},
        {registry::localMachine, "software\\MICROSOFT\\shared tools\\MsInfo", registry::keyRead,
         "Path", registry::success, registry::success},
        {registry::localMachine, key, withWriteRights, "PATH", registry::accessDenied, 0},
        {registry::localMachine, key, registry::keyRead | setValue, "PATH", registry::accessDenied,
         0},
        {currentUser, key, registry::keyRead, "PATH", registry::fileNotFound, 0},
        {registry::localMachine, std::string(sysinfo::toolDirectoryKey), registry::keyRead,
         "MSINFO", registry::fileNotFound, 0},
        {registry::localMachine, key, registry::keyRead, "MSINFO", registry::success,
         registry::fileNotFound},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
        posix::PosixRegistry registry({(dir / "fehlt").string(), tool});
        registry::Handle handle = 0;
        ASSERT_EQ(registry.openKey(c.root, c.key, c.access, handle), c.opened);
        if (c.opened != registry::success)
            continue;
        std::array<std::uint8_t, 1024> data{};
        std::uint32_t type = 0, size = data.size();
        EXPECT_EQ(registry.queryValue(handle, c.value, type, data, size), c.read);
        if (c.read == registry::success) {
            EXPECT_EQ(type, registry::typeString);
            EXPECT_EQ(std::string(reinterpret_cast<const char *>(data.data()), size), tool + '\0');
        }
        registry.closeKey(handle);
    }
}
