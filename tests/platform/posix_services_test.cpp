// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux services for real: files on disk, programs really started.
#include "posix/posix_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
    TempDir()
    {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("tessaro-test-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    [[nodiscard]] const fs::path &path() const { return path_; }
    fs::path file(const std::string &name, const std::string &content = "Inhalt") const
    {
        fs::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name) << content;
        return path_ / name;
    }
    // A copy of the probe program under the given name.
    fs::path probe(const std::string &name) const
    {
        fs::create_directories((path_ / name).parent_path());
        fs::copy_file(TESSARO_PROBE_PROGRAM, path_ / name);
        return path_ / name;
    }

private:
    fs::path path_;
};

// What the probe wrote when it ran: its process id and session id.
struct ProbeRun {
    pid_t pid = 0;
    pid_t session = 0;
};

// Waits for the probe's mark; a started program needs a moment to get going.
std::optional<ProbeRun> waitForRun(const fs::path &probe, std::chrono::seconds limit = 10s)
{
    const fs::path marker = probe.string() + ".ran";
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
        std::ifstream in(marker);
        ProbeRun run;
        if (in >> run.pid >> run.session)
            return run;
    }
    return std::nullopt;
}

// The process state letter from /proc ('Z' for a zombie); nothing once the
// process is gone entirely.
std::optional<char> processState(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return std::nullopt;
    // The state follows the command name in parentheses, which may hold blanks.
    const auto close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() ? std::nullopt
                                                                  : std::optional(line[close + 2]);
}

bool goneWithin(pid_t pid, std::chrono::seconds limit)
{
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
        if (!processState(pid))
            return true;
    }
    return false;
}

// --- The file test -----------------------------------------------------------

struct FileCase {
    const char *name;
    std::function<std::string(const TempDir &)> make; // returns the path to test
    FileTestResult expected;
};

