// SPDX-License-Identifier: GPL-3.0-or-later
// The registry reader and the launcher against a registry that answers with
// whatever a damaged or hostile registry could hold: any type, any length,
// strings without terminator, zero bytes inside, bytes above 127, and sizes
// that do not fit what was written. Nothing may crash, read past the value
// buffer, or produce a text longer than the data it came from.
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tessaro::testing
{
namespace
{

constexpr std::size_t bufferSize = sysinfo::valueBufferSize;

// Counts the characters of a UTF-8 text (every byte that does not continue a
// sequence starts one).
std::size_t characterCount(std::string_view utf8)
{
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Latin-1 bytes as UTF-8: every byte becomes exactly one character.
std::string latin1ToUtf8(std::string_view bytes)
{
    std::string utf8;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

// How the registry answers one query.
enum class Answer : std::uint8_t {
    honest,          // the data if it fits, else "more data" with the real size
    claimsMore,      // success, but a size larger than the buffer
    claimsLess,      // success, the data written, a smaller size reported
    claimsUnwritten, // success, a size larger than what was written (still in the buffer)
    failure,         // an error code
};

// One value as the registry holds it, and how it answers.
struct HostileValue {
    bool keyOpens = true;
    std::uint32_t type = registry::typeString;
    std::vector<std::uint8_t> data;
    Answer answer = Answer::honest;
    std::uint32_t reportedSize = 0; // for the dishonest answers
};

// Draws values from a seeded generator, so every failure can be replayed.
class ValueGenerator
{
public:
    explicit ValueGenerator(std::uint32_t seed) : random_(seed) {}

    HostileValue next()
    {
        HostileValue value;
        value.keyOpens = pick(0, 9) != 0;
        value.type = nextType();
        value.data = nextData();
        value.answer = static_cast<Answer>(pick(0, 4));
        const auto written = static_cast<std::uint32_t>(value.data.size());
        switch (value.answer) {
        case Answer::claimsMore:
            value.reportedSize = static_cast<std::uint32_t>(pick(bufferSize + 1, 1u << 20));
            if (pick(0, 20) == 0)
                value.reportedSize = 0xFFFFFFFFu;
            break;
        case Answer::claimsLess:
            value.reportedSize = written == 0 ? 0 : static_cast<std::uint32_t>(pick(0, written));
            break;
        case Answer::claimsUnwritten:
            value.reportedSize = static_cast<std::uint32_t>(pick(written, bufferSize));
            break;
        default:
            value.reportedSize = written;
            break;
        }
        return value;
    }

private:
    std::size_t pick(std::size_t low, std::size_t high)
    {
        return std::uniform_int_distribution<std::size_t>(low, high)(random_);
    }

    std::uint32_t nextType()
    {
        // Mostly the two types the reader understands, also every other
        // registry type and nonsense.
        static constexpr std::array<std::uint32_t, 12> types{1, 1, 1, 4, 4,  4,
                                                             0, 2, 3, 7, 11, 0xFFFFFFFFu};
        const std::size_t index = pick(0, types.size());
        return index < types.size() ? types[index] : static_cast<std::uint32_t>(random_());
    }

    std::vector<std::uint8_t> nextData()
    {
        // Lengths cluster around the edges that matter: empty, a number's
        // four bytes, and the buffer's size.
        std::size_t length = 0;
        switch (pick(0, 4)) {
        case 0:
            length = pick(0, 8);
            break;
        case 1:
            length = pick(bufferSize - 3, bufferSize + 3);
            break;
        default:
            length = pick(0, 2 * bufferSize);
            break;
        }
        std::vector<std::uint8_t> data(length);
        const std::size_t zeroChance = pick(0, 3); // 0: none inside, 3: many
        for (std::uint8_t &byte : data) {
            byte = static_cast<std::uint8_t>(pick(1, 255));
            if (zeroChance != 0 && pick(0, 40 / zeroChance) == 0)
                byte = 0;
        }
        if (!data.empty() && pick(0, 1) == 0)
            data.back() = 0; // terminated
        return data;
    }

    std::mt19937 random_;
};

// A registry whose one key holds one hostile value. It never writes past the
// buffer it is given (no registry does), but it may lie about sizes. It
// checks what the reader hands back to it.
class HostileRegistry final : public Registry
{
public:
    explicit HostileRegistry(HostileValue value) : value_(std::move(value)) {}

    long openKey(std::int32_t, const std::string &, std::uint32_t,
                 registry::Handle &handle) override
    {
        if (!value_.keyOpens)
            return registry::accessDenied;
        handle = ++lastHandle_;
        open_.insert(handle);
        return registry::success;
    }

    long queryValue(registry::Handle handle, const std::string &, std::uint32_t &type,
                    std::span<std::uint8_t> data, std::uint32_t &size) override
    {
        if (!open_.contains(handle))
            return 6; // ERROR_INVALID_HANDLE
        bufferOffered = std::min<std::size_t>(size, data.size());
        const std::size_t written = std::min(value_.data.size(), bufferOffered);
        switch (value_.answer) {
        case Answer::failure:
            return registry::fileNotFound;
        case Answer::honest:
            size = static_cast<std::uint32_t>(value_.data.size());
            if (value_.data.size() > bufferOffered)
                return registry::moreData;
            break;
        default:
            size = value_.reportedSize;
            break;
        }
        std::copy_n(value_.data.begin(), written, data.begin());
        type = value_.type;
        return registry::success;
    }

    void closeKey(registry::Handle handle) override
    {
        if (handle != 0 && open_.erase(handle) == 0)
            ++closedTwice;
    }

    std::optional<std::string> toSystemCodePage(std::string_view utf8) const override
    {
        return std::string(utf8);
    }

    std::string fromSystemCodePage(std::string_view bytes) const override
    {
        longestConverted = std::max(longestConverted, bytes.size());
        return latin1ToUtf8(bytes);
    }

    [[nodiscard]] std::size_t keysLeftOpen() const { return open_.size(); }

    std::size_t bufferOffered = 0;
    mutable std::size_t longestConverted = 0;
    int closedTwice = 0;

private:
    HostileValue value_;
    std::set<registry::Handle> open_;
    registry::Handle lastHandle_ = 0;
};

// What one call of the reader did.
struct Reading {
    bool result = false;
    bool emptyValueRaised = false;
    std::string text;
};

Reading readValue(HostileRegistry &registry, const std::string &before)
{
    Reading reading{false, false, before};
    try {
        reading.result = GetKeyValue(registry, registry::localMachine, sysinfo::toolPathKey,
                                     sysinfo::toolPathValue, reading.text);
    } catch (const EmptyRegistryValue &) {
        reading.emptyValueRaised = true;
    }
    return reading;
}

bool isDecimalNumber(const std::string &text)
{
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text.front() == '0'))
        return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return std::stoull(text) <= 0xFFFFFFFFull;
}

constexpr int caseCount = 4000;
const std::string textBefore = "vorher";

// Every value, whatever its shape, gives one of the reader's defined outcomes.
TEST(HostileRegistryValues, EveryValueGivesADefinedOutcome)
{
    for (int seed = 0; seed < caseCount; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const HostileValue value = ValueGenerator(static_cast<std::uint32_t>(seed)).next();
        HostileRegistry registry(value);
        const Reading reading = readValue(registry, textBefore);

        EXPECT_EQ(registry.keysLeftOpen(), 0u) << "every opened key is closed";
        EXPECT_EQ(registry.closedTwice, 0) << "no key is closed twice";
        EXPECT_LE(registry.longestConverted, bufferSize) << "nothing beyond the buffer is read";
        if (!reading.result) {
            EXPECT_TRUE(reading.text.empty()) << "a failed or empty reading leaves no text";
            continue;
        }
        ASSERT_LE(registry.bufferOffered, bufferSize);
        EXPECT_LE(characterCount(reading.text), registry.bufferOffered)
            << "the text is never longer than the data";
        if (value.type == registry::typeDword) {
            EXPECT_TRUE(isDecimalNumber(reading.text)) << reading.text;
        } else if (value.type != registry::typeString) {
            EXPECT_EQ(reading.text, textBefore) << "other types leave the text as it was";
        }
    }
}

// An honest registry's values of either understood type are read in full,
// up to the buffer's size; longer ones are not read at all.
TEST(HostileRegistryValues, HonestValuesAreReadExactlyOrNotAtAll)
{
    for (int seed = 0; seed < caseCount; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        HostileValue value = ValueGenerator(static_cast<std::uint32_t>(seed)).next();
        value.keyOpens = true;
        value.answer = Answer::honest;
        value.type = seed % 2 == 0 ? registry::typeString : registry::typeDword;
        HostileRegistry registry(value);
        const Reading reading = readValue(registry, textBefore);

        const std::size_t length = value.data.size();
        if (length == 0) {
            EXPECT_TRUE(reading.emptyValueRaised) << "a value without data ends the search";
            EXPECT_TRUE(reading.text.empty());
            continue;
        }
        EXPECT_FALSE(reading.emptyValueRaised);
        if (length > bufferSize) {
            EXPECT_FALSE(reading.result) << "a value longer than the buffer is not read";
            EXPECT_TRUE(reading.text.empty());
            continue;
        }
        ASSERT_TRUE(reading.result);
        const std::size_t kept = value.data.back() == 0 ? length - 1 : length;
        if (value.type == registry::typeString) {
            const std::string bytes(value.data.begin(), value.data.begin() + kept);
            EXPECT_EQ(reading.text, latin1ToUtf8(bytes))
                << "all bytes but one final zero, zeros and bytes above 127 included";
        } else {
            std::uint32_t number = 0;
            for (std::size_t i = std::min<std::size_t>(kept, 4); i-- > 0;)
                number = (number << 8) | value.data[i];
            EXPECT_EQ(reading.text, std::to_string(number));
        }
    }
}

// The launcher over such a registry: it never throws, and every press ends in
// either exactly one program start or exactly one message.
class CountingFiles final : public FileProbe
{
public:
    FileTestResult test(std::string_view path) override
    {
        longestPath = std::max(longestPath, characterCount(path));
        return FileTestResult::ordinaryFile;
    }
    std::size_t longestPath = 0;
};

class CountingStarter final : public ProgramStarter
{
public:
    bool start(std::string_view programPath) override
    {
        ++attempts;
        longestPath = std::max(longestPath, characterCount(programPath));
        return !programPath.empty();
    }
    int attempts = 0;
    std::size_t longestPath = 0;
};

class CountingMessages final : public MessageService
{
public:
    void show(std::string_view text, std::string_view) override
    {
        ++shown;
        lastText = std::string(text);
    }
    int shown = 0;
    std::string lastText;
};

TEST(HostileRegistryValues, LauncherEndsInOneStartOrOneMessage)
{
    const std::size_t longestCandidate = bufferSize + sysinfo::programFile.size();
    for (int seed = 0; seed < caseCount; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        HostileRegistry registry(ValueGenerator(static_cast<std::uint32_t>(seed)).next());
        CountingFiles files;
        CountingStarter starter;
        CountingMessages messages;
        SysInfoServices services{registry, files, starter, messages};

        EXPECT_NO_THROW(StartSysInfo(services));

        const bool started = starter.attempts == 1 && messages.shown == 0;
        const bool told = messages.shown == 1 && starter.attempts <= 1;
        EXPECT_TRUE(started || told)
            << starter.attempts << " starts, " << messages.shown << " messages";
        if (messages.shown == 1) {
            EXPECT_EQ(messages.lastText, sysinfo::unavailableMessage);
        }
        EXPECT_LE(starter.longestPath, longestCandidate);
        EXPECT_LE(files.longestPath, longestCandidate);
        EXPECT_EQ(registry.keysLeftOpen(), 0u);
    }
}

} // namespace
} // namespace tessaro::testing
