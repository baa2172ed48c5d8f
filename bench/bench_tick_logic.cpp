// SPDX-License-Identifier: GPL-3.0-or-later
// One clock tick on the logic alone: the element writes go nowhere, so this
// measures the tick's own work (rows, readouts, and the accessible names
// while a screen reader listens).

#include "bench_support.h"
#include "ruzozura_window.h"
#include "tick.h"

#include <benchmark/benchmark.h>

namespace
{

using tessaro::bench::NullElements;
using tessaro::bench::SteppedClock;

constexpr tessaro::clock::CellColours lightsOnOff{0xC00000, 0x80FF80};
const tessaro::clock::ClockLayout &layout = tessaro::ruzozuraClockLayout();

void tickWithYear(benchmark::State &state)
{
    SteppedClock clock({{6, 12, std::int16_t(state.range(0)), 12, 34, 56}});
    NullElements elements;
    for (auto _ : state)
        tessaro::clock::showDateTime(clock.now(), layout, elements, lightsOnOff);
}
// Eleven year cells, and the seven-cell row from 2048 on.
BENCHMARK(tickWithYear)->Arg(2026)->Arg(2048);

// The usual case: no screen reader, so no names are built.
void tickWithoutReader(benchmark::State &state)
{
    SteppedClock clock({{6, 12, 2026, 12, 34, 56}});
    NullElements elements(false);
    for (auto _ : state)
        tessaro::clock::showDateTime(clock.now(), layout, elements, lightsOnOff);
}
BENCHMARK(tickWithoutReader);

void tickOnTheSystemClock(benchmark::State &state)
{
    NullElements elements;
    for (auto _ : state)
        tessaro::clock::showDateTime(tessaro::systemLocalClock().now(), layout, elements,
                                     lightsOnOff);
}
BENCHMARK(tickOnTheSystemClock);

} // namespace

BENCHMARK_MAIN();
