// SPDX-License-Identifier: GPL-3.0-or-later
// One clock tick on the logic alone: the element writes go nowhere, so this
// measures the tick's own work (rows, readouts, accessible names).

#include "localclock.h"
#include "tick.h"

#include <benchmark/benchmark.h>

namespace
{

using tessaro::Colour;
using tessaro::ElementKey;

class DiscardingElements final : public tessaro::Elements
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

class FixedClock final : public tessaro::LocalClock
{
public:
    explicit FixedClock(tessaro::LocalDateTime reading) : m_reading(reading) {}
    tessaro::LocalDateTime now() override { return m_reading; }

private:
    tessaro::LocalDateTime m_reading;
};

constexpr tessaro::clock::CellColours lightsOnOff{0xC00000, 0x80FF80};

void tickWithYear(benchmark::State &state)
{
    FixedClock clock({6, 12, std::int16_t(state.range(0)), 12, 34, 56});
    DiscardingElements elements;
    for (auto _ : state)
        tessaro::clock::runTick(clock, elements, lightsOnOff);
}
// Eleven year cells, and the seven-cell row from 2048 on.
BENCHMARK(tickWithYear)->Arg(2026)->Arg(2048);

void tickOnTheSystemClock(benchmark::State &state)
{
    DiscardingElements elements;
    for (auto _ : state)
        tessaro::clock::runTick(tessaro::systemLocalClock(), elements, lightsOnOff);
}
BENCHMARK(tickOnTheSystemClock);

} // namespace

BENCHMARK_MAIN();
