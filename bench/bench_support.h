// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"
#include "localclock.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <utility>
#include <vector>

namespace tessaro::bench
{

// Element writes that go nowhere, but are not optimised away either.
class NullElements final : public Elements
{
public:
    void setCaption(ElementKey, std::string_view text) override { benchmark::DoNotOptimize(text); }
    void setBackColor(ElementKey, Colour colour) override { benchmark::DoNotOptimize(colour); }
    void setVisible(ElementKey, bool shown) override { benchmark::DoNotOptimize(shown); }
    void setBorderStyle(ElementKey, int style) override { benchmark::DoNotOptimize(style); }
    [[nodiscard]] int value(ElementKey) const override { return 0; }
    void setAccessibleName(ElementKey, std::string_view name) override
    {
        benchmark::DoNotOptimize(name);
    }
};

// A clock that plays a fixed list of readings round and round, one per call,
// so a benchmark decides exactly what changes from one tick to the next.
class ReplayClock final : public LocalClock
{
public:
    explicit ReplayClock(std::vector<LocalDateTime> readings) : m_readings(std::move(readings)) {}

    LocalDateTime now() override
    {
        const LocalDateTime reading = m_readings[m_next];
        m_next = (m_next + 1) % m_readings.size();
        return reading;
    }

    void play(std::vector<LocalDateTime> readings)
    {
        m_readings = std::move(readings);
        m_next = 0;
    }

private:
    std::vector<LocalDateTime> m_readings;
    std::size_t m_next = 0;
};

} // namespace tessaro::bench
