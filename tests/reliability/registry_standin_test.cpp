// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux registry stand-in read through the registry reader, with program
// paths at the edges of the 1024-byte value buffer and with bytes that are
// not ASCII, some not even UTF-8: a path that fits together with its
// terminating zero is read byte for byte, a longer one is not read at all.
#include "posix/posix_services.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace tessaro::testing
{
namespace
{

namespace fs = std::filesystem;

// Bytes for the names: letters, blanks, UTF-8 umlauts, and Latin-1 bytes
// that are not valid UTF-8.
const std::string nameBytes = "a \xC3\x84z\xE9o\xFF";

class ToolDirectory
{
public:
    ToolDirectory()
    {
        std::random_device random;
        root_ = fs::temp_directory_path() / ("tessaro-standin-" + std::to_string(random()));
        fs::create_directories(root_);
    }
    ~ToolDirectory() { fs::remove_all(root_); }
    ToolDirectory(const ToolDirectory &) = delete;
    ToolDirectory &operator=(const ToolDirectory &) = delete;

    // An executable file whose absolute path is exactly `length` bytes long,
    // in directories of at most 200 bytes per name.
    [[nodiscard]] std::string programOfLength(std::size_t length) const
    {
        std::string path = root_.string();
        std::size_t next = 0;
        while (length - path.size() > 201) {
            path += '/' + filler(200, next);
            next += 200;
        }
        const std::size_t last = length - path.size() - 1;
        fs::create_directories(path);
        path += '/' + filler(last, next);
        std::ofstream(path) << "#!/bin/sh\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    [[nodiscard]] std::size_t rootLength() const { return root_.string().size(); }

private:
    static std::string filler(std::size_t count, std::size_t from)
    {
        std::string name;
        for (std::size_t i = 0; i < count; ++i)
            name += nameBytes[(from + i) % nameBytes.size()];
        return name;
    }

    fs::path root_;
};

class StandInPathLength : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(StandInPathLength, IsReadWholeOrNotAtAll)
{
    const std::size_t length = GetParam();
    ToolDirectory dir;
    ASSERT_LT(dir.rootLength() + 2, length);
    const std::string program = dir.programOfLength(length);
    ASSERT_EQ(program.size(), length);
    posix::PosixRegistry registry({program});

    std::string text = "vorher";
    const bool read = GetKeyValue(registry, registry::localMachine, sysinfo::toolPathKey,
                                  sysinfo::toolPathValue, text);

    // The stand-in stores the path with its terminating zero.
    if (length + 1 <= sysinfo::valueBufferSize) {
        EXPECT_TRUE(read);
        EXPECT_EQ(text, program) << "every byte of the path, none added";
    } else {
        EXPECT_FALSE(read);
        EXPECT_TRUE(text.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(AroundTheBuffer, StandInPathLength,
                         ::testing::Values(100, 1022, 1023, 1024, 1025, 2048),
                         [](const auto &param) { return std::to_string(param.param) + "Bytes"; });

} // namespace
} // namespace tessaro::testing
