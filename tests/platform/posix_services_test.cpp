// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux services for real: files on disk, programs really started.
#include "posix/posix_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <thread>

namespace tessaro::testing
{
namespace
{

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A fresh directory per test, removed afterwards.
class TempDir
{
public:
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // A file, or with `probe` a copy of the probe program, at name.
    std::string file(const std::string &name, bool probe = false) const
    {
        fs::create_directories((path / name).parent_path());
        if (probe)
            fs::copy_file(TESSARO_PROBE_PROGRAM, path / name);
        else
            std::ofstream(path / name) << "kein Programm\n";
        return (path / name).string();
    }

    const fs::path path =
        fs::temp_directory_path() /
        ("tessaro-test-" + std::to_string(::getpid()) + "-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
};

bool waitUntil(const std::function<bool()> &condition, std::chrono::seconds limit = 10s)
{
    for (auto end = std::chrono::steady_clock::now() + limit; !condition();
         std::this_thread::sleep_for(10ms))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

// The probe writes "<its path>.ran" holding its process and session ids.
struct ProbeRun {
    pid_t pid = 0;
    pid_t session = 0;
};
std::optional<ProbeRun> runOf(const std::string &probe)
{
    std::optional<ProbeRun> run;
    waitUntil([&] {
        std::ifstream in(probe + ".ran");
        ProbeRun read;
        if (in >> read.pid >> read.session)
            run = read;
        return run.has_value();
    });
    return run;
}

// Gone from /proc: neither running nor left as a zombie.
bool goneSoon(pid_t pid)
{
    return waitUntil([pid] { return !fs::exists("/proc/" + std::to_string(pid)); });
}

struct FileCase {
    const char *name;
    std::function<std::string(const TempDir &)> make;
    FileTestResult expected;
};

class PosixFileTest : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(PosixFileTest, CountsOnlyOrdinaryFiles)
{
    TempDir dir;
    EXPECT_EQ(posix::PosixFileProbe().test(GetParam().make(dir)), GetParam().expected);
}

using enum FileTestResult;
INSTANTIATE_TEST_SUITE_P(
    Paths, PosixFileTest,
    ::testing::Values(
        FileCase{"File", [](const TempDir &d) { return d.file("a b/MSINFO32.EXE"); }, ordinaryFile},
        FileCase{"Directory", [](const TempDir &d) { return d.path.string(); }, none},
        FileCase{"Missing", [](const TempDir &d) { return d.file("x") + "/fehlt"; }, none},
        FileCase{"LinkToFile",
                 [](const TempDir &d) {
                     fs::create_symlink(d.file("ziel"), d.path / "link");
                     return (d.path / "link").string();
                 },
                 ordinaryFile},
        FileCase{"Fifo",
                 [](const TempDir &d) {
                     ::mkfifo((d.path / "fifo").c_str(), 0600);
                     return (d.path / "fifo").string();
                 },
                 none},
        FileCase{"NameTooLong",
                 [](const TempDir &d) { return (d.path / std::string(5000, 'x')).string(); },
                 unusablePath},
        FileCase{"ZeroByte", [](const TempDir &d) { return d.file("x") + std::string(1, '\0'); },
                 unusablePath}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(PosixProgramStart, StartsTheWholePathDetachedAndLeavesNoZombie)
{
    TempDir dir;
    const std::string decoy = dir.file("System", true); // where a split at the blank leads
    const std::string probe = dir.file("System Info/probe tool", true);

    const std::optional<pid_t> pid = posix::PosixProgramStarter().spawn(probe);
    ASSERT_TRUE(pid);
    const std::optional<ProbeRun> run = runOf(probe);
    ASSERT_TRUE(run) << "the program did not run";
    EXPECT_EQ(run->pid, *pid);
    EXPECT_EQ(run->session, *pid) << "runs in a session of its own";
    EXPECT_TRUE(goneSoon(*pid));
    EXPECT_FALSE(fs::exists(decoy + ".ran"));
}

TEST(PosixProgramStart, ReportsWhatCannotStart)
{
    TempDir dir;
    const std::string text = dir.file("text");
    const std::string script = dir.file("ohne-format");
    fs::permissions(script, fs::perms::owner_all);
    posix::PosixProgramStarter starter;

    for (const std::string &path :
         {std::string(), (dir.path / "fehlt").string(), dir.path.string(), text, script,
          std::string("true"), dir.file("p", true) + std::string(1, '\0')})
        EXPECT_FALSE(starter.start(path)) << path;
}

TEST(PosixRegistryStandIn, NamesTheFirstInstalledProgramAsItIsNow)
{
    TempDir dir;
    const std::string later = (dir.path / "später").string();
    posix::PosixRegistry registry({(dir.path / "fehlt").string(), dir.path.string(),
                                   dir.file("nicht ausführbar"), later, dir.file("danach", true)});
    const auto read = [&] {
        std::string path;
        return GetKeyValue(registry, registry::localMachine, sysinfo::toolPathKey, "PATH", path)
                   ? path
                   : "<nichts>";
    };
    EXPECT_EQ(read(), (dir.path / "danach").string());
    dir.file("später", true);
    EXPECT_EQ(read(), later);
}

TEST(PosixRegistryStandIn, HoldsOnlyTheToolKeyAndOnlyForReading)
{
    TempDir dir;
    posix::PosixRegistry registry({dir.file("tool", true)});
    const std::string toolKey(sysinfo::toolPathKey);
    registry::Handle handle = 0;

    EXPECT_EQ(registry.openKey(registry::localMachine, std::string(sysinfo::toolDirectoryKey),
                               registry::keyRead, handle),
              registry::fileNotFound);
    EXPECT_EQ(registry.openKey(registry::localMachine, toolKey, 0x2003F, handle),
              registry::accessDenied);
    ASSERT_EQ(registry.openKey(registry::localMachine, "software\\MICROSOFT\\shared tools\\msinfo",
                               registry::keyRead, handle),
              registry::success);
    std::array<std::uint8_t, 1024> buffer{};
    std::uint32_t size = buffer.size();
    std::uint32_t type = 0;
    EXPECT_EQ(registry.queryValue(handle, "MSINFO", type, buffer, size), registry::fileNotFound);
    registry.closeKey(handle);
    EXPECT_NE(registry.queryValue(handle, "PATH", type, buffer, size), registry::success);
}

class NoMessages final : public MessageService
{
public:
    void show(std::string_view message, std::string_view) override { ADD_FAILURE() << message; }
};

TEST(PosixSysInfo, LauncherStartsTheInstalledTool)
{
    TempDir dir;
    const std::string tool = dir.file("Werkzeuge mit Leerzeichen/system info", true);
    posix::PosixRegistry registry({(dir.path / "fehlt").string(), tool});
    posix::PosixFileProbe files;
    posix::PosixProgramStarter programs;
    NoMessages messages;
    SysInfoServices services{registry, files, programs, messages};

    StartSysInfo(services);

    const auto run = runOf(tool);
    ASSERT_TRUE(run);
    EXPECT_TRUE(goneSoon(run->pid));
}

} // namespace
} // namespace tessaro::testing