class PosixFileTest : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(PosixFileTest, CountsOnlyOrdinaryFiles)
{
    TempDir dir;
    posix::PosixFileProbe probe;
    EXPECT_EQ(probe.test(GetParam().make(dir)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PosixFileTest,
    ::testing::Values(
        FileCase{"OrdinaryFile", [](const TempDir &d) { return d.file("MSINFO32.EXE").string(); },
                 FileTestResult::ordinaryFile},
        FileCase{"EmptyFile", [](const TempDir &d) { return d.file("leer", "").string(); },
                 FileTestResult::ordinaryFile},
        FileCase{"BlanksInPath",
                 [](const TempDir &d) { return d.file("mit Leerzeichen/a b.exe").string(); },
                 FileTestResult::ordinaryFile},
        FileCase{"Directory",
                 [](const TempDir &d) {
                     fs::create_directory(d.path() / "MSINFO32.EXE");
                     return (d.path() / "MSINFO32.EXE").string();
                 },
                 FileTestResult::none},
        FileCase{"Missing", [](const TempDir &d) { return (d.path() / "fehlt").string(); },
                 FileTestResult::none},
        FileCase{"InMissingDirectory",
                 [](const TempDir &d) { return (d.path() / "fehlt" / "MSINFO32.EXE").string(); },
                 FileTestResult::none},
        FileCase{"BelowAFile",
                 [](const TempDir &d) { return (d.file("datei") / "MSINFO32.EXE").string(); },
                 FileTestResult::none},
        FileCase{"LinkToFile",
                 [](const TempDir &d) {
                     fs::create_symlink(d.file("ziel"), d.path() / "link");
                     return (d.path() / "link").string();
                 },
                 FileTestResult::ordinaryFile},
        FileCase{"DanglingLink",
                 [](const TempDir &d) {
                     fs::create_symlink(d.path() / "fehlt", d.path() / "link");
                     return (d.path() / "link").string();
                 },
                 FileTestResult::none},
        FileCase{"Fifo",
                 [](const TempDir &d) {
                     const auto path = (d.path() / "fifo").string();
                     ::mkfifo(path.c_str(), 0600);
                     return path;
                 },
                 FileTestResult::none},
        FileCase{"EmptyPath", [](const TempDir &) { return std::string(); }, FileTestResult::none},
        FileCase{"NameTooLong",
                 [](const TempDir &d) { return (d.path() / std::string(5000, 'x')).string(); },
                 FileTestResult::unusablePath},
        FileCase{"ZeroByteInPath",
                 [](const TempDir &d) {
                     return d.file("datei").string() + std::string(1, '\0') + "mehr";
                 },
                 FileTestResult::unusablePath}),
    [](const auto &test) { return std::string(test.param.name); });

// --- The program start ----------------------------------------------------

TEST(PosixProgramStart, StartsTheWholePathDetachedAndLeavesNoZombie)
{
    TempDir dir;
    // A decoy where a split at the first blank would lead.
    const fs::path decoy = dir.probe("System");
    const fs::path probe = dir.probe("System Info/probe tool");
    posix::PosixProgramStarter starter;

    const std::optional<pid_t> pid = starter.spawn(probe.string());
    ASSERT_TRUE(pid);
    const std::optional<ProbeRun> run = waitForRun(probe);
    ASSERT_TRUE(run) << "the program did not run";
    EXPECT_EQ(run->pid, *pid);
    EXPECT_EQ(run->session, *pid) << "runs in a session of its own";
    EXPECT_TRUE(goneWithin(*pid, 10s)) << "process state " << processState(*pid).value_or('?');
    EXPECT_FALSE(fs::exists(decoy.string() + ".ran"));
}

TEST(PosixProgramStart, TwoStartsAreTwoPrograms)
{
    TempDir dir;
    const fs::path first = dir.probe("eins");
    const fs::path second = dir.probe("zwei");
    posix::PosixProgramStarter starter;

    EXPECT_TRUE(starter.start(first.string()));
    EXPECT_TRUE(starter.start(second.string()));
    const auto firstRun = waitForRun(first);
    const auto secondRun = waitForRun(second);
    ASSERT_TRUE(firstRun && secondRun);
    EXPECT_NE(firstRun->pid, secondRun->pid);
    EXPECT_TRUE(goneWithin(firstRun->pid, 10s));
    EXPECT_TRUE(goneWithin(secondRun->pid, 10s));
}

struct NotStartableCase {
    const char *name;
    std::function<std::string(const TempDir &)> make;
};

class PosixNotStartable : public ::testing::TestWithParam<NotStartableCase>
{
};

TEST_P(PosixNotStartable, ReportsThatItCannotStart)
{
    TempDir dir;
    posix::PosixProgramStarter starter;
    EXPECT_FALSE(starter.spawn(GetParam().make(dir)).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PosixNotStartable,
    ::testing::Values(
        NotStartableCase{"EmptyPath", [](const TempDir &) { return std::string(); }},
        NotStartableCase{"Missing", [](const TempDir &d) { return (d.path() / "fehlt").string(); }},
        NotStartableCase{"Directory", [](const TempDir &d) { return d.path().string(); }},
        NotStartableCase{"NotExecutable", [](const TempDir &d) { return d.file("text").string(); }},
        NotStartableCase{"ExecutableWithoutFormat",
                         [](const TempDir &d) {
                             const fs::path path = d.file("kein-programm", "nur Text\n");
                             fs::permissions(path, fs::perms::owner_all);
                             return path.string();
                         }},
        NotStartableCase{
            "ZeroByteInPath",
            [](const TempDir &d) { return d.probe("probe").string() + std::string(1, '\0'); }},
        NotStartableCase{"RelativeNameIsNotSearched",
                         [](const TempDir &) { return std::string("true"); }}),
    [](const auto &test) { return std::string(test.param.name); });

// --- The registry stand-in --------------------------------------------------

std::string readToolPath(Registry &registry)
{
    std::string path = "vorher";
    if (!GetKeyValue(registry, registry::localMachine, sysinfo::toolPathKey, sysinfo::toolPathValue,
                     path))
        return "<nicht gefunden>";
    return path;
}

TEST(PosixRegistryStandIn, NamesTheFirstInstalledProgram)
{
    TempDir dir;
    fs::create_directory(dir.path() / "verzeichnis");
    const fs::path first = dir.probe("zweites");
    const fs::path second = dir.probe("drittes");
    posix::PosixRegistry registry(
        {(dir.path() / "fehlt").string(), (dir.path() / "verzeichnis").string(),
         dir.file("nicht-ausfuehrbar").string(), first.string(), second.string()});
    EXPECT_EQ(readToolPath(registry), first.string());
}

TEST(PosixRegistryStandIn, LooksAgainOnEveryReading)
{
    TempDir dir;
    const fs::path later = dir.path() / "spaeter";
    posix::PosixRegistry registry({later.string()});
    EXPECT_EQ(readToolPath(registry), "<nicht gefunden>");
    dir.probe("spaeter");
    EXPECT_EQ(readToolPath(registry), later.string());
}

TEST(PosixRegistryStandIn, HoldsOnlyTheToolKeyAndOnlyForReading)
{
    TempDir dir;
    posix::PosixRegistry registry({dir.probe("tool").string()});
    registry::Handle handle = 0;
    const std::string toolKey(sysinfo::toolPathKey);

    EXPECT_EQ(registry.openKey(registry::localMachine, std::string(sysinfo::toolDirectoryKey),
                               registry::keyRead, handle),
              registry::fileNotFound);
    EXPECT_EQ(registry.openKey(static_cast<std::int32_t>(0x80000001u), toolKey, registry::keyRead,
                               handle),
              registry::fileNotFound);
    EXPECT_EQ(registry.openKey(registry::localMachine, toolKey, 0x2003F, handle),
              registry::accessDenied);
    EXPECT_EQ(handle, 0u);
    ASSERT_EQ(registry.openKey(registry::localMachine, "software\\microsoft\\SHARED TOOLS\\msinfo",
                               registry::keyRead, handle),
              registry::success);

    std::array<std::uint8_t, 1024> buffer{};
    std::uint32_t size = buffer.size();
    std::uint32_t type = 0;
    EXPECT_EQ(registry.queryValue(handle, "path", type, buffer, size), registry::success);
    EXPECT_EQ(type, registry::typeString);
    EXPECT_EQ(registry.queryValue(handle, "MSINFO", type, buffer, size), registry::fileNotFound);
    registry.closeKey(handle);
    size = buffer.size();
    EXPECT_NE(registry.queryValue(handle, "PATH", type, buffer, size), registry::success)
        << "a closed key reads nothing";
}

TEST(PosixRegistryStandIn, PathLongerThanTheBufferIsNotRead)
{
    TempDir dir;
    std::string deep = "a";
    while ((dir.path() / deep).string().size() < 1100)
        deep += "/" + std::string(200, 'v');
    const fs::path tool = dir.probe(deep + "/tool");
    posix::PosixRegistry registry({tool.string()});
    EXPECT_EQ(readToolPath(registry), "<nicht gefunden>");
}

// --- The launcher on these services -------------------------------------------

class RecordedMessages final : public MessageService
{
public:
    void show(std::string_view text, std::string_view title) override
    {
        shown.push_back(std::string(title) + ": " + std::string(text));
    }
    std::vector<std::string> shown;
};

TEST(PosixSysInfo, StartsTheInstalledTool)
{
    TempDir dir;
    const fs::path tool = dir.probe("Werkzeuge mit Leerzeichen/system info");
    posix::PosixRegistry registry({(dir.path() / "fehlt").string(), tool.string()});
    posix::PosixFileProbe files;
    posix::PosixProgramStarter programs;
    RecordedMessages messages;
    SysInfoServices services{registry, files, programs, messages};

    StartSysInfo(services);

    const auto run = waitForRun(tool);
    ASSERT_TRUE(run);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(goneWithin(run->pid, 10s));
}

TEST(PosixSysInfo, WithoutAToolSaysSoOnce)
{
    TempDir dir;
    posix::PosixRegistry registry({(dir.path() / "fehlt").string()});
    posix::PosixFileProbe files;
    posix::PosixProgramStarter programs;
    RecordedMessages messages;
    SysInfoServices services{registry, files, programs, messages};

    StartSysInfo(services);

    EXPECT_EQ(messages.shown, std::vector<std::string>{
                                  "Tessaro: Systeminformationen sind momentan nicht verfügbar"});
}

} // namespace
} // namespace tessaro::testing
