// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace tessaro::clock
{

// A name for a screen reader ("Stunden: 12"), built in a fixed buffer: the
// tick runs ten times a second and allocates nothing. Longer text is cut at
// the buffer's end; every name the clock builds fits (checked where the
// names are defined).
class SpokenText
{
public:
    static constexpr std::size_t capacity = 64;

    SpokenText &operator<<(std::string_view part)
    {
        const std::size_t room = m_buffer.size() - m_length;
        const std::size_t taken = std::min(part.size(), room);
        std::copy_n(part.begin(), taken, m_buffer.begin() + std::ptrdiff_t(m_length));
        m_length += taken;
        return *this;
    }

    SpokenText &operator<<(int value)
    {
        std::array<char, 12> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
        return *this << std::string_view(digits.data(), std::size_t(result.ptr - digits.data()));
    }

    // 0 to 99 with a leading zero, as a clock writes hours and minutes.
    SpokenText &twoDigits(int value)
    {
        const unsigned digits = unsigned(value) % 100u;
        const std::array<char, 2> text{char('0' + digits / 10), char('0' + digits % 10)};
        return *this << std::string_view(text.data(), text.size());
    }

    [[nodiscard]] std::string_view view() const { return {m_buffer.data(), m_length}; }

private:
    std::array<char, capacity> m_buffer{};
    std::size_t m_length = 0;
};

// The name of an element that shows a value: "<base>: <value>".
template <typename Value>
void announceValue(Elements &elements, ElementKey key, std::string_view base, const Value &value)
{
    SpokenText name;
    name << base << ": " << value;
    elements.setAccessibleName(key, name.view());
}

} // namespace tessaro::clock
