// SPDX-License-Identifier: GPL-3.0-or-later
// The registry reader and the launcher against whatever a damaged or hostile
// registry could hold, drawn from seeds so that every failure can be replayed.
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <random>

namespace tessaro::testing
{
namespace
{

constexpr std::size_t bufferSize = sysinfo::valueBufferSize;

// One key with a value of any type and length, zero bytes inside or no
// terminator. It never writes past the buffer, but may lie: an honest one
// answers "more data" with the real size when the data do not fit, a lying one
// success with a size too large, too small or of unwritten bytes.
struct HostileServices final : Registry, FileProbe, ProgramStarter, MessageService {
    explicit HostileServices(std::uint32_t seed) : random(seed)
    {
        const std::uint32_t types[] = {1, 1, 1, 4, 4, 4, 0, 2, 3, 7, 11, 0xFFFFFFFFu};
        type = types[pick(0, 11)];             // mostly the two the reader understands
        const std::size_t length = pick(0, 4); // empty, a number, the buffer's edge
        data.resize(length == 0   ? pick(0, 8)
                    : length == 1 ? pick(bufferSize - 3, bufferSize + 3)
                                  : pick(0, 2 * bufferSize));
        const std::size_t zeros = pick(0, 3);
        for (std::uint8_t &byte : data)
            byte = zeros != 0 && pick(0, 40 / zeros) == 0 ? 0 : std::uint8_t(pick(1, 255));
        if (!data.empty() && pick(0, 1) == 0)
            data.back() = 0;
        answer = pick(0, 9); // 0 the key does not open, 1-4 honest, 5-8 lying, 9 an error
        const std::size_t lie = pick(0, 2);
        reportedSize =
            std::uint32_t(lie == 0   ? (pick(0, 1) ? 0xFFFFFFFFu : pick(bufferSize, 1u << 20))
                          : lie == 1 ? pick(0, data.size())
                                     : pick(data.size(), bufferSize));
    }

    std::size_t pick(std::size_t low, std::size_t high)
    {
        return std::uniform_int_distribution<std::size_t>(low, high)(random);
    }
    long openKey(std::int32_t, const std::string &, std::uint32_t,
                 registry::Handle &handle) override
    {
        if (answer == 0)
            return registry::accessDenied;
        handle = 7;
        ++openKeys;
        return registry::success;
    }
    long queryValue(registry::Handle handle, const std::string &, std::uint32_t &typeOut,
                    std::span<std::uint8_t> buffer, std::uint32_t &size) override
    {
        EXPECT_TRUE(handle == 7 && openKeys == 1);
        offered = std::min<std::size_t>(size, buffer.size());
        if (answer == 9)
            return registry::fileNotFound;
        size = answer <= 4 ? std::uint32_t(data.size()) : reportedSize;
        if (answer <= 4 && data.size() > offered)
            return registry::moreData;
        std::copy_n(data.begin(), std::min(data.size(), offered), buffer.begin());
        typeOut = type;
        return registry::success;
    }
    void closeKey(registry::Handle handle) override { openKeys -= handle == 7; }
    std::optional<std::string> toSystemCodePage(std::string_view s) const override
    {
        return std::string(s);
    }
    std::string fromSystemCodePage(std::string_view bytes) const override
    {
        longestRead = std::max(longestRead, bytes.size());
        return std::string(bytes);
    }
    FileTestResult test(std::string_view path) override
    {
        longestRead = std::max(longestRead, path.size());
        return FileTestResult::ordinaryFile;
    }
    bool start(std::string_view path) override
    {
        ++starts;
        return !path.empty();
    }
    void show(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    std::mt19937 random;
    std::size_t answer;
    std::uint32_t type, reportedSize;
    std::vector<std::uint8_t> data;
    int openKeys = 0;
    std::size_t offered = 0;
    mutable std::size_t longestRead = 0;
    int starts = 0;
    std::vector<std::string> messages;
};

TEST(HostileRegistryValues, ReaderAndLauncherStayWithinTheData)
{
    for (std::uint32_t seed = 0; seed < 6000; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        HostileServices registry(seed);
        std::string text = "vorher";
        bool read = false;
        bool emptyRaised = false;
        try {
            read = GetKeyValue(registry, registry::localMachine, sysinfo::toolPathKey,
                               sysinfo::toolPathValue, text);
        } catch (const EmptyRegistryValue &) {
            emptyRaised = true;
        }
        EXPECT_EQ(registry.openKeys, 0) << "every key opened is closed once";
        EXPECT_LE(registry.longestRead, bufferSize) << "nothing beyond the buffer is read";
        const bool isString = registry.type == registry::typeString;
        const bool isNumber = registry.type == registry::typeDword;
        const bool honest = registry.answer >= 1 && registry.answer <= 4;
        const std::size_t length = registry.data.size();
        // Honest values: all bytes but one final zero, or none if too long.
        if (honest && (isString || isNumber)) {
            EXPECT_EQ(emptyRaised, length == 0) << "a value without data ends the search";
            EXPECT_EQ(read, length != 0 && length <= bufferSize) << "a longer one is not read";
        }
        if (!read) {
            EXPECT_TRUE(text.empty()) << "a failed or empty reading leaves no text";
        } else if (!isString && !isNumber) {
            EXPECT_EQ(text, "vorher") << "other types leave the text as it was";
        } else if (honest && isString) {
            const std::size_t kept = registry.data.back() == 0 ? length - 1 : length;
            EXPECT_EQ(text, std::string(registry.data.begin(), registry.data.begin() + long(kept)));
        } else if (isNumber) {
            EXPECT_TRUE(
                text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos &&
                std::to_string(std::stoull("0" + text)) == text && std::stoull(text) <= 0xFFFFFFFFu)
                << text;
        } else {
            EXPECT_LE(text.size(), registry.offered) << "never longer than the data";
        }

        // Every press of Systeminfo ends in one start or one message.
        HostileServices services(seed);
        SysInfoServices launcher{services, services, services, services};
        EXPECT_NO_THROW(StartSysInfo(launcher));
        const std::vector<std::string> message{std::string(sysinfo::unavailableMessage)};
        EXPECT_TRUE((services.starts == 1 && services.messages.empty()) ||
                    (services.starts <= 1 && services.messages == message))
            << services.starts << " starts, " << services.messages.size() << " messages";
        EXPECT_LE(services.longestRead, bufferSize + sysinfo::programFile.size());
    }
}

} // namespace
} // namespace tessaro::testing
