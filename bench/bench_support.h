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

// Element writes that go nowhere, but are not optimised away either. With a
// screen reader listening the tick also builds every accessible name.
class NullElements final : public Elements
{
public:
    explicit NullElements(bool readerListens = true) : m_readerListens(readerListens) {}
    [[nodiscard]] bool readerListening() const override { return m_readerListens; }
    void setCaption(ElementKey, std::string_view text) override { benchmark::DoNotOptimize(text); }
    void setBackColor(ElementKey, Colour colour) override { benchmark::DoNotOptimize(colour); }
    void setVisible(ElementKey, bool shown) override { benchmark::DoNotOptimize(shown); }
    void setBorderStyle(ElementKey, int style) override { benchmark::DoNotOptimize(style); }
    [[nodiscard]] int value(ElementKey) const override { return 0; }
    void setAccessibleName(ElementKey, std::string_view name) override
    {
        benchmark::DoNotOptimize(name);
    }

private:
    bool m_readerListens;
};

// A clock that steps through a fixed list of readings, round and round, one
// step per tick, so a benchmark decides exactly what changes from one tick to
// the next. Every reading within one tick gives the same time, however often
// the tick asks.
class SteppedClock final : public LocalClock
{
public:
    explicit SteppedClock(std::vector<LocalDateTime> readings) : m_readings(std::move(readings)) {}

    LocalDateTime now() override { return m_readings[m_current]; }

    void step() { m_current = (m_current + 1) % m_readings.size(); }

    void play(std::vector<LocalDateTime> readings)
    {
        m_readings = std::move(readings);
        m_current = 0;
    }

private:
    std::vector<LocalDateTime> m_readings;
    std::size_t m_current = 0;
};

} // namespace tessaro::bench
