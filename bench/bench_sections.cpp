// SPDX-License-Identifier: GPL-3.0-or-later
// The tick's building blocks on the logic alone, with element writes that go
// nowhere: one bit row, one hexadecimal section, one decimal readout.

#include "bench_support.h"
#include "readouts.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace tessaro;

constexpr clock::CellColours lightsOnOff{0xC00000, 0x80FF80};

// Arguments: the row (0 hours, 1 seconds, 2 the eleven-cell year) and the value.
clock::BitRow rowFor(std::int64_t which)
{
    switch (which) {
    case 0:
        return ruzozuraClockLayout().hours.row.cells;
    case 1:
        return ruzozuraClockLayout().seconds.row.cells;
    default:
        return ruzozuraClockLayout().year.cells;
    }
}

void paintBitRow(benchmark::State &state)
{
    const clock::BitRow row = rowFor(state.range(0));
    const int value = int(state.range(1));
    bench::NullElements elements;
    for (auto _ : state)
        clock::PaintBitRow(value, row, elements, lightsOnOff);
    state.counters["cells"] = double(row.size());
}
BENCHMARK(paintBitRow)
    ->ArgNames({"row", "value"})
    ->Args({0, 23})
    ->Args({1, 0})
    ->Args({1, 59})
    ->Args({2, 2026});

void hexSection(benchmark::State &state)
{
    const int value = int(state.range(0));
    bench::NullElements elements;
    for (auto _ : state)
        clock::writeHexSection(value, ruzozuraClockLayout().seconds.hex, elements);
}
BENCHMARK(hexSection)->Arg(0)->Arg(59);

void decimalReadout(benchmark::State &state)
{
    const int value = int(state.range(0));
    bench::NullElements elements;
    for (auto _ : state)
        elements.setCaption(ruzozura::se, clock::DecimalText(value).view());
}
BENCHMARK(decimalReadout)->Arg(7)->Arg(2026);

} // namespace

BENCHMARK_MAIN();
