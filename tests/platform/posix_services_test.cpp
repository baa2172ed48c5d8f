// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux services for real: files on disk, programs really started.
#include "posix/posix_services.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace tessaro;
namespace fs = std::filesystem;

class PosixServices : public ::testing::Test
{
protected:
    void SetUp() override { fs::create_directories(dir / "System Info"); }
    void TearDown() override { fs::remove_all(dir); }

    // A program that leaves "<its path>.ran" holding its process id.
    std::string program(const std::string &name) const
    {
        std::ofstream(dir / name) << "#!/bin/sh\necho $$ >\"$0.ran\"\n";
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

// Neither split at the blank nor left behind as a zombie.
TEST_F(PosixServices, StartsTheWholePathAndLeavesNoZombie)
{
    const std::string decoy = program("System"), tool = program("System Info/probe tool");
    const std::optional<pid_t> pid = posix::PosixProgramStarter().spawn(tool);
    ASSERT_TRUE(pid);
    const std::string proc = "/proc/" + std::to_string(*pid);
    pid_t ran = 0;
    for (int i = 0; i < 500 && !(std::ifstream(tool + ".ran") >> ran); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ran, *pid) << "the program did not run";
    for (int i = 0; i < 500 && fs::exists(proc); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(fs::exists(proc)) << "still there or a zombie";
    EXPECT_FALSE(fs::exists(decoy + ".ran"));
}
